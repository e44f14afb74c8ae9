// Pipe price records from any bytes: a pipe block decoded, calculated for every row (a figure
// out of range is a RangeError, never a wrapped number), encoded and decoded again to the same
// fields; and the whole-file reader refusing a short file.
#include "velmok/core/calc.h"
#include "base/errors.h"
#include "fuzz/fuzz_input.h"
#include "pricefile/service_file.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    velmo::fuzz::Input in(data, size);
    const std::string_view bytes = in.rest();
    std::vector<unsigned char> blockBytes(static_cast<size_t>(velmo::RecordsPerPipe) * velmo::RecordSize, 0);
    std::memcpy(blockBytes.data(), bytes.data(), std::min(bytes.size(), blockBytes.size()));

    velmo::PipeBlock block;
    for (int i = 0; i < velmo::RecordsPerPipe; ++i)
        velmo::PriceRecord::decodeInto(block[i], blockBytes.data() + static_cast<size_t>(i) * velmo::RecordSize);
    for (velmo::PriceRecord &r : block) {
        std::vector<unsigned char> out(velmo::RecordSize);
        r.encode(out.data());
        if (!(velmo::PriceRecord::decode(out.data()) == r))
            std::abort();
        (void)r.name.text();
        (void)r.caption.text();
    }
    velmo::WorkingTable table;
    table.load(block);
    try {
        table.recalculateAll(block);
    } catch (const velmo::RangeError &) {
    }

    velmo::ServiceFile file;
    try {
        file.parse(bytes, "fuzz.fda");
        (void)file.serialize();
    } catch (const velmo::IoError &) {
    }
    return 0;
}
