#include "recorder_file.h"

#include <cerrno>
#include <cstring>

#include "ffmpeg_ptr.h"

namespace samplegen {

namespace {

constexpr int kIoBufferBytes = 64 * 1024;

}  // namespace

RecorderFile::~RecorderFile() { Release(); }

bool RecorderFile::Open(const std::string& path,
                        const std::array<uint8_t, RecorderHead::kBytes>& head,
                        std::vector<StreamMapInserter::Entry> streams, std::string* error) {
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file) {
        *error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    if (std::fwrite(head.data(), 1, head.size(), m_file) != head.size()) {
        *error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    m_inserter = std::make_unique<StreamMapInserter>(
        std::move(streams), [this](const uint8_t* data, size_t size) {
            if (std::fwrite(data, 1, size, m_file) == size) return true;
            m_writeErrno = errno;
            return false;
        });
    auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferBytes));
    if (buffer) {
        m_io = avio_alloc_context(buffer, kIoBufferBytes, 1, this, nullptr, &WritePacket, nullptr);
    }
    if (!m_io) {
        av_free(buffer);
        *error = "out of memory";
        return false;
    }
    return true;
}

int RecorderFile::WritePacket(void* opaque, uint8_t* data, int size) {
    auto* self = static_cast<RecorderFile*>(opaque);
    if (!self->m_inserter->Write(data, static_cast<size_t>(size))) {
        self->m_writeFailed = true;
        return AVERROR(EIO);
    }
    return size;
}

bool RecorderFile::Close(std::string* error) {
    avio_flush(m_io);
    bool ok = !m_writeFailed && m_io->error == 0;
    if (ok && !m_inserter->Done()) {
        *error = "the program stream is too short to hold a pack";
        ok = false;
    } else if (!ok) {
        *error = m_writeErrno != 0 ? std::string("writing the recorder file failed: ") +
                                         std::strerror(m_writeErrno)
                                   : m_inserter->Error();
    }
    std::FILE* file = m_file;
    m_file = nullptr;
    if (std::fclose(file) != 0 && ok) {
        *error = std::string("writing the recorder file failed: ") + std::strerror(errno);
        ok = false;
    }
    Release();
    return ok;
}

void RecorderFile::Release() {
    if (m_io) {
        av_freep(&m_io->buffer);
        avio_context_free(&m_io);
    }
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

}  // namespace samplegen
