#include "sample_writer.h"

#include "lavf_output.h"
#include "recorder_output.h"

namespace samplegen {

SampleWriter::SampleWriter(const SampleParams& params)
    : m_params(params),
      m_hasAudio(params.audio && params.container != Container::RawH264),
      m_painter(params.width, params.height) {
    m_params.audio = m_hasAudio;
    if (params.watermark) m_watermark.emplace(*params.watermark);
}

SampleWriter::~SampleWriter() = default;

bool SampleWriter::Write(const std::string& path, std::string* error) {
    if (!Open(path, error) || !WritePictures(error)) return false;
    return m_output->Finish(error);
}

bool SampleWriter::Open(const std::string& path, std::string* error) {
    if (m_params.container == Container::Recorder) {
        if (!OpenEncoders(false, error)) return false;
        auto output = std::make_unique<RecorderOutput>(
            m_params, m_video.Context()->time_base,
            m_hasAudio ? m_audio.Context()->time_base : AVRational{1, 1});
        if (!output->Open(path, error)) return false;
        m_output = std::move(output);
        return true;
    }
    auto output = std::make_unique<LavfOutput>(m_params);
    if (!output->Create(path, error) || !OpenEncoders(output->WantsGlobalHeader(), error) ||
        !output->Open(m_video.Context(), m_hasAudio ? m_audio.Context() : nullptr, error)) {
        return false;
    }
    m_output = std::move(output);
    return true;
}

bool SampleWriter::OpenEncoders(bool globalHeader, std::string* error) {
    if (!m_video.Open(m_params, globalHeader, error)) return false;
    const char* audioEncoder =
        m_params.container == Container::Mp4 || m_params.container == Container::Matroska ? "aac"
                                                                                          : "mp2";
    return !m_hasAudio || m_audio.Open(audioEncoder, globalHeader, error);
}

bool SampleWriter::WritePictures(std::string* error) {
    FramePtr frame(av_frame_alloc());
    if (!frame) {
        *error = "out of memory";
        return false;
    }
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = m_params.width;
    frame->height = m_params.height;
    if (av_frame_get_buffer(frame.get(), 0) < 0) {
        *error = "out of memory";
        return false;
    }
    const auto videoSink = [this](AVPacket* p, std::string* e) { return WriteVideoPacket(p, e); };
    const auto audioSink = [this](AVPacket* p, std::string* e) {
        return m_output->WriteAudio(p, e);
    };
    for (int i = 0; i < m_params.frameCount; ++i) {
        // The encoder may still hold the previous picture.
        if (av_frame_make_writable(frame.get()) < 0) {
            *error = "out of memory";
            return false;
        }
        m_painter.Paint(frame.get(), i);
        if (!m_video.Encode(frame.get(), i, videoSink, error)) return false;
        if (m_hasAudio &&
            !m_audio.EncodeUntil(AudioSamplesBefore(i + 1), false, audioSink, error)) {
            return false;
        }
    }
    if (!m_video.Flush(videoSink, error)) return false;
    return !m_hasAudio ||
           (m_audio.EncodeUntil(AudioSamplesBefore(m_params.frameCount), true, audioSink, error) &&
            m_audio.Flush(audioSink, error));
}

bool SampleWriter::WriteVideoPacket(AVPacket* packet, std::string* error) {
    if (m_watermark && (packet->flags & AV_PKT_FLAG_KEY) && !m_watermark->InsertInto(packet)) {
        *error = "cannot place the watermark in a key frame";
        return false;
    }
    return m_output->WriteVideo(packet, error);
}

int64_t SampleWriter::AudioSamplesBefore(int frame) const {
    return int64_t{frame} * m_params.fpsDen * ToneEncoder::kSampleRate / m_params.fpsNum;
}

}  // namespace samplegen
