#include <cstring>

#include "handle_table.h"
#include "peskin.h"
#include "time_analysis.h"

static_assert(sizeof(PeskinFileInfo) == PESKIN_RECORD_BYTES);
static_assert(offsetof(PeskinFileInfo, stStart) == 44);
static_assert(offsetof(PeskinFileInfo, stEnd) == 72);

int32_t PESKIN_CreateHandle(void) { return peskin::HandleTable::Instance().Create(); }

int32_t PESKIN_AnalyzeFile(int32_t nHandle, const char* sFileName, void* pInfo) {
    if (!peskin::HandleTable::Instance().IsValid(nHandle)) return PESKIN_ERR_HANDLE;
    if (pInfo == nullptr) return PESKIN_ERR_ARGUMENT;
    std::memset(pInfo, 0, PESKIN_RECORD_BYTES);
    if (sFileName == nullptr || sFileName[0] == '\0') return PESKIN_ERR_ARGUMENT;
    PeskinFileInfo info{};
    const int32_t result = peskin::AnalyzeTimes(sFileName, &info);
    if (result == PESKIN_OK) std::memcpy(pInfo, &info, sizeof info);
    return result;
}

int32_t PESKIN_DestroyHandle(int32_t nHandle) {
    return peskin::HandleTable::Instance().Destroy(nHandle) ? PESKIN_OK : PESKIN_ERR_HANDLE;
}
