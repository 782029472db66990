#include "playback/file_probe.h"

#include "playback/engine_api.h"

bool ProbeMediaFile(const QString& path) {
    if (path.isEmpty()) return false;
    int32_t port = -1;
    if (!Engine().GetPort(&port)) return false;
    const QByteArray utf8 = path.toUtf8();
    const bool opened = Engine().OpenFile(port, utf8.constData()) != 0;
    if (opened) Engine().CloseFile(port);
    Engine().FreePort(port);
    return opened;
}
