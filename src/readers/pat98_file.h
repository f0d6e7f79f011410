#pragma once
// PAT98 files: names joined as on Windows ("\UY-A.JRA" appended to a folder),
// looked up without regard to case, read whole and then taken apart.

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

// The whole file; failure 53 when it does not exist, 75 when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Sequential reading of a file's bytes, as text input reads them.
class SeqReader {
  public:
    explicit SeqReader(std::string bytes) : data_(std::move(bytes)) {}
    // n characters: a double-byte Shift-JIS character counts as one. Reading
    // beyond the end (also within a character) is failure 62.
    std::u16string chars(long n);
    // n raw bytes; beyond the end is failure 62.
    std::string bytes(long n);
    // A block of up to n bytes: a shorter file gives what it has.
    std::string block(std::size_t n);
    std::size_t length() const { return data_.size(); }
    std::size_t remaining() const { return data_.size() - pos_; }

  private:
    std::string data_;
    std::size_t pos_ = 0;
};

}  // namespace zb
