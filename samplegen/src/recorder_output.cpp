#include "recorder_output.h"

#include <cerrno>
#include <cstring>

#include "recorder_head.h"

extern "C" {
#include <libavcodec/packet.h>
#include <libavutil/mathematics.h>
}

namespace samplegen {

namespace {

// The first picture is shown half a second into the stream, which leaves
// room for the decode times of B-frame groups to lie before it.
constexpr int64_t kFirstPts = ProgramStreamMuxer::kClockHz / 2;

}  // namespace

RecorderOutput::RecorderOutput(const SampleParams& params, AVRational videoTimeBase,
                               AVRational audioTimeBase)
    : m_params(params),
      m_videoTimeBase(videoTimeBase),
      m_audioTimeBase(audioTimeBase),
      m_muxer(params.audio, [this](const uint8_t* data, size_t size) { return Write(data, size); }) {}

RecorderOutput::~RecorderOutput() {
    if (m_file) std::fclose(m_file);
}

bool RecorderOutput::Open(const std::string& path, std::string* error) {
    m_path = path;
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file) {
        *error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    const auto head = RecorderHead::Build(m_params);
    return Write(head.data(), head.size()) || WriteFailed(error);
}

bool RecorderOutput::Write(const uint8_t* data, size_t size) {
    if (std::fwrite(data, 1, size, m_file) == size) return true;
    m_errno = errno;
    return false;
}

bool RecorderOutput::WriteFailed(std::string* error) {
    *error = "cannot write " + m_path + ": " + std::strerror(m_errno ? m_errno : EIO);
    return false;
}

int64_t RecorderOutput::ToClock(int64_t ts, AVRational timeBase) const {
    return kFirstPts + av_rescale_q(ts, timeBase, AVRational{1, ProgramStreamMuxer::kClockHz});
}

bool RecorderOutput::WriteVideo(AVPacket* packet, std::string* error) {
    const int64_t pts = ToClock(packet->pts, m_videoTimeBase);
    const int64_t dts = ToClock(packet->dts, m_videoTimeBase);
    return m_muxer.WriteVideo(packet->data, packet->size, pts,
                              dts != pts ? std::optional<int64_t>(dts) : std::nullopt) ||
           WriteFailed(error);
}

bool RecorderOutput::WriteAudio(AVPacket* packet, std::string* error) {
    return m_muxer.WriteAudio(packet->data, packet->size, ToClock(packet->pts, m_audioTimeBase)) ||
           WriteFailed(error);
}

bool RecorderOutput::Finish(std::string* error) {
    if (!m_muxer.Finish()) return WriteFailed(error);
    std::FILE* file = m_file;
    m_file = nullptr;
    if (std::fclose(file) != 0) {
        m_errno = errno;
        return WriteFailed(error);
    }
    return true;
}

}  // namespace samplegen
