#include "tools/mediaprobe/media_probe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "tools/mediaprobe/media_probe.h"

namespace {

// Reads until `nCount` bytes arrived, the file ended or a read failed.
size_t ReadFully(int nFd, uint64_t nOffset, uint8_t* pOut, size_t nCount) {
    size_t nDone = 0;
    while (nDone < nCount) {
        const ssize_t nGot =
            pread(nFd, pOut + nDone, nCount - nDone, static_cast<off_t>(nOffset + nDone));
        if (nGot < 0 && errno == EINTR) continue;
        if (nGot <= 0) break;
        nDone += static_cast<size_t>(nGot);
    }
    return nDone;
}

// A file whose first bytes are already in memory: reads that fall inside
// them are served from there, the rest from the file.
class FileByteSource : public ByteSource {
public:
    FileByteSource(int nFd, uint64_t nSize, ByteView head)
        : m_nFd(nFd), m_nSize(nSize), m_head(head) {}
    uint64_t Size() const override { return m_nSize; }
    size_t ReadAt(uint64_t nOffset, uint8_t* pOut, size_t nCount) const override {
        if (nOffset >= m_nSize) return 0;
        if (nOffset <= m_head.nSize && nCount <= m_head.nSize - nOffset) {
            std::memcpy(pOut, m_head.pData + nOffset, nCount);
            return nCount;
        }
        return ReadFully(m_nFd, nOffset, pOut, nCount);
    }

private:
    int m_nFd;
    uint64_t m_nSize;
    ByteView m_head;
};

class FileDescriptor {
public:
    explicit FileDescriptor(int nFd) : m_nFd(nFd) {}
    ~FileDescriptor() {
        if (m_nFd >= 0) close(m_nFd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_nFd; }

private:
    int m_nFd;
};

}  // namespace

bool MediaProbeFile(const char* szPath, MediaProbeResult* pResult, uint8_t* pWorkBuffer,
                    size_t nWorkBufferBytes) {
    if (pResult == nullptr) return false;
    *pResult = MediaProbeResult{};
    if (szPath == nullptr || pWorkBuffer == nullptr || nWorkBufferBytes < kMediaProbeHeadBytes) {
        return false;
    }
    // Not blocking on open: a named pipe must not hang the probe. Only
    // regular files are read.
    const FileDescriptor fd(open(szPath, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat st {};
    if (fd.Get() < 0 || fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const uint64_t nSize = static_cast<uint64_t>(st.st_size);
    const size_t nHead =
        ReadFully(fd.Get(), 0, pWorkBuffer,
                  static_cast<size_t>(std::min<uint64_t>(nSize, kMediaProbeHeadBytes)));
    const ByteView head{pWorkBuffer, nHead};
    const FileByteSource source(fd.Get(), nSize, head);
    return MediaProbe(head, source, pResult);
}
