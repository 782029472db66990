#include "lavf_output.h"

#include "ffmpeg_ptr.h"
#include "start_time.h"

namespace samplegen {

namespace {

const char* MuxerName(Container container) {
    switch (container) {
        case Container::RawH264:
            return "h264";
        case Container::Mp4:
            return "mp4";
        case Container::MpegTs:
            return "mpegts";
        case Container::Matroska:
            return "matroska";
        case Container::Recorder:
            break;
    }
    return nullptr;
}

}  // namespace

LavfOutput::~LavfOutput() {
    if (m_format) avio_closep(&m_format->pb);
    avformat_free_context(m_format);
}

bool LavfOutput::Create(const std::string& path, std::string* error) {
    m_path = path;
    const int allocated = avformat_alloc_output_context2(
        &m_format, nullptr, MuxerName(m_params.container), path.c_str());
    if (allocated < 0 || !m_format) {
        *error = AvErrorText("cannot set up the container", allocated);
        return false;
    }
    return true;
}

bool LavfOutput::WantsGlobalHeader() const { return m_format->oformat->flags & AVFMT_GLOBALHEADER; }

bool LavfOutput::Open(const AVCodecContext* video, const AVCodecContext* audio,
                      std::string* error) {
    if (!AddStream(video, &m_videoStream, error)) return false;
    m_videoTimeBase = video->time_base;
    m_videoStream->avg_frame_rate = video->framerate;
    m_videoStream->r_frame_rate = video->framerate;
    if (audio) {
        if (!AddStream(audio, &m_audioStream, error)) return false;
        m_audioTimeBase = audio->time_base;
    }

    const int opened = avio_open(&m_format->pb, m_path.c_str(), AVIO_FLAG_WRITE);
    if (opened < 0) {
        *error = AvErrorText(("cannot create " + m_path).c_str(), opened);
        return false;
    }
    AVDictionary* options = nullptr;
    if (m_params.container == Container::Mp4) {
        // Index in front, so players can start without reading to the end.
        av_dict_set(&options, "movflags", "+faststart", 0);
    }
    const bool tagsTime =
        m_params.container == Container::Mp4 || m_params.container == Container::Matroska;
    if (tagsTime && m_params.start) {
        av_dict_set(&m_format->metadata, "creation_time", CreationTimeText(*m_params.start).c_str(),
                    0);
    }
    const int written = avformat_write_header(m_format, &options);
    av_dict_free(&options);
    if (written < 0) {
        *error = AvErrorText("cannot start the container", written);
        return false;
    }
    return true;
}

bool LavfOutput::AddStream(const AVCodecContext* codec, AVStream** stream, std::string* error) {
    *stream = avformat_new_stream(m_format, nullptr);
    if (!*stream || avcodec_parameters_from_context((*stream)->codecpar, codec) < 0) {
        *error = "out of memory";
        return false;
    }
    (*stream)->time_base = codec->time_base;
    return true;
}

bool LavfOutput::WriteVideo(AVPacket* packet, std::string* error) {
    return Write(packet, m_videoStream, m_videoTimeBase, error);
}

bool LavfOutput::WriteAudio(AVPacket* packet, std::string* error) {
    return Write(packet, m_audioStream, m_audioTimeBase, error);
}

bool LavfOutput::Write(AVPacket* packet, AVStream* stream, AVRational codecTimeBase,
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

bool LavfOutput::Finish(std::string* error) {
    const int finished = av_write_trailer(m_format);
    if (finished < 0) {
        *error = AvErrorText("cannot finish the container", finished);
        return false;
    }
    const int closed = avio_closep(&m_format->pb);
    if (closed < 0) {
        *error = AvErrorText("writing the file failed", closed);
        return false;
    }
    return true;
}

}  // namespace samplegen
