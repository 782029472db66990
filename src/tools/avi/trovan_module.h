#pragma once

#include <cstdint>

#include "trovan.h"

// The conversion library reached through the module the main window loaded.
// Each call looks its function up by name, so a library without it gives a
// failure (0) instead of a crash; so does a null module.
class CTrovanModule {
public:
    explicit CTrovanModule(void* hModule) : m_hModule(hModule) {}

    int32_t Create(int32_t* pHandle) const;
    int32_t Initial(int32_t lHandle, const char* szSource, const char* szTarget) const;
    int32_t SetPara(int32_t lHandle, const void* pParams) const;
    int32_t Start(int32_t lHandle) const;
    int32_t GetConvertPerc(int32_t lHandle, int32_t* pPercent) const;
    int32_t Stop(int32_t lHandle) const;
    int32_t Release(int32_t lHandle) const;

private:
    void* Find(const char* szName) const;

    void* m_hModule;
};
