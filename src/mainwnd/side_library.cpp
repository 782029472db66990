#include "mainwnd/side_library.h"

#include <dlfcn.h>

#include <QDir>
#include <QFileInfo>

#include "common/debug_log.h"
#include "playback/engine_folder.h"
#include "playback/lang_text.h"

QString SideLibraryPath(const QString& strFileName) {
    return QDir(EngineFolder()).filePath(strFileName);
}

bool LoadSideLibrary(const QString& strFileName) {
    const QString strPath = SideLibraryPath(strFileName);
    // Never closed: the tools keep using the library once it is in.
    void* pHandle = dlopen(strPath.toUtf8().constData(), RTLD_NOW | RTLD_LOCAL);
    if (pHandle == nullptr) {
        const char* szError = dlerror();
        DebugLog("LoadSideLibrary %s failed: %s", strFileName.toUtf8().constData(),
                 szError != nullptr ? szError : "");
        return false;
    }
    return true;
}

void* SideLibraryModule(const QString& strFileName) {
    // RTLD_NOLOAD only finds a library that is already in; like LoadSideLibrary's
    // own reference, this one is never given back.
    return dlopen(SideLibraryPath(strFileName).toUtf8().constData(),
                  RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
}

QString FirstMissingLibrary(const QStringList& fileNames,
                            const std::function<bool(const QString&)>& load) {
    QString strMissing;
    for (const QString& strName : fileNames) {
        if (!load(strName) && strMissing.isEmpty()) strMissing = strName;
    }
    return strMissing;
}

bool EnhanceLibraryIn(const QString& strFolder) {
    return QFileInfo::exists(QDir(strFolder).filePath(QString::fromLatin1(ENHANCE_LIBRARY)));
}

QString NeedLibraryText(const QString& strFileName) {
    QString strNeed = LangText("IDS_MainWnd_NeedLib", "Need ");
    // The language tables condense the trailing space away.
    if (!strNeed.endsWith(QLatin1Char(' '))) strNeed += QLatin1Char(' ');
    return strNeed + strFileName;
}
