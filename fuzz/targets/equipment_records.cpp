// Equipment price records from any bytes: a material block decoded, encoded and decoded again
// to the same fields, the settings read into the controls, and the block derived by the
// percentages (a price out of range is a RangeError, never a wrapped number).
#include "base/errors.h"
#include "fuzz/fuzz_input.h"
#include "selvan/core/selvan_calc.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    velmo::fuzz::Input in(data, size);
    const uint8_t options = in.byte();
    const std::string_view bytes = in.rest();
    std::vector<unsigned char> blockBytes(velmo::EquipmentBlockBytes, 0);
    std::memcpy(blockBytes.data(), bytes.data(), std::min(bytes.size(), blockBytes.size()));

    velmo::EquipmentBlock block;
    for (size_t r = 0; r < block.size(); ++r) {
        block[r] = velmo::EquipmentRecord::decode(blockBytes.data() + r * velmo::EquipmentRecordSize);
        std::vector<unsigned char> out(velmo::EquipmentRecordSize);
        block[r].encode(out.data());
        if (!(velmo::EquipmentRecord::decode(out.data()) == block[r]))
            std::abort();
        (void)block[r].name.text();
    }
    velmo::EquipmentRecord &settings = block.back();
    velmo::clearExcessivePercentages(settings);
    velmo::EquipmentControls controls = velmo::controlsFrom(settings, {}, options & 1);
    controls.useRates = options & 2;
    try {
        velmo::recalculateBlock(block, controls);
    } catch (const velmo::RangeError &) {
    }
    return 0;
}
