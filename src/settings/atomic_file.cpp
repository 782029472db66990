#include "settings/atomic_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <string>

#include "common/debug_log.h"

namespace {

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t nWritten = ::write(fd, data.data(), data.size());
        if (nWritten < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        // A short write is retried: the next call reports why it stopped (ENOSPC, EFBIG).
        data.remove_prefix(static_cast<size_t>(nWritten));
    }
    return true;
}

// Makes the rename itself durable; a folder that cannot be synced is no reason to fail.
void SyncFolder(const std::string& strFolder) {
    const int fd = ::open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

bool WriteFileAtomically(const QString& strPath, std::string_view data) {
    if (strPath.isEmpty()) {
        return false;
    }
    const QString strFolder = QFileInfo(strPath).absolutePath();
    if (!QDir().mkpath(strFolder)) {
        DebugLog("WriteFileAtomically() cannot create folder %s",
                 QFile::encodeName(strFolder).constData());
        return false;
    }

    const std::string strTarget = QFile::encodeName(strPath).toStdString();
    std::string strTemp = strTarget + ".XXXXXX";
    const int fd = ::mkostemp(strTemp.data(), O_CLOEXEC);
    if (fd < 0) {
        DebugLog("WriteFileAtomically() mkostemp Fail errno=%d", errno);
        return false;
    }

    const char* szFailedStep = nullptr;
    int nError = 0;
    const auto fail = [&](const char* szStep) {
        if (szFailedStep == nullptr) {
            szFailedStep = szStep;
            nError = errno;
        }
    };
    if (!WriteAll(fd, data)) {
        fail("write");
    } else if (::fsync(fd) != 0) {
        fail("fsync");
    }
    if (::close(fd) != 0) {
        fail("close");
    }
    if (szFailedStep == nullptr && ::rename(strTemp.c_str(), strTarget.c_str()) != 0) {
        fail("rename");
    }
    if (szFailedStep != nullptr) {
        DebugLog("WriteFileAtomically() %s Fail errno=%d", szFailedStep, nError);
        ::unlink(strTemp.c_str());
        return false;
    }
    SyncFolder(QFile::encodeName(strFolder).toStdString());
    return true;
}
