#include "tools/mediaprobe/byte_source.h"

#include <algorithm>
#include <cstring>

size_t MemoryByteSource::ReadAt(uint64_t nOffset, uint8_t* pOut, size_t nCount) const {
    if (nOffset >= m_bytes.nSize) return 0;
    const size_t nCopy = static_cast<size_t>(std::min<uint64_t>(nCount, m_bytes.nSize - nOffset));
    std::memcpy(pOut, m_bytes.pData + nOffset, nCopy);
    return nCopy;
}
