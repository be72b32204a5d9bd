#pragma once

#include <string>
#include <string_view>

namespace kolvane {

// A small JSON writer for the CLI's machine-readable output. Values are
// appended in order; the caller keeps the structure right.
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view k);
    JsonWriter& value(std::string_view s);
    JsonWriter& value(const char* s) { return value(std::string_view(s)); }
    JsonWriter& value(const std::string& s) { return value(std::string_view(s)); }
    JsonWriter& value(bool b);
    JsonWriter& value(int i);
    JsonWriter& value(long long i);
    // Finite numbers with 17 significant digits (exact round trip); a
    // non-finite number is written as null.
    JsonWriter& value(double d);
    JsonWriter& null();

    const std::string& str() const { return out_; }

    static std::string quote(std::string_view s);

private:
    void separator();
    std::string out_;
    bool needComma_ = false;
};

} // namespace kolvane
