#pragma once
// A small streaming JSON writer for the batch command line: objects, arrays, UTF-8 strings,
// Currency amounts as numbers in their plain text form (12.5, 0, -0.05), integers and null.
#include "base/currency.h"
#include "base/utf8_text.h"

#include <filesystem>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace velmo::cli {

// `s` as a JSON string literal. The text is UTF-8; quotes, backslashes and control characters
// are escaped, a byte that is not part of valid UTF-8 becomes U+FFFD (JSON is UTF-8 only), and
// everything else is copied as it is.
inline std::string jsonQuote(std::string_view text)
{
    const std::string s = validUtf8(text) ? std::string(text) : validUtf8Only(text);
    std::string out;
    out.reserve(s.size() + 2);
    out += '"';
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

class JsonWriter {
public:
    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }

    // The key of the next value inside an object.
    JsonWriter &key(std::string_view k)
    {
        comma();
        out_ += jsonQuote(k);
        out_ += ": ";
        afterKey_ = true;
        return *this;
    }

    void string(std::string_view utf8) { scalar(jsonQuote(utf8)); }
    // A file name under `name`: its text as the programs read names (UTF-8 when valid, else
    // CP932). A name whose bytes are not UTF-8 gets a second member `name`_path_bytes with its
    // bytes in hexadecimal, from which a reader can rebuild the exact name.
    void path(std::string_view name, const std::filesystem::path &p)
    {
        const std::string &bytes = p.native();
        key(name).string(textOfBytes(bytes));
        if (validUtf8(bytes))
            return;
        static constexpr char Hex[] = "0123456789abcdef";
        std::string hex;
        for (const char ch : bytes) {
            hex += Hex[static_cast<unsigned char>(ch) >> 4];
            hex += Hex[static_cast<unsigned char>(ch) & 15];
        }
        key(std::string(name) + "_path_bytes").string(hex);
    }
    void number(Currency c) { scalar(c.toString()); }
    void number(int64_t n) { scalar(std::to_string(n)); }
    void null() { scalar("null"); }
    void boolean(bool b) { scalar(b ? "true" : "false"); }

    const std::string &text() const { return out_; }

private:
    void comma()
    {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (!first_.empty()) {
            if (!first_.back())
                out_ += ", ";
            first_.back() = false;
        }
    }
    void open(char c)
    {
        comma();
        out_ += c;
        first_.push_back(true);
    }
    void close(char c)
    {
        first_.pop_back();
        out_ += c;
    }
    void scalar(const std::string &text)
    {
        comma();
        out_ += text;
    }

    std::string out_;
    std::vector<bool> first_; // per open container: nothing written in it yet
    bool afterKey_ = false;
};

} // namespace velmo::cli
