// The media probe must read nothing outside its input, end on any input and
// never set the fields it does not own.

#include <cstddef>
#include <cstdint>

#include "tools/mediaprobe/media_probe.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    MediaProbeResult result;
    MediaProbeBytes(pData, nSize, &result);
    if (result.wUnused0 != 0 || result.wUnused6 != 0 || result.dwUnused20 != 0) __builtin_trap();
    return 0;
}
