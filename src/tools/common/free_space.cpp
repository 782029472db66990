#include "tools/common/free_space.h"

#include <sys/statvfs.h>

#include <QFile>
#include <QFileInfo>
#include <utility>

#include "common/debug_log.h"

namespace {

uint64_t QueryFileSystem(const QString& strOutputPath) {
    if (strOutputPath.isEmpty()) return 0;
    const QByteArray folder = QFile::encodeName(QFileInfo(strOutputPath).absolutePath());
    struct statvfs st {};
    if (::statvfs(folder.constData(), &st) != 0) {
        DebugLog("FreeSpaceForOutput statvfs Fail %s", folder.constData());
        return 0;
    }
    // f_bavail, not f_bfree: blocks reserved for root are no use to the player.
    return static_cast<uint64_t>(st.f_bavail) * static_cast<uint64_t>(st.f_frsize);
}

FreeSpaceQuery& CurrentQuery() {
    static FreeSpaceQuery s_query = QueryFileSystem;
    return s_query;
}

}  // namespace

uint64_t FreeSpaceForOutput(const QString& strOutputPath) { return CurrentQuery()(strOutputPath); }

ScopedFreeSpaceOverride::ScopedFreeSpaceOverride(FreeSpaceQuery query)
    : m_saved(std::exchange(CurrentQuery(), std::move(query))) {}

ScopedFreeSpaceOverride::~ScopedFreeSpaceOverride() { CurrentQuery() = std::move(m_saved); }
