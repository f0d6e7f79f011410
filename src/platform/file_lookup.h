#pragma once
// Finding and reading files. Paths are UTF-8 text on every platform; a file
// name is appended as on Windows ("\UY-A.JRA" after a folder). Names are
// looked up without regard to case. file_lookup_posix.cpp and
// file_lookup_windows.cpp hold the two implementations.

#include <optional>
#include <string>
#include <string_view>

namespace zb {

// folder + name, where name starts with a backslash. On POSIX the backslashes
// become slashes (a doubled one is harmless).
std::string JoinPath(std::string_view folder, std::string_view name);

// The real path of a file, each component matched without regard to case when
// the exact spelling does not exist; nullopt when there is no such regular file.
std::optional<std::string> FindFile(const std::string& path);
bool FileExists(const std::string& path);
// Whether two paths name one file: the same file when both exist (links
// included), else the same spelling as the file system compares names.
bool SameFile(const std::string& a, const std::string& b);
// A folder of exactly that spelling (the file system's own folding aside).
bool FolderExists(const std::string& path);

// The whole file; failure 53 when it does not exist, 75 when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// The same, cut after maxBytes: a longer file costs no more than that.
std::string ReadFilePrefix(const std::string& path, std::size_t maxBytes);
// ReadFilePrefix of a file FindFile found, by the path it gave: no second
// lookup. Failure 53 when it has gone since, 75 when it cannot be read.
std::string ReadFoundFile(const std::string& real, std::size_t maxBytes);

// The folder of the running program's file; argv0 is the fallback when the
// system cannot tell.
std::string ProgramFolder(const char* argv0);

}  // namespace zb
