#pragma once

#include <QString>
#include <cstdint>

// The merge library's exports, looked up by name in the loaded module at each
// call. A missing export fails like a refusing library: 0 from CreateHandle,
// non-zero from the rest. Safe to call from any thread.
class CKelsaModule {
public:
    explicit CKelsaModule(void* pModule = nullptr) : m_pModule(pModule) {}

    bool IsLoaded() const { return m_pModule != nullptr; }

    int32_t CreateHandle() const;
    int32_t ClearMergeList(int32_t nHandle) const;
    int32_t AddToMergeList(int32_t nHandle, const QString& strPath, int32_t nDurationMs) const;
    int32_t MergeFileInList(int32_t nHandle, const QString& strOutputPath) const;
    int32_t StopMerge(int32_t nHandle) const;
    int32_t DestroyHandle(int32_t nHandle) const;

private:
    template <typename Fn>
    Fn* Find(const char* szName) const;

    void* m_pModule;
};
