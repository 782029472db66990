#include <cstddef>
#include <cstring>

#include "peskin.h"
#include "side_support/handle_table.h"
#include "time_analysis.h"

static_assert(sizeof(PeskinFileInfo) == PESKIN_RECORD_BYTES);
static_assert(offsetof(PeskinFileInfo, stStart) == 44);
static_assert(offsetof(PeskinFileInfo, stEnd) == 72);

namespace {

// What a handle names; the analysis itself keeps no state between calls.
struct Analyzer {};

sidesupport::HandleTable<Analyzer>& Handles() {
    // Never destroyed: another thread may still call in while the process exits.
    static auto* table = new sidesupport::HandleTable<Analyzer>(PESKIN_MAX_HANDLES);
    return *table;
}

}  // namespace

int32_t PESKIN_CreateHandle(void) {
    const int32_t nHandle = Handles().Add(std::make_shared<Analyzer>());
    return nHandle == 0 ? -1 : nHandle;
}

int32_t PESKIN_AnalyzeFile(int32_t nHandle, const char* sFileName, void* pInfo) {
    if (!Handles().Find(nHandle)) return PESKIN_ERR_HANDLE;
    if (pInfo == nullptr) return PESKIN_ERR_ARGUMENT;
    std::memset(pInfo, 0, PESKIN_RECORD_BYTES);
    if (sFileName == nullptr || sFileName[0] == '\0') return PESKIN_ERR_ARGUMENT;
    PeskinFileInfo info{};
    const int32_t result = peskin::AnalyzeTimes(sFileName, &info);
    if (result == PESKIN_OK) std::memcpy(pInfo, &info, sizeof info);
    return result;
}

int32_t PESKIN_DestroyHandle(int32_t nHandle) {
    return Handles().Remove(nHandle) ? PESKIN_OK : PESKIN_ERR_HANDLE;
}
