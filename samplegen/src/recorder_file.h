#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "recorder_head.h"
#include "stream_map_inserter.h"

struct AVIOContext;

namespace samplegen {

// The byte sink of a recorder file: writes the 40-byte head, then hands the
// muxer an AVIOContext whose output passes through the stream-map inserter,
// so the program stream starts directly at byte 40.
class RecorderFile {
public:
    RecorderFile() = default;
    RecorderFile(const RecorderFile&) = delete;
    RecorderFile& operator=(const RecorderFile&) = delete;
    ~RecorderFile();

    bool Open(const std::string& path, const std::array<uint8_t, RecorderHead::kBytes>& head,
              std::vector<StreamMapInserter::Entry> streams, std::string* error);

    AVIOContext* Io() const { return m_io; }

    // Flushes and closes; false when any write failed.
    bool Close(std::string* error);

private:
    static int WritePacket(void* opaque, uint8_t* data, int size);
    void Release();

    std::FILE* m_file = nullptr;
    AVIOContext* m_io = nullptr;
    std::unique_ptr<StreamMapInserter> m_inserter;
    bool m_writeFailed = false;
    int m_writeErrno = 0;
};

}  // namespace samplegen
