#include "tools/cut/byte_range_copy.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <new>

#include "tools/cut/cut_method.h"

namespace {

enum class BlockResult { Done, SourceEnded, Failed };

// Writes every byte, retrying short writes; the next call reports why one stopped.
bool WriteAll(int fd, const char* pData, size_t nBytes) {
    while (nBytes > 0) {
        const ssize_t nWritten = ::write(fd, pData, nBytes);
        if (nWritten < 0 && errno == EINTR) continue;
        if (nWritten <= 0) return false;
        pData += nWritten;
        nBytes -= static_cast<size_t>(nWritten);
    }
    return true;
}

// Moves nBytes from the source at *pOffset to the output's current position.
// The kernel copies without a trip through user space where it can; where it
// cannot (another file system, an old kernel) the buffer does the work.
class CBlockMover {
public:
    CBlockMover(int nSourceFd, int nOutputFd, char* pBuffer, size_t nBufferBytes)
        : m_nSourceFd(nSourceFd),
          m_nOutputFd(nOutputFd),
          m_pBuffer(pBuffer),
          m_nBufferBytes(nBufferBytes) {}

    BlockResult Move(int64_t* pOffset, size_t nBytes) {
        while (nBytes > 0) {
            const ssize_t nMoved =
                m_bKernelCopy ? KernelCopy(pOffset, nBytes) : BufferCopy(pOffset, nBytes);
            if (nMoved == 0) return BlockResult::SourceEnded;
            if (nMoved < 0) {
                if (m_bKernelCopy && !m_bKernelCopied && KernelCopyUnsupported(errno)) {
                    m_bKernelCopy = false;
                    continue;
                }
                return BlockResult::Failed;
            }
            nBytes -= static_cast<size_t>(nMoved);
        }
        return BlockResult::Done;
    }

private:
    static bool KernelCopyUnsupported(int nError) {
        return nError == EXDEV || nError == ENOSYS || nError == EOPNOTSUPP || nError == EINVAL ||
               nError == EBADF;
    }

    ssize_t KernelCopy(int64_t* pOffset, size_t nBytes) {
        off64_t nIn = *pOffset;
        ssize_t nMoved;
        do {
            nMoved = ::copy_file_range(m_nSourceFd, &nIn, m_nOutputFd, nullptr, nBytes, 0);
        } while (nMoved < 0 && errno == EINTR);
        if (nMoved > 0) {
            m_bKernelCopied = true;
            *pOffset = nIn;
        }
        return nMoved;
    }

    ssize_t BufferCopy(int64_t* pOffset, size_t nBytes) {
        const size_t nWant = nBytes < m_nBufferBytes ? nBytes : m_nBufferBytes;
        ssize_t nRead;
        do {
            nRead = ::pread(m_nSourceFd, m_pBuffer, nWant, *pOffset);
        } while (nRead < 0 && errno == EINTR);
        if (nRead <= 0) return nRead;
        if (!WriteAll(m_nOutputFd, m_pBuffer, static_cast<size_t>(nRead))) return -1;
        *pOffset += nRead;
        return nRead;
    }

    int m_nSourceFd;
    int m_nOutputFd;
    char* m_pBuffer;
    size_t m_nBufferBytes;
    bool m_bKernelCopy = true;
    bool m_bKernelCopied = false;  // once it worked, a later error is a real one
};

// Reads exactly nBytes at nOffset; false on an error or a short file.
bool ReadExactly(int fd, char* pBuffer, size_t nBytes, int64_t nOffset) {
    while (nBytes > 0) {
        const ssize_t nRead = ::pread(fd, pBuffer, nBytes, nOffset);
        if (nRead < 0 && errno == EINTR) continue;
        if (nRead <= 0) return false;
        pBuffer += nRead;
        nBytes -= static_cast<size_t>(nRead);
        nOffset += nRead;
    }
    return true;
}

}  // namespace

CutMessage CopyByteRange(const ByteCopyRequest& request, int nOutputFd,
                         const std::atomic<bool>& cancel, const CutProgress& progress) {
    if (request.nSourceFd < 0 || nOutputFd < 0) return CutMessage::CreateFileFail;
    const size_t nBufferBytes = std::max<size_t>(request.nBlockBytes, request.nHeadLength);
    std::unique_ptr<char[]> pBuffer(new (std::nothrow) char[nBufferBytes]);
    if (!pBuffer) return CutMessage::AllocMemFail;

    if (!ReadExactly(request.nSourceFd, pBuffer.get(), request.nHeadLength, 0)) {
        return CutMessage::ReadFileFail;
    }
    if (HasRecorderMagic(reinterpret_cast<const uint8_t*>(pBuffer.get()), request.nHeadLength) &&
        !WriteAll(nOutputFd, pBuffer.get(), request.nHeadLength)) {
        return CutMessage::WriteFileFail;
    }

    CBlockMover mover(request.nSourceFd, nOutputFd, pBuffer.get(), nBufferBytes);
    const int64_t nBlock = static_cast<int64_t>(request.nBlockBytes);
    const int64_t nBlocks = request.nLength / nBlock;
    int64_t nOffset = request.nStart;
    int nLastPercent = 0;
    for (int64_t i = 0; i < nBlocks; ++i) {
        if (cancel.load(std::memory_order_relaxed)) return CutMessage::UserCancel;
        if (mover.Move(&nOffset, request.nBlockBytes) != BlockResult::Done) {
            return CutMessage::CutFail;
        }
        const int nPercent = static_cast<int>(100.0 * static_cast<double>(i + 1) / nBlocks);
        if (nPercent != nLastPercent && nPercent < 100) {
            nLastPercent = nPercent;
            progress(nPercent);
        }
    }
    if (cancel.load(std::memory_order_relaxed)) return CutMessage::UserCancel;
    const size_t nRest = static_cast<size_t>(request.nLength % nBlock);
    if (nRest > 0 && mover.Move(&nOffset, nRest) != BlockResult::Done) return CutMessage::CutFail;
    progress(100);
    return CutMessage::None;
}
