#include "playback/engine_folder.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QFileInfo>

#include "vidmux.h"

QString EngineFolder() {
    Dl_info info{};
    // Any function the engine exports tells which file it came from.
    if (dladdr(reinterpret_cast<void*>(&Vemor_GetPort), &info) != 0 && info.dli_fname != nullptr) {
        const QFileInfo engine(QString::fromLocal8Bit(info.dli_fname));
        if (engine.isAbsolute()) return engine.canonicalPath();
    }
    return QCoreApplication::applicationDirPath();
}
