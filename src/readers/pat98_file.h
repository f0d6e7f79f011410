#pragma once
// PAT98 files: found and read whole by the platform layer, then taken apart.

#include <string>
#include <string_view>
#include <type_traits>

#include "platform/file_lookup.h"
#include "platform/run_error.h"

namespace zb {

// The first maxBytes bytes of a file FindFile found (found: the path it gave).
// A reader's bound is the most its layout can use, every character taken as
// double-byte, with the line end: a longer file reads as if it ended there,
// so its size costs nothing.
std::string ReadPat98File(const std::string& found, std::size_t maxBytes);

// Runs f, the reading of one file: a run-time failure in it names the file
// on a line of its own below the description, unless it names one already.
// path is the file's path, or what makes it (built only on failure).
template <typename P, typename F>
decltype(auto) InFile(const P& path, F&& f) {
    try {
        return f();
    } catch (const RunError& e) {
        if (e.description.find('\n') != std::string::npos) throw;
        if constexpr (std::is_invocable_v<const P&>)
            throw RunError(e.number, e.description + "\n" + path());
        else
            throw RunError(e.number, e.description + "\n" + path);
    }
}

// Sequential reading of a file's bytes, as text input reads them.
class SeqReader {
  public:
    explicit SeqReader(std::string bytes) : own_(std::move(bytes)), data_(own_) {}
    // Reads bytes the caller keeps alive, without copying them.
    static SeqReader Over(std::string_view bytes) { return SeqReader(bytes); }
    SeqReader(const SeqReader&) = delete;
    SeqReader& operator=(const SeqReader&) = delete;

    // n characters: a double-byte Shift-JIS character counts as one. Reading
    // beyond the end (also within a character) is failure 62.
    std::u16string chars(long n);
    // The same characters passed over, not decoded.
    void skipChars(long n) { charSpan(n); }
    // n raw bytes; beyond the end is failure 62.
    std::string bytes(long n) { return std::string(view(n)); }
    // The same without a copy: valid while the reader lives.
    std::string_view view(long n);
    // A block of up to n bytes: a shorter file gives what it has.
    std::string block(std::size_t n);
    std::size_t length() const { return data_.size(); }
    std::size_t remaining() const { return data_.size() - pos_; }
    // The bytes not read yet.
    std::string_view rest() const { return data_.substr(pos_); }

  private:
    explicit SeqReader(std::string_view bytes) : data_(bytes) {}
    std::string_view charSpan(long n);

    std::string own_;
    std::string_view data_;
    std::size_t pos_ = 0;
};

}  // namespace zb
