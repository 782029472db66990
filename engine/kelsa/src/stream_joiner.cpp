#include "stream_joiner.h"

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "kelsa.h"
#include "output_file/pending_output_file.h"
#include "packet_filter.h"
#include "raw_picture_order.h"
#include "running_clock.h"

namespace kelsa {

namespace {

// Fine enough for every frame rate in use (25, 30000/1001, 50, 60 ... divide it).
constexpr AVRational kVideoTimeBase{1, 90000};
constexpr int kFallbackFramesPerSecond = 25;

struct OutputCloser {
    void operator()(AVFormatContext* ctx) const {
        if (ctx == nullptr) return;
        if (ctx->pb != nullptr) avio_closep(&ctx->pb);
        avformat_free_context(ctx);
    }
};
using OutputPtr = std::unique_ptr<AVFormatContext, OutputCloser>;

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool OutputIsAnInput(const std::vector<ListedFile>& files, const std::string& outputPath) {
    struct stat output {};
    if (::stat(outputPath.c_str(), &output) != 0) return false;
    return std::any_of(files.begin(), files.end(), [&](const ListedFile& file) {
        struct stat input {};
        return ::stat(file.path.c_str(), &input) == 0 && SameFile(input, output);
    });
}

AVRational DeclaredFrameRate(const AVStream* stream) {
    if (stream->avg_frame_rate.num > 0 && stream->avg_frame_rate.den > 0) {
        return stream->avg_frame_rate;
    }
    if (stream->r_frame_rate.num > 0 && stream->r_frame_rate.den > 0) return stream->r_frame_rate;
    return {kFallbackFramesPerSecond, 1};
}

// How one input's video packets get their times: in the stream's own units, or,
// for a raw stream, counted in pictures of a fixed length.
struct VideoTiming {
    bool bCounted = false;
    AVRational timeBase{1, 1};   // units of the times handed to the clock
    int64_t nOrigin = 0;         // time of the first picture, in timeBase
    int64_t nFrameDuration = 1;  // in timeBase, for packets without a duration
    int64_t nNextPicture = 0;    // counted timing: the next packet's arrival number
    RawPictureOrder order;
};

class Joiner {
public:
    Joiner(const std::vector<ListedFile>& files, const std::atomic<bool>& stop)
        : m_files(files), m_stop(stop) {
        m_bKeepSound = std::all_of(files.begin(), files.end(), [&](const ListedFile& file) {
            return file.facts.SameSoundAs(files.front().facts);
        });
    }

    int Run(const std::string& outputPath) {
        if (OutputIsAnInput(m_files, outputPath)) return KELSA_ERR_OUTPUT_IS_INPUT;
        outputfile::PendingOutputFile pending(outputPath);
        if (!pending.Ok()) return KELSA_ERR_OUTPUT;
        m_pPacket.reset(av_packet_alloc());
        if (m_pPacket == nullptr) return KELSA_ERR_NO_MEMORY;

        for (size_t i = 0; i < m_files.size(); ++i) {
            const int nResult = JoinOne(m_files[i], pending.TempPath());
            if (nResult != KELSA_OK) return nResult;  // `pending` removes the partial output
        }
        if (av_write_trailer(m_pOutput.get()) < 0) return KELSA_ERR_OUTPUT;
        if (avio_closep(&m_pOutput->pb) < 0) return KELSA_ERR_OUTPUT;
        return pending.Commit() ? KELSA_OK : KELSA_ERR_OUTPUT;
    }

private:
    bool Stopped() const { return m_stop.load(std::memory_order_relaxed); }

    int JoinOne(const ListedFile& file, const std::string& tempPath) {
        MergeInput input;
        if (OpenMergeInput(file.path, &input) != KELSA_OK) return KELSA_ERR_READ;
        // The file may have been replaced since it was listed.
        if (!input.facts.SameVideoAs(m_files.front().facts)) return KELSA_ERR_READ;
        AVStream* video = input.Video();
        AVStream* audio = m_bKeepSound ? input.Audio() : nullptr;
        if (m_bKeepSound && audio == nullptr) return KELSA_ERR_READ;

        VideoTiming timing;
        if (const int nTimed = TimeVideo(file, input, &timing); nTimed != KELSA_OK) return nTimed;
        PacketFilter videoFilter;
        PacketFilter audioFilter;
        if (!videoFilter.Open(video->codecpar, timing.timeBase)) return KELSA_ERR_READ;
        if (audio != nullptr && !audioFilter.Open(audio->codecpar, audio->time_base)) {
            return KELSA_ERR_READ;
        }
        if (m_pOutput == nullptr) {
            const int nOpened = OpenOutput(tempPath, videoFilter.Output(),
                                           audio != nullptr ? audioFilter.Output() : nullptr);
            if (nOpened != KELSA_OK) return nOpened;
        }
        // Sound is placed relative to the same first picture as the video.
        const int64_t nAudioOrigin =
            audio != nullptr ? av_rescale_q(timing.nOrigin, timing.timeBase, audio->time_base) : 0;
        m_clock->BeginFile();

        const auto putVideo = [&](AVPacket* packet) { return WriteVideo(packet, timing); };
        const auto putAudio = [&](AVPacket* packet) {
            return WriteAudio(packet, audio->time_base, nAudioOrigin);
        };
        AVPacket* packet = m_pPacket.get();
        for (;;) {
            if (Stopped()) return KELSA_ERR_STOPPED;
            // A read error ends the file as its end would: a truncated recording
            // still gives what it holds.
            if (av_read_frame(input.format.get(), packet) < 0) break;
            bool bWritten = true;
            if (packet->stream_index == input.videoStream) {
                if (timing.bCounted) CountPicture(packet, &timing);
                bWritten = videoFilter.Filter(packet, putVideo);
            } else if (audio != nullptr && packet->stream_index == input.audioStream) {
                bWritten = audioFilter.Filter(packet, putAudio);
            }
            av_packet_unref(packet);
            if (!bWritten) return m_nWriteError;
        }
        if (!videoFilter.Filter(nullptr, putVideo)) return m_nWriteError;
        if (audio != nullptr && !audioFilter.Filter(nullptr, putAudio)) return m_nWriteError;
        return KELSA_OK;
    }

    int TimeVideo(const ListedFile& file, const MergeInput& input, VideoTiming* timing) {
        const AVStream* video = input.Video();
        if (!input.facts.untimed) {
            timing->timeBase = video->time_base;
            timing->nOrigin = video->start_time != AV_NOPTS_VALUE ? video->start_time : 0;
            timing->nFrameDuration = std::max<int64_t>(
                1, av_rescale_q(1, av_inv_q(DeclaredFrameRate(video)), video->time_base));
            return KELSA_OK;
        }
        timing->bCounted = true;
        timing->nFrameDuration = 1;
        if (file.durationMs <= 0) {
            timing->timeBase = av_inv_q(DeclaredFrameRate(video));
            return KELSA_OK;
        }
        if (const int nScanned = ScanRawPictures(file.path, m_stop, &timing->order);
            nScanned != KELSA_OK) {
            return nScanned;
        }
        if (timing->order.nPictures <= 0) return KELSA_ERR_READ;
        // One picture lasts durationMs / nPictures milliseconds.
        av_reduce(&timing->timeBase.num, &timing->timeBase.den, file.durationMs,
                  timing->order.nPictures * 1000, INT32_MAX);
        return KELSA_OK;
    }

    static void CountPicture(AVPacket* packet, VideoTiming* timing) {
        const int64_t nArrival = timing->nNextPicture++;
        packet->dts = timing->order.DecodeTime(nArrival);
        packet->pts = timing->order.ShowTime(nArrival);
        packet->duration = 1;
    }

    int OpenOutput(const std::string& tempPath, const AVCodecParameters* video,
                   const AVCodecParameters* audio) {
        AVFormatContext* raw = nullptr;
        if (avformat_alloc_output_context2(&raw, nullptr, "mp4", tempPath.c_str()) < 0) {
            return KELSA_ERR_OUTPUT;
        }
        m_pOutput.reset(raw);
        m_pVideoOut = avformat_new_stream(raw, nullptr);
        if (m_pVideoOut == nullptr || avcodec_parameters_copy(m_pVideoOut->codecpar, video) < 0) {
            return KELSA_ERR_NO_MEMORY;
        }
        m_pVideoOut->codecpar->codec_tag = 0;
        m_pVideoOut->time_base = kVideoTimeBase;
        if (audio != nullptr) {
            m_pAudioOut = avformat_new_stream(raw, nullptr);
            if (m_pAudioOut == nullptr ||
                avcodec_parameters_copy(m_pAudioOut->codecpar, audio) < 0) {
                return KELSA_ERR_NO_MEMORY;
            }
            m_pAudioOut->codecpar->codec_tag = 0;
            m_pAudioOut->time_base = {1, std::max(audio->sample_rate, 1)};
        }
        if (avio_open(&raw->pb, tempPath.c_str(), AVIO_FLAG_WRITE) < 0) return KELSA_ERR_OUTPUT;
        if (avformat_write_header(raw, nullptr) < 0) return KELSA_ERR_OUTPUT;
        // The muxer may have chosen other units; the clock works in the final ones.
        const AVRational audioUnits =
            m_pAudioOut != nullptr ? m_pAudioOut->time_base : AVRational{1, 1};
        // audio units per video unit = video_tb / audio_tb
        const AVRational ratio = av_div_q(m_pVideoOut->time_base, audioUnits);
        m_clock.emplace(ratio.num, ratio.den);
        return KELSA_OK;
    }

    bool WriteVideo(AVPacket* packet, const VideoTiming& timing) {
        const int64_t nPts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        const int64_t nDts = packet->dts != AV_NOPTS_VALUE ? packet->dts : nPts;
        if (nDts == AV_NOPTS_VALUE) return true;  // no time at all: nothing to place it by
        const AVRational from = timing.timeBase;
        const AVRational to = m_pVideoOut->time_base;
        const int64_t nDuration = packet->duration > 0 ? packet->duration : timing.nFrameDuration;
        int64_t nOutDts = 0;
        int64_t nOutPts = 0;
        if (!m_clock->PlaceVideo(
                Rescale(nDts - timing.nOrigin, from, to), Rescale(nPts - timing.nOrigin, from, to),
                std::max<int64_t>(1, Rescale(nDuration, from, to)), &nOutDts, &nOutPts)) {
            return true;  // out of order in a damaged file: dropped
        }
        packet->dts = nOutDts;
        packet->pts = nOutPts;
        packet->duration = Rescale(nDuration, from, to);
        packet->pos = -1;
        packet->stream_index = m_pVideoOut->index;
        return Write(packet);
    }

    bool WriteAudio(AVPacket* packet, AVRational from, int64_t nOrigin) {
        const int64_t nPts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        const int64_t nDts = packet->dts != AV_NOPTS_VALUE ? packet->dts : nPts;
        if (nDts == AV_NOPTS_VALUE) return true;
        const AVRational to = m_pAudioOut->time_base;
        int64_t nOutDts = 0;
        int64_t nOutPts = 0;
        if (!m_clock->PlaceAudio(Rescale(nDts - nOrigin, from, to),
                                 Rescale(nPts - nOrigin, from, to), &nOutDts, &nOutPts)) {
            return true;  // overlaps the previous file's sound
        }
        packet->dts = nOutDts;
        packet->pts = nOutPts;
        packet->duration = Rescale(packet->duration, from, to);
        packet->pos = -1;
        packet->stream_index = m_pAudioOut->index;
        return Write(packet);
    }

    bool Write(AVPacket* packet) {
        // The muxer takes the packet's data; the caller's reference becomes blank.
        if (av_interleaved_write_frame(m_pOutput.get(), packet) < 0) {
            m_nWriteError = KELSA_ERR_OUTPUT;
            return false;
        }
        return true;
    }

    static int64_t Rescale(int64_t value, AVRational from, AVRational to) {
        return av_rescale_q_rnd(value, from, to,
                                static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
    }

    const std::vector<ListedFile>& m_files;
    const std::atomic<bool>& m_stop;
    bool m_bKeepSound = false;
    OutputPtr m_pOutput;
    AVStream* m_pVideoOut = nullptr;
    AVStream* m_pAudioOut = nullptr;
    std::optional<RunningClock> m_clock;
    ffhandles::PacketPtr m_pPacket;
    // Why a filter sink refused; a filter failing on its own is a read problem.
    int m_nWriteError = KELSA_ERR_READ;
};

}  // namespace

int JoinFiles(const std::vector<ListedFile>& files, const std::string& outputPath,
              const std::atomic<bool>& stop) {
    Joiner joiner(files, stop);
    return joiner.Run(outputPath);
}

}  // namespace kelsa
