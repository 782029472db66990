// The recorder head reader and the time parsers over any bytes: the head comes
// from the file, the packed time from its bytes 24..27, the creation time tag
// from the whole input as text.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_input_file.h"
#include "recorder_head.h"

namespace {
// Civil times that come back must give calendar fields in range.
void CheckTime(const std::optional<vidmux::CivilMs>& time) {
    if (!time) return;
    const VemorSystemTime st = vidmux::SystemTimeFromCivil(*time);
    if (st.dwMon < 1 || st.dwMon > 12 || st.dwDay < 1 || st.dwDay > 31 || st.dwHour > 23 ||
        st.dwMin > 59 || st.dwSec > 59 || st.dwMs > 999) {
        __builtin_trap();
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static FuzzInputFile input;
    const auto head = vidmux::ReadRecorderHead(input.Write(pData, nSize));
    if (head) {
        if (nSize < vidmux::kRecorderHeadBytes || std::memcmp(pData, "IMXV", 4) != 0) {
            __builtin_trap();
        }
        CheckTime(vidmux::UnpackTime(head->packedStartTime));
    }
    const std::string text(reinterpret_cast<const char*>(pData), nSize);
    CheckTime(vidmux::ParseCreationTime(text.c_str()));
    return 0;
}
