#include <cstdlib>
#include <cstring>
#include <memory>

#include "conversion.h"
#include "side_support/handle_table.h"
#include "trovan.h"

namespace {

void StopAllAtExit();

sidesupport::HandleTable<trovan::Conversion>& Conversions() {
    static auto* table = [] {
        std::atexit(&StopAllAtExit);
        return new sidesupport::HandleTable<trovan::Conversion>(TROVAN_MAX_HANDLES);
    }();
    return *table;
}

// Conversions a program forgot to release stop before the process exits, so
// no thread writes while the runtime tears down, and their partial files go.
void StopAllAtExit() { Conversions().RemoveAll(); }

}  // namespace

static_assert(sizeof(TrovanParams) == 104, "the parameter block is 104 bytes");
static_assert(offsetof(TrovanParams, nAudioBitRate) == 32);
static_assert(offsetof(TrovanParams, nVideoCodec) == 56);
static_assert(offsetof(TrovanParams, nContainer) == 68);

extern "C" {

TROVAN_API int32_t TROVAN_Create(int32_t* handle) {
    if (handle == nullptr) return TROVAN_ERR_NULL_POINTER;
    const int32_t added = Conversions().Add(std::make_shared<trovan::Conversion>());
    if (added == 0) return TROVAN_ERR_TOO_MANY;
    *handle = added;
    return TROVAN_OK;
}

TROVAN_API int32_t TROVAN_Initial(int32_t handle, const char* source, const char* target) {
    const auto conversion = Conversions().Find(handle);
    if (!conversion) return TROVAN_ERR_BAD_HANDLE;
    if (source == nullptr || target == nullptr) return TROVAN_ERR_NULL_POINTER;
    return conversion->Initial(source, target);
}

TROVAN_API int32_t TROVAN_SetPara(int32_t handle, const void* params) {
    const auto conversion = Conversions().Find(handle);
    if (!conversion) return TROVAN_ERR_BAD_HANDLE;
    if (params == nullptr) return TROVAN_ERR_NULL_POINTER;
    TrovanParams block;
    std::memcpy(&block, params, sizeof block);  // the caller's block need not be aligned
    return conversion->SetParams(block);
}

TROVAN_API int32_t TROVAN_Start(int32_t handle) {
    const auto conversion = Conversions().Find(handle);
    return conversion ? conversion->Start() : TROVAN_ERR_BAD_HANDLE;
}

TROVAN_API int32_t TROVAN_GetConvertPerc(int32_t handle, int32_t* percent) {
    const auto conversion = Conversions().Find(handle);
    if (!conversion) return TROVAN_ERR_BAD_HANDLE;
    if (percent == nullptr) return TROVAN_ERR_NULL_POINTER;
    return conversion->Percent(percent);
}

TROVAN_API int32_t TROVAN_Stop(int32_t handle) {
    const auto conversion = Conversions().Find(handle);
    if (!conversion) return TROVAN_ERR_BAD_HANDLE;
    conversion->Stop();
    return TROVAN_OK;
}

TROVAN_API int32_t TROVAN_Release(int32_t handle) {
    const auto conversion = Conversions().Remove(handle);
    if (!conversion) return TROVAN_ERR_BAD_HANDLE;
    conversion->Stop();
    return TROVAN_OK;
}

}  // extern "C"
