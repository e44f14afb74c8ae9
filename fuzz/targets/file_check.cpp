// The batch commands' check of a pipe price file and of an equipment file from any bytes.
#include "pricefile/file_check.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    velmo::fuzz::Input in(data, size);
    const auto bytes = in.rest();
    (void)velmo::checkServiceFile("fuzz.fda", bytes);
    (void)velmo::checkEquipmentFile("fuzz.dxa", bytes);
    return 0;
}
