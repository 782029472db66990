#pragma once

#include <cstddef>
#include <cstdint>

#include "tools/mediaprobe/byte_view.h"

// Random access to the bytes of a file or of a buffer, for walks that seek.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Copies up to `nCount` bytes from `nOffset` into `pOut`; returns how many
    // it copied (fewer at the end of the data or on a read error).
    virtual size_t ReadAt(uint64_t nOffset, uint8_t* pOut, size_t nCount) const = 0;
};

// The bytes of a buffer the caller keeps alive.
class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(ByteView bytes) : m_bytes(bytes) {}
    uint64_t Size() const override { return m_bytes.nSize; }
    size_t ReadAt(uint64_t nOffset, uint8_t* pOut, size_t nCount) const override;

private:
    ByteView m_bytes;
};
