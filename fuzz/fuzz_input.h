#pragma once
// Reading a fuzz input: bytes taken one piece at a time, then the rest as text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmo::fuzz {

class Input {
public:
    Input(const uint8_t *data, size_t size) : data_(reinterpret_cast<const char *>(data), size) {}
    bool empty() const { return data_.empty(); }
    // The next byte, or 0 when none is left.
    uint8_t byte()
    {
        if (data_.empty())
            return 0;
        const auto b = static_cast<uint8_t>(data_.front());
        data_.remove_prefix(1);
        return b;
    }
    // Up to n bytes.
    std::string_view take(size_t n)
    {
        const std::string_view t = data_.substr(0, n);
        data_.remove_prefix(t.size());
        return t;
    }
    std::string_view rest()
    {
        const std::string_view t = data_;
        data_ = {};
        return t;
    }

private:
    std::string_view data_;
};

} // namespace velmo::fuzz
