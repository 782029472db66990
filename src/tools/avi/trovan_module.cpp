#include "tools/avi/trovan_module.h"

#include <dlfcn.h>

#include "common/debug_log.h"

namespace {

template <typename Function, typename... Args>
int32_t Call(void* pFunction, const char* szName, Args... args) {
    if (pFunction == nullptr) {
        DebugLog("CTrovanModule %s not found", szName);
        return 0;
    }
    return reinterpret_cast<Function>(pFunction)(args...);
}

}  // namespace

void* CTrovanModule::Find(const char* szName) const {
    return m_hModule != nullptr ? dlsym(m_hModule, szName) : nullptr;
}

int32_t CTrovanModule::Create(int32_t* pHandle) const {
    return Call<decltype(&TROVAN_Create)>(Find("TROVAN_Create"), "TROVAN_Create", pHandle);
}

int32_t CTrovanModule::Initial(int32_t lHandle, const char* szSource, const char* szTarget) const {
    return Call<decltype(&TROVAN_Initial)>(Find("TROVAN_Initial"), "TROVAN_Initial", lHandle,
                                           szSource, szTarget);
}

int32_t CTrovanModule::SetPara(int32_t lHandle, const void* pParams) const {
    return Call<decltype(&TROVAN_SetPara)>(Find("TROVAN_SetPara"), "TROVAN_SetPara", lHandle,
                                           pParams);
}

int32_t CTrovanModule::Start(int32_t lHandle) const {
    return Call<decltype(&TROVAN_Start)>(Find("TROVAN_Start"), "TROVAN_Start", lHandle);
}

int32_t CTrovanModule::GetConvertPerc(int32_t lHandle, int32_t* pPercent) const {
    return Call<decltype(&TROVAN_GetConvertPerc)>(Find("TROVAN_GetConvertPerc"),
                                                  "TROVAN_GetConvertPerc", lHandle, pPercent);
}

int32_t CTrovanModule::Stop(int32_t lHandle) const {
    return Call<decltype(&TROVAN_Stop)>(Find("TROVAN_Stop"), "TROVAN_Stop", lHandle);
}

int32_t CTrovanModule::Release(int32_t lHandle) const {
    return Call<decltype(&TROVAN_Release)>(Find("TROVAN_Release"), "TROVAN_Release", lHandle);
}
