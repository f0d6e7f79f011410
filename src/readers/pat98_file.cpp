#include "readers/pat98_file.h"

#include <algorithm>

#include "platform/run_error.h"
#include "platform/sjis.h"
#include "readers/quick_text.h"

namespace zb {

std::string ReadPat98File(const std::string& found, std::size_t maxBytes) {
    return ReadFoundFile(found, maxBytes);
}

std::string_view SeqReader::charSpan(long n) {
    if (n < 0) Fail(kErrInvalidCall);
    std::size_t start = pos_;
    std::size_t p = pos_;
    // No lead byte among the next n bytes: they are the n characters.
    const std::size_t un = static_cast<std::size_t>(n);
    if (un <= data_.size() - p &&
        std::none_of(data_.begin() + static_cast<std::ptrdiff_t>(p),
                     data_.begin() + static_cast<std::ptrdiff_t>(p + un),
                     [](char c) { return IsSjisLead(static_cast<unsigned char>(c)); })) {
        pos_ = p + un;
        return data_.substr(start, un);
    }
    for (long k = 0; k < n; ++k) {
        if (p >= data_.size()) Fail(kErrPastEnd);
        unsigned char b = static_cast<unsigned char>(data_[p]);
        if (IsSjisLead(b)) {
            if (p + 1 >= data_.size()) Fail(kErrPastEnd);
            p += 2;
        } else {
            p += 1;
        }
    }
    pos_ = p;
    return data_.substr(start, p - start);
}

std::u16string SeqReader::chars(long n) {
    return QuickDecodeSjis(charSpan(n));
}

std::string_view SeqReader::view(long n) {
    if (n < 0) Fail(kErrInvalidCall);
    if (static_cast<std::size_t>(n) > remaining()) Fail(kErrPastEnd);
    std::string_view r = data_.substr(pos_, static_cast<std::size_t>(n));
    pos_ += static_cast<std::size_t>(n);
    return r;
}

std::string SeqReader::block(std::size_t n) {
    std::size_t k = std::min(n, remaining());
    std::string r(data_.substr(pos_, k));
    pos_ += k;
    return r;
}

}  // namespace zb
