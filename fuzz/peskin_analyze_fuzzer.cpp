// The file analysis over any bytes: it must end, and a failure leaves the
// record zeroed while a success fills it with its own size.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_input_file.h"
#include "peskin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static FuzzInputFile input;
    static const int32_t nHandle = [] {
        const int32_t h = PESKIN_CreateHandle();
        if (h < 0) std::abort();
        return h;
    }();
    PeskinFileInfo stInfo;
    std::memset(&stInfo, 0xA5, sizeof stInfo);
    const int32_t nResult = PESKIN_AnalyzeFile(nHandle, input.Write(pData, nSize).c_str(), &stInfo);
    if (nResult == PESKIN_OK) {
        if (stInfo.nSize != PESKIN_RECORD_BYTES || stInfo.nLengthMs < 0 ||
            stInfo.nFileBytes != static_cast<int64_t>(nSize)) {
            __builtin_trap();
        }
    } else {
        static const PeskinFileInfo kZero{};
        if (std::memcmp(&stInfo, &kZero, sizeof stInfo) != 0) __builtin_trap();
    }
    return 0;
}
