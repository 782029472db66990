#include "tools/merge/kelsa_module.h"

#include <dlfcn.h>

#include <QFile>

#include "common/debug_log.h"
#include "kelsa.h"

namespace {

constexpr int32_t kMissingExport = -1;

}  // namespace

template <typename Fn>
Fn* CKelsaModule::Find(const char* szName) const {
    if (m_pModule == nullptr) return nullptr;
    auto* pFn = reinterpret_cast<Fn*>(dlsym(m_pModule, szName));
    if (pFn == nullptr) DebugLog("CKelsaModule %s not found", szName);
    return pFn;
}

int32_t CKelsaModule::CreateHandle() const {
    auto* pFn = Find<decltype(KELSA_CreateHandle)>("KELSA_CreateHandle");
    return pFn != nullptr ? pFn() : 0;
}

int32_t CKelsaModule::ClearMergeList(int32_t nHandle) const {
    auto* pFn = Find<decltype(KELSA_ClearMergeList)>("KELSA_ClearMergeList");
    return pFn != nullptr ? pFn(nHandle) : kMissingExport;
}

int32_t CKelsaModule::AddToMergeList(int32_t nHandle, const QString& strPath,
                                     int32_t nDurationMs) const {
    auto* pFn = Find<decltype(KELSA_AddToMergeList)>("KELSA_AddToMergeList");
    const QByteArray path = QFile::encodeName(strPath);
    return pFn != nullptr ? pFn(nHandle, path.constData(), 0, nDurationMs) : kMissingExport;
}

int32_t CKelsaModule::MergeFileInList(int32_t nHandle, const QString& strOutputPath) const {
    auto* pFn = Find<decltype(KELSA_MergeFileInList)>("KELSA_MergeFileInList");
    const QByteArray path = QFile::encodeName(strOutputPath);
    return pFn != nullptr ? pFn(nHandle, path.constData()) : kMissingExport;
}

int32_t CKelsaModule::StopMerge(int32_t nHandle) const {
    auto* pFn = Find<decltype(KELSA_StopMerge)>("KELSA_StopMerge");
    return pFn != nullptr ? pFn(nHandle) : kMissingExport;
}

int32_t CKelsaModule::DestroyHandle(int32_t nHandle) const {
    auto* pFn = Find<decltype(KELSA_DestroyHandle)>("KELSA_DestroyHandle");
    return pFn != nullptr ? pFn(nHandle) : kMissingExport;
}
