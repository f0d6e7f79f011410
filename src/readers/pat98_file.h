#pragma once
// PAT98 files: found and read whole by the platform layer, then taken apart.

#include <string>
#include <string_view>

#include "platform/file_lookup.h"

namespace zb {

// The file's first maxBytes bytes. A reader's bound is the most its layout can
// use, every character taken as double-byte, with the line end: a longer file
// reads as if it ended there, so its size costs nothing.
std::string ReadPat98File(const std::string& path, std::size_t maxBytes);

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
