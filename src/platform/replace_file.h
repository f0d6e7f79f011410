#pragma once
// The user's own files (passbook and settings): read with a size bound and
// written by replacing them whole, so that a crash, a kill or a full disk
// leaves either the old or the new content and never a mix.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/run_error.h"

namespace zb {

// What a replace does with the file it replaces.
enum class OldFile {
    kDrop,
    // The user's own files: the file as it stood before the day's first
    // change is kept as "<name>.bak" (see BackupPath).
    kKeepDaysFirst,
};

// Writes a file by replacing it: a temporary file "<name>.~zubrica98-XXXXXX" in the
// same folder, flushed, then renamed over the old one. Before that:
// - a symbolic link is followed, so the link stays and its target gets the text;
// - a file that already holds the text is not touched (no write, no flush);
// - temporaries of that file left by an interrupted write are removed, but
//   only while the file exists: else one may be the only copy of a write
//   that could not be put in place;
// - a read-only file (write permission cleared, or the read-only attribute)
//   is left as it is: failure 70.
// With kKeepDaysFirst, a file last changed on an earlier day than today
// becomes "<name>.bak" (a read-only backup is left as it is); a backup that
// cannot be made never stops the write.
// On failure the old file stays as it was and failure 70 (cannot write) or
// 76 (no such folder) is thrown, its text naming the file and, where known,
// why (read-only, no access, disk full, in use). Should the old file be gone
// and the new one not in place (possible on Windows only), nothing is
// deleted and the text names the files that hold the new and the old text.
void ReplaceFile(const std::string& path, std::string_view content, OldFile old = OldFile::kDrop);

// Writes a file that does not exist yet, created exclusively: false, with
// nothing written, when a file of that name exists (whatever a lookup before
// said). Failures as ReplaceFile's.
bool CreateNewFile(const std::string& path, std::string_view content);

// Where a user file's previous generation is kept: "<path>.bak".
std::string BackupPath(const std::string& path);

// A failure about one of the user's files: the usual description, then the
// file, then why (when given), each on a line of its own.
RunError FileFailure(int number, const std::string& path, std::string_view why = {});

// The file's first bytes, at most maxBytes + 1 of them, so that the caller
// can tell a file over its bound; failure 53 when it does not exist, 75 when
// it cannot be read.
std::string ReadFileUpTo(const std::string& path, std::size_t maxBytes);

#ifdef _WIN32
namespace platform {
// The two calls that put a written file in place, as ReplaceFileW and
// MoveFileExW take them (failure: 0 and the error in GetLastError). Tests
// swap them to fail as a network drive or a virus scanner makes them fail.
struct SwapCalls {
    int (*replace)(const wchar_t* target, const wchar_t* replacement, const wchar_t* backup);
    int (*move)(const wchar_t* from, const wchar_t* to, unsigned long flags);
};
// Sets the calls; returns those set before.
SwapCalls SetSwapCalls(SwapCalls calls);
SwapCalls RealSwapCalls();
}  // namespace platform
#endif

}  // namespace zb
