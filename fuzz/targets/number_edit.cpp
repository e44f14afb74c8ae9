// The number edit field driven by any sequence of keys, characters, pastes and property
// changes: no input crashes it or reaches undefined behaviour, and a typed digit never makes
// the field hold more digits than MaxDigits allows.
#include "fuzz/fuzz_input.h"
#include "grid/core/nvaledit_state.h"
#include "grid/core/virtual_keys.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    velmo::fuzz::Input in(data, size);
    velmo::NValEditState s;
    static const std::array<int, 9> keys = {velmo::vkey::Back,  velmo::vkey::Return, velmo::vkey::Escape,
                                            velmo::vkey::Home,  velmo::vkey::Left,   velmo::vkey::Up,
                                            velmo::vkey::Down,  velmo::vkey::Delete, velmo::vkey::End};
    static const char32_t chars[] = {U'0', U'1', U'5', U'9', U'.', U'-', U',', U'x', U'\r', U'\b', 3, 22, 24, 26};
    while (!in.empty()) {
        const uint8_t op = in.byte();
        const bool selected = op & 0x80;
        const int digitsBefore = s.DigitCount();
        switch (op % 8) {
        case 0: {
            const char32_t c = chars[in.byte() % std::size(chars)];
            s.KeyPress(c, selected);
            // A digit is refused rather than taking the field past its limit. (A MaxDigits
            // lowered below the digits already shown leaves them, as the property setter does.)
            if (c >= U'0' && c <= U'9' && s.DigitCount() > std::max(s.MaxDigits(), digitsBefore))
                std::abort();
            break;
        }
        case 1: s.KeyDown(keys[in.byte() % keys.size()], selected); break;
        case 2: s.Paste(std::string(in.take(in.byte() % 24))); break;
        case 3: s.SetMaxDigits(in.byte() % 17); break;
        case 4: s.SetFixDecimal(static_cast<int>(in.byte() % 18) - 2); break;
        case 5: s.SetPrmtNegative(selected); s.SetZeroDisplay(op & 0x40); s.SetPutAComma(op & 0x20); break;
        case 6: if (selected) s.FocusGained(); else s.FocusLost(); break;
        default: (void)s.ParseText(in.take(in.byte() % 32)); break;
        }
    }
    return 0;
}
