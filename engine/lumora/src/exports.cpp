#include <cstdlib>
#include <memory>
#include <mutex>
#include <new>

#include "enhancer.h"
#include "lumora.h"
#include "side_support/handle_table.h"

namespace {

// Each enhancer with the lock that keeps one call at a time on it.
struct Slot {
    std::mutex mutex;
    lumora::Enhancer enhancer;
};

void DestroyAllAtExit();

sidesupport::HandleTable<Slot>& Slots() {
    static auto* table = [] {
        std::atexit(&DestroyAllAtExit);
        return new sidesupport::HandleTable<Slot>(LUMORA_MAX_HANDLES);
    }();
    return *table;
}

void DestroyAllAtExit() { Slots().RemoveAll(); }

template <typename Call>
int32_t WithSlot(int32_t handle, Call call) {
    const std::shared_ptr<Slot> slot = Slots().Find(handle);
    if (!slot) return LUMORA_ERR_BAD_HANDLE;
    std::lock_guard lock(slot->mutex);
    return call(slot->enhancer);
}

}  // namespace

extern "C" {

LUMORA_API int32_t LUMORA_Create(int32_t* pHandle) {
    if (!pHandle) return LUMORA_ERR_NULL_POINTER;
    std::shared_ptr<Slot> slot;
    try {
        slot = std::make_shared<Slot>();
    } catch (const std::bad_alloc&) {
        return LUMORA_ERR_OUT_OF_MEMORY;
    }
    const int32_t handle = Slots().Add(std::move(slot));
    if (handle == 0) return LUMORA_ERR_NO_HANDLE;
    *pHandle = handle;
    return LUMORA_OK;
}

LUMORA_API int32_t LUMORA_Destroy(int32_t nHandle) {
    return Slots().Remove(nHandle) ? LUMORA_OK : LUMORA_ERR_BAD_HANDLE;
}

LUMORA_API int32_t LUMORA_SetParams(int32_t nHandle, const LumoraParams* pParams) {
    if (!pParams) return LUMORA_ERR_NULL_POINTER;
    return WithSlot(nHandle, [&](lumora::Enhancer& enhancer) {
        enhancer.SetParams(*pParams);
        return LUMORA_OK;
    });
}

LUMORA_API int32_t LUMORA_Process(int32_t nHandle, LumoraImage* pImage) {
    if (!pImage) return LUMORA_ERR_NULL_POINTER;
    return WithSlot(nHandle, [&](lumora::Enhancer& enhancer) {
        try {
            return enhancer.Process(pImage);
        } catch (const std::bad_alloc&) {
            return static_cast<int32_t>(LUMORA_ERR_OUT_OF_MEMORY);
        }
    });
}

LUMORA_API int32_t LUMORA_ResetHistory(int32_t nHandle) {
    return WithSlot(nHandle, [](lumora::Enhancer& enhancer) {
        enhancer.ResetHistory();
        return LUMORA_OK;
    });
}

}  // extern "C"
