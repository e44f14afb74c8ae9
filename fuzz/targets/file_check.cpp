// velmok-cli's check of a pipe price file from any bytes.
#include "file_check.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    velmo::fuzz::Input in(data, size);
    (void)velmo::checkServiceFile("fuzz.fda", in.rest());
    return 0;
}
