#include "cli/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace kolvane {

std::string JsonWriter::quote(std::string_view s) {
    std::string q = "\"";
    for (char c : s) {
        switch (c) {
        case '"':
            q += "\\\"";
            break;
        case '\\':
            q += "\\\\";
            break;
        case '\n':
            q += "\\n";
            break;
        case '\r':
            q += "\\r";
            break;
        case '\t':
            q += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                q += buf;
            } else {
                q += c; // UTF-8 passes through unchanged
            }
        }
    }
    q += '"';
    return q;
}

void JsonWriter::separator() {
    if (needComma_) out_ += ',';
    needComma_ = true;
}

JsonWriter& JsonWriter::beginObject() {
    separator();
    out_ += '{';
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    out_ += '}';
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separator();
    out_ += '[';
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    out_ += ']';
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view k) {
    separator();
    out_ += quote(k);
    out_ += ':';
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view s) {
    separator();
    out_ += quote(s);
    return *this;
}

JsonWriter& JsonWriter::value(bool b) {
    separator();
    out_ += b ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::value(int i) {
    return value(static_cast<long long>(i));
}

JsonWriter& JsonWriter::value(long long i) {
    separator();
    out_ += std::to_string(i);
    return *this;
}

JsonWriter& JsonWriter::value(double d) {
    if (!std::isfinite(d)) return null();
    separator();
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, d);
    out_.append(buf, res.ptr);
    return *this;
}

JsonWriter& JsonWriter::null() {
    separator();
    out_ += "null";
    return *this;
}

} // namespace kolvane
