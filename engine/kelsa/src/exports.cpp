#include <exception>
#include <string>

#include "handle_table.h"
#include "kelsa.h"

using kelsa::HandleTable;

namespace {

// No exception may cross the C boundary (allocation failures in a long merge list).
template <typename Call>
int32_t Guarded(Call call) {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return KELSA_ERR_NO_MEMORY;
    } catch (...) {
        return KELSA_ERR_OUTPUT;
    }
}

bool Missing(const char* text) { return text == nullptr || text[0] == '\0'; }

}  // namespace

extern "C" {

KELSA_API int32_t KELSA_CreateHandle(void) {
    try {
        return HandleTable::Instance().Create();
    } catch (...) {
        return 0;
    }
}

KELSA_API int32_t KELSA_ClearMergeList(int32_t handle) {
    return Guarded([&] {
        const auto list = HandleTable::Instance().Find(handle);
        return list != nullptr ? list->Clear() : KELSA_ERR_BAD_HANDLE;
    });
}

KELSA_API int32_t KELSA_AddToMergeList(int32_t handle, const char* path, int32_t /*reserved*/,
                                       int32_t durationMs) {
    return Guarded([&] {
        const auto list = HandleTable::Instance().Find(handle);
        if (list == nullptr) return static_cast<int>(KELSA_ERR_BAD_HANDLE);
        if (Missing(path)) return static_cast<int>(KELSA_ERR_NULL_POINTER);
        return list->Add(path, durationMs);
    });
}

KELSA_API int32_t KELSA_MergeFileInList(int32_t handle, const char* outputPath) {
    return Guarded([&] {
        const auto list = HandleTable::Instance().Find(handle);
        if (list == nullptr) return static_cast<int>(KELSA_ERR_BAD_HANDLE);
        if (Missing(outputPath)) return static_cast<int>(KELSA_ERR_NULL_POINTER);
        return list->Merge(outputPath);
    });
}

KELSA_API int32_t KELSA_StopMerge(int32_t handle) {
    return Guarded([&] {
        const auto list = HandleTable::Instance().Find(handle);
        if (list == nullptr) return static_cast<int>(KELSA_ERR_BAD_HANDLE);
        list->RequestStop();
        return static_cast<int>(KELSA_OK);
    });
}

KELSA_API int32_t KELSA_DestroyHandle(int32_t handle) {
    return Guarded([&] {
        const auto list = HandleTable::Instance().Remove(handle);
        if (list == nullptr) return static_cast<int>(KELSA_ERR_BAD_HANDLE);
        // A merge still running holds its own reference and frees the list when it returns.
        list->RequestStop();
        return static_cast<int>(KELSA_OK);
    });
}

}  // extern "C"
