#include "tools/json.h"

#include <cstdio>

#include "readers/sjis.h"

namespace zb {

void JsonWriter::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_) out_ += ',';
    first_ = false;
}

void JsonWriter::beginObject() {
    separate();
    out_ += '{';
    first_ = true;
}
void JsonWriter::endObject() {
    out_ += '}';
    first_ = false;
}
void JsonWriter::beginArray() {
    separate();
    out_ += '[';
    first_ = true;
}
void JsonWriter::endArray() {
    out_ += ']';
    first_ = false;
}
void JsonWriter::key(std::string_view k) {
    separate();
    quote(k);
    out_ += ':';
    afterKey_ = true;
}
void JsonWriter::number(long long n) {
    separate();
    out_ += std::to_string(n);
}
void JsonWriter::value(bool b) {
    separate();
    out_ += b ? "true" : "false";
}
void JsonWriter::value(std::string_view s) {
    separate();
    quote(s);
}
void JsonWriter::quote(std::string_view s) {
    out_ += '"';
    for (unsigned char c : s) {
        switch (c) {
            case '"':
                out_ += "\\\"";
                break;
            case '\\':
                out_ += "\\\\";
                break;
            case '\n':
                out_ += "\\n";
                break;
            case '\r':
                out_ += "\\r";
                break;
            case '\t':
                out_ += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out_ += buf;
                } else {
                    out_ += static_cast<char>(c);
                }
        }
    }
    out_ += '"';
}
void JsonWriter::value(std::u16string_view t) {
    value(std::string_view(U16ToUtf8(t)));
}

}  // namespace zb
