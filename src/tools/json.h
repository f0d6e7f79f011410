#pragma once
// A small JSON writer for the report command: one object, members in the
// order they are written, texts as UTF-8.

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace zb {

class JsonWriter {
  public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view k);
    template <typename T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool>) void value(T n) {
        number(static_cast<long long>(n));
    }
    void number(long long n);
    void value(bool b);
    void value(std::string_view utf8);
    void value(std::u16string_view text);
    template <typename T>
    void member(std::string_view k, const T& v) {
        key(k);
        value(v);
    }
    const std::string& str() const { return out_; }

  private:
    void separate();
    void quote(std::string_view s);
    std::string out_;
    bool first_ = true;
    bool afterKey_ = false;
};

}  // namespace zb
