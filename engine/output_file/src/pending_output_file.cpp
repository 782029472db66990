#include "output_file/pending_output_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <random>
#include <utility>

namespace outputfile {

namespace {

bool SyncPath(const std::string& strPath, int nFlags) {
    const int fd = ::open(strPath.c_str(), nFlags | O_CLOEXEC);
    if (fd < 0) return false;
    const bool bSynced = ::fsync(fd) == 0;
    ::close(fd);
    return bSynced;
}

std::string FolderOf(const std::string& strPath) {
    const size_t nSlash = strPath.rfind('/');
    if (nSlash == std::string::npos) return ".";
    if (nSlash == 0) return "/";
    return strPath.substr(0, nSlash);
}

}  // namespace

PendingOutputFile::PendingOutputFile(std::string strTarget) : m_strTarget(std::move(strTarget)) {
    if (m_strTarget.empty() || m_strTarget.back() == '/') return;
    // O_EXCL with a random suffix instead of mkstemp: the file gets the usual
    // permissions through the umask rather than 0600.
    static std::atomic<uint32_t> s_nCounter{0};
    std::random_device random;
    for (int nTry = 0; nTry < 16; ++nTry) {
        char szSuffix[32];
        std::snprintf(szSuffix, sizeof szSuffix, ".%08x%04x.part", random(),
                      static_cast<unsigned>(s_nCounter++ & 0xFFFF));
        std::string strTemp = m_strTarget + szSuffix;
        const int fd = ::open(strTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            m_strTemp = std::move(strTemp);
            return;
        }
        if (errno != EEXIST) return;
    }
}

PendingOutputFile::~PendingOutputFile() { Discard(); }

bool PendingOutputFile::Commit() {
    if (!Ok() || m_bCommitted) return m_bCommitted;
    if (!SyncPath(m_strTemp, O_RDONLY)) return false;
    if (::rename(m_strTemp.c_str(), m_strTarget.c_str()) != 0) return false;
    m_bCommitted = true;
    // Makes the rename itself durable; a folder that cannot be synced is no reason to fail.
    SyncPath(FolderOf(m_strTarget), O_RDONLY | O_DIRECTORY);
    return true;
}

void PendingOutputFile::Discard() {
    if (m_bCommitted || m_strTemp.empty()) return;
    ::unlink(m_strTemp.c_str());
    m_strTemp.clear();
}

}  // namespace outputfile
