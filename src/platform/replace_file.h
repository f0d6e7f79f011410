#pragma once
// The user's own files (passbook and settings): read with a size bound and
// written by replacing them whole, so that a crash, a kill or a full disk
// leaves either the old or the new content and never a mix.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/run_error.h"

namespace zb {

// Writes a file by replacing it: a temporary file "<name>.~zubrica98-XXXXXX" in the
// same folder, flushed, then renamed over the old one. Before that:
// - a symbolic link is followed, so the link stays and its target gets the text;
// - a file that already holds the text is not touched (no write, no flush);
// - temporaries of that file left by an interrupted write are removed;
// - a read-only file (write permission cleared, or the read-only attribute)
//   is left as it is: failure 70.
// On failure the old file stays as it was and failure 70 (cannot write) or
// 76 (no such folder) is thrown, its text naming the file and, where known,
// why (read-only, no access, disk full, in use).
void ReplaceFile(const std::string& path, std::string_view content);

// The file's first bytes, at most maxBytes + 1 of them, so that the caller
// can tell a file over its bound; failure 53 when it does not exist, 75 when
// it cannot be read.
// A failure about one of the user's files: the usual description, then the
// file, then why (when given), each on a line of its own.
RunError FileFailure(int number, const std::string& path, std::string_view why = {});

std::string ReadFileUpTo(const std::string& path, std::size_t maxBytes);

}  // namespace zb
