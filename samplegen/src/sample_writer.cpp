#include "sample_writer.h"

#include "start_time.h"

namespace samplegen {

namespace {

constexpr uint8_t kStreamTypeH264 = 0x1B;
constexpr uint8_t kStreamTypeMpegAudio = 0x04;
// Stream ids libavformat's program-stream muxer gives the first H.264 and
// the first MPEG audio stream.
constexpr uint8_t kPsH264StreamId = 0xE2;
constexpr uint8_t kPsAudioStreamId = 0xC0;

const char* MuxerName(Container container) {
    switch (container) {
        case Container::Recorder:
            return "vob";  // MPEG-2 program stream
        case Container::RawH264:
            return "h264";
        case Container::Mp4:
            return "mp4";
        case Container::MpegTs:
            return "mpegts";
    }
    return nullptr;
}

}  // namespace

SampleWriter::SampleWriter(const SampleSpec& spec)
    : m_spec(spec),
      m_hasAudio(spec.audio && spec.container != Container::RawH264),
      m_painter(spec.width, spec.height) {
    if (spec.watermark) m_watermark.emplace(*spec.watermark);
}

SampleWriter::~SampleWriter() {
    if (m_format && m_spec.container != Container::Recorder) avio_closep(&m_format->pb);
    if (m_format) m_format->pb = nullptr;  // a recorder's context belongs to m_recorder
    avformat_free_context(m_format);
}

bool SampleWriter::Write(const std::string& path, std::string* error) {
    return OpenContainer(path, error) && WriteHeader(error) && WritePictures(error) &&
           Finish(error);
}

bool SampleWriter::OpenContainer(const std::string& path, std::string* error) {
    const int allocated = avformat_alloc_output_context2(&m_format, nullptr,
                                                         MuxerName(m_spec.container), path.c_str());
    if (allocated < 0 || !m_format) {
        *error = AvErrorText("cannot set up the container", allocated);
        return false;
    }
    const bool globalHeader = m_format->oformat->flags & AVFMT_GLOBALHEADER;
    if (!m_video.Open(m_spec, globalHeader, error) ||
        !AddStream(m_video.Context(), &m_videoStream, error)) {
        return false;
    }
    m_videoStream->avg_frame_rate = m_video.Context()->framerate;
    m_videoStream->r_frame_rate = m_video.Context()->framerate;
    if (!DeclareVideoBuffer(error)) return false;
    if (m_hasAudio) {
        const char* encoder = m_spec.container == Container::Mp4 ? "aac" : "mp2";
        if (!m_audio.Open(encoder, globalHeader, error) ||
            !AddStream(m_audio.Context(), &m_audioStream, error)) {
            return false;
        }
    }

    if (m_spec.container == Container::Recorder) {
        std::vector<StreamMapInserter::Entry> streams = {{kStreamTypeH264, kPsH264StreamId}};
        if (m_hasAudio) streams.push_back({kStreamTypeMpegAudio, kPsAudioStreamId});
        if (!m_recorder.Open(path, RecorderHead::Build(m_spec), std::move(streams), error)) {
            return false;
        }
        m_format->pb = m_recorder.Io();
        m_format->flags |= AVFMT_FLAG_CUSTOM_IO;
        return true;
    }
    const int opened = avio_open(&m_format->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (opened < 0) {
        *error = AvErrorText(("cannot create " + path).c_str(), opened);
        return false;
    }
    return true;
}

bool SampleWriter::AddStream(const AVCodecContext* codec, AVStream** stream, std::string* error) {
    *stream = avformat_new_stream(m_format, nullptr);
    if (!*stream || avcodec_parameters_from_context((*stream)->codecpar, codec) < 0) {
        *error = "out of memory";
        return false;
    }
    (*stream)->time_base = codec->time_base;
    return true;
}

bool SampleWriter::DeclareVideoBuffer(std::string* error) {
    // The program-stream muxer sizes its decoder buffer model from this and
    // otherwise assumes a DVD-sized buffer that large key frames overflow.
    constexpr int64_t kVideoBufferBits = 8 * 1024 * 1024;
    size_t size = 0;
    AVCPBProperties* props = av_cpb_properties_alloc(&size);
    if (!props) {
        *error = "out of memory";
        return false;
    }
    props->buffer_size = kVideoBufferBits;
    if (av_stream_add_side_data(m_videoStream, AV_PKT_DATA_CPB_PROPERTIES,
                                reinterpret_cast<uint8_t*>(props), size) < 0) {
        av_free(props);
        *error = "out of memory";
        return false;
    }
    return true;
}

bool SampleWriter::WriteHeader(std::string* error) {
    AVDictionary* options = nullptr;
    if (m_spec.container == Container::Mp4) {
        // Index in front, so players can start without reading to the end.
        av_dict_set(&options, "movflags", "+faststart", 0);
        if (m_spec.start) {
            av_dict_set(&m_format->metadata, "creation_time",
                        CreationTimeText(*m_spec.start).c_str(), 0);
        }
    }
    const int written = avformat_write_header(m_format, &options);
    av_dict_free(&options);
    if (written < 0) {
        *error = AvErrorText("cannot start the container", written);
        return false;
    }
    return true;
}

bool SampleWriter::WritePictures(std::string* error) {
    FramePtr frame(av_frame_alloc());
    if (!frame) {
        *error = "out of memory";
        return false;
    }
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = m_spec.width;
    frame->height = m_spec.height;
    if (av_frame_get_buffer(frame.get(), 0) < 0) {
        *error = "out of memory";
        return false;
    }
    const auto videoSink = [this](AVPacket* p, std::string* e) { return WriteVideoPacket(p, e); };
    const auto audioSink = [this](AVPacket* p, std::string* e) {
        return WritePacket(p, m_audioStream, m_audio.Context()->time_base, e);
    };
    for (int i = 0; i < m_spec.frameCount; ++i) {
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
           (m_audio.EncodeUntil(AudioSamplesBefore(m_spec.frameCount), true, audioSink, error) &&
            m_audio.Flush(audioSink, error));
}

bool SampleWriter::Finish(std::string* error) {
    const int finished = av_write_trailer(m_format);
    if (finished < 0) {
        *error = AvErrorText("cannot finish the container", finished);
        return false;
    }
    if (m_spec.container == Container::Recorder) {
        m_format->pb = nullptr;
        return m_recorder.Close(error);
    }
    const int closed = avio_closep(&m_format->pb);
    if (closed < 0) {
        *error = AvErrorText("writing the file failed", closed);
        return false;
    }
    return true;
}

bool SampleWriter::WriteVideoPacket(AVPacket* packet, std::string* error) {
    if (m_watermark && (packet->flags & AV_PKT_FLAG_KEY) && !m_watermark->InsertInto(packet)) {
        *error = "cannot place the watermark in a key frame";
        return false;
    }
    return WritePacket(packet, m_videoStream, m_video.Context()->time_base, error);
}

bool SampleWriter::WritePacket(AVPacket* packet, AVStream* stream, AVRational codecTimeBase,
                               std::string* error) {
    packet->stream_index = stream->index;
    av_packet_rescale_ts(packet, codecTimeBase, stream->time_base);
    const int written = av_interleaved_write_frame(m_format, packet);
    if (written < 0) {
        *error = AvErrorText("writing a packet failed", written);
        return false;
    }
    return true;
}

int64_t SampleWriter::AudioSamplesBefore(int frame) const {
    return int64_t{frame} * m_spec.fpsDen * ToneEncoder::kSampleRate / m_spec.fpsNum;
}

}  // namespace samplegen
