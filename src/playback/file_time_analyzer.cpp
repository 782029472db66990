#include "playback/file_time_analyzer.h"

#include <dlfcn.h>

#include <QDir>
#include <cstdint>

#include "common/debug_log.h"
#include "playback/engine_folder.h"

namespace {

using CreateHandleFn = int32_t (*)();
using AnalyzeFileFn = int32_t (*)(int32_t, const char*, void*);
using DestroyHandleFn = int32_t (*)(int32_t);

// Releases the library when the analysis is over. The library stays mapped
// (RTLD_NODELETE): it keeps its handle table for the life of the process, so
// unmapping it after every analysis would leak one table per call.
class LoadedLibrary {
public:
    explicit LoadedLibrary(const QString& strPath)
        : m_pHandle(dlopen(strPath.toUtf8().constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {}
    ~LoadedLibrary() {
        if (m_pHandle != nullptr) dlclose(m_pHandle);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool IsLoaded() const { return m_pHandle != nullptr; }
    template <typename Fn>
    Fn Find(const char* szName) const {
        return reinterpret_cast<Fn>(dlsym(m_pHandle, szName));
    }

private:
    void* m_pHandle;
};

}  // namespace

bool AnalyzeFileTime(const QString& strPath, FileTimeInfo* pInfo) {
    if (pInfo == nullptr || strPath.isEmpty()) return false;
    LoadedLibrary library(QDir(EngineFolder()).filePath(kFileAnalysisLibrary));
    if (!library.IsLoaded()) {
        DebugLog("AnalyzeFileTime: %s not loaded", kFileAnalysisLibrary);
        return false;
    }
    const auto fnCreate = library.Find<CreateHandleFn>("PESKIN_CreateHandle");
    const auto fnAnalyze = library.Find<AnalyzeFileFn>("PESKIN_AnalyzeFile");
    const auto fnDestroy = library.Find<DestroyHandleFn>("PESKIN_DestroyHandle");
    if (fnCreate == nullptr || fnAnalyze == nullptr || fnDestroy == nullptr) return false;
    const int32_t nHandle = fnCreate();
    if (nHandle == -1) return false;
    FileTimeInfo info{};
    const int32_t nResult = fnAnalyze(nHandle, strPath.toUtf8().constData(), info.data());
    fnDestroy(nHandle);
    if (nResult < 0) {
        DebugLog("PESKIN_AnalyzeFile fail nResult=%d", nResult);
        return false;
    }
    *pInfo = info;
    return true;
}
