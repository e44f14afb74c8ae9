#include "base/support.h"

#include <filesystem>
#include <strings.h>

namespace velmo {

std::string SplitField(std::string_view text, int n)
{
    std::string result;
    for (int i = 0; i < n; ++i) {
        const size_t p = text.find(';');
        if (p == std::string_view::npos)
            break;
        result = std::string(text.substr(0, p));
        text.remove_prefix(p + 1);
    }
    return result;
}

std::string trimmedText(std::string_view text)
{
    constexpr std::string_view Space = " \t\r\n";
    const size_t b = text.find_first_not_of(Space);
    if (b == std::string_view::npos)
        return {};
    return std::string(text.substr(b, text.find_last_not_of(Space) - b + 1));
}

std::string CleanNumberText(std::string_view text)
{
    std::string out;
    for (char c : text)
        if (c != ',')
            out += c;
    return out.empty() ? "0" : out;
}

namespace {

std::string groupDigits(const std::string &digits)
{
    std::string out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

} // namespace

std::string FormatMoney(Currency value)
{
    const int64_t raw = value.raw();
    const bool negative = raw < 0;
    const uint64_t mag = negative ? uint64_t(0) - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
    const uint64_t yen = (mag + Currency::Scale / 2) / Currency::Scale;
    if (yen == 0)
        return "0";
    std::string text = groupDigits(std::to_string(yen));
    if (negative)
        text.insert(0, 1, '-');
    return text;
}

std::string FormatStoredMoney(Currency value)
{
    const int64_t raw = value.raw();
    const bool negative = raw < 0;
    const uint64_t mag = negative ? uint64_t(0) - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
    std::string text = groupDigits(std::to_string(mag / Currency::Scale));
    if (const uint64_t frac = mag % Currency::Scale; frac != 0) {
        std::string f = std::to_string(frac + Currency::Scale).substr(1); // four digits, leading zeros kept
        f.erase(f.find_last_not_of('0') + 1);
        text += "." + f;
    }
    if (negative)
        text.insert(0, 1, '-');
    return text;
}

std::string LongPathName(const std::string &path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path abs = fs::absolute(fs::path(path), ec).lexically_normal();
    fs::path result = abs.root_path();
    bool onDisk = true; // every component so far exists, so its folder can be listed
    for (const auto &part : abs.relative_path()) {
        if (part.empty())
            continue;
        fs::path name = part;
        if (onDisk) {
            if (fs::exists(result / part, ec)) {
                // Spelled exactly as an entry on disk: keep it.
            } else {
                bool found = false;
                for (const auto &entry : fs::directory_iterator(result, ec)) {
                    if (strcasecmp(entry.path().filename().c_str(), part.c_str()) == 0) {
                        name = entry.path().filename();
                        found = true;
                        break;
                    }
                }
                onDisk = found;
            }
        }
        result /= name;
    }
    std::string s = result.string();
    if (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

} // namespace velmo
