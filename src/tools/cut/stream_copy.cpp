#include "tools/cut/stream_copy.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <memory>
#include <vector>

#include "common/debug_log.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mathematics.h>
}

namespace {

// Where the scan for the start key frame begins: this far before it, so that
// packets of other streams stored ahead of it are seen too.
constexpr int64_t kSeekMarginMs = 1000;
// Packets of other streams kept while looking for the start key frame.
constexpr size_t kMaxHeldBytes = 64u << 20;
// After the end key frame, reading stops once a packet lies this far past it.
constexpr double kTailSeconds = 5.0;

struct InputCloser {
    void operator()(AVFormatContext* p) const { avformat_close_input(&p); }
};
struct OutputCloser {
    void operator()(AVFormatContext* p) const {
        if (p->pb != nullptr) avio_closep(&p->pb);
        avformat_free_context(p);
    }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using InputPtr = std::unique_ptr<AVFormatContext, InputCloser>;
using OutputPtr = std::unique_ptr<AVFormatContext, OutputCloser>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;

int64_t PacketTime(const AVPacket& packet) {
    return packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
}

class CStreamCutter {
public:
    CStreamCutter(const CutRange& range, const std::atomic<bool>& cancel,
                  const CutProgress& progress)
        : m_range(range), m_cancel(cancel), m_progress(progress) {}

    CutMessage Run(const std::string& strSource, const std::string& strTarget,
                   const std::string& strTempPath) {
        if (CutMessage e = OpenInput(strSource); e != CutMessage::None) return e;
        if (CutMessage e = OpenOutput(strSource, strTarget, strTempPath); e != CutMessage::None) {
            return e;
        }
        if (CutMessage e = FindStart(); e != CutMessage::None) return e;
        if (CutMessage e = CopyUntilEnd(); e != CutMessage::None) return e;
        if (av_write_trailer(m_output.get()) < 0 || avio_closep(&m_output->pb) < 0) {
            return CutMessage::CutFail;
        }
        m_progress(100);
        return CutMessage::None;
    }

private:
    CutMessage OpenInput(const std::string& strSource) {
        AVFormatContext* pInput = nullptr;
        if (avformat_open_input(&pInput, strSource.c_str(), nullptr, nullptr) < 0) {
            return CutMessage::ReadFileFail;
        }
        m_input.reset(pInput);
        if (avformat_find_stream_info(pInput, nullptr) < 0) return CutMessage::ReadFileFail;
        m_nVideo = av_find_best_stream(pInput, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        return m_nVideo < 0 ? CutMessage::CutFail : CutMessage::None;
    }

    CutMessage OpenOutput(const std::string& strSource, const std::string& strTarget,
                          const std::string& strTempPath) {
        AVFormatContext* pOutput = nullptr;
        avformat_alloc_output_context2(&pOutput, nullptr, nullptr, strTarget.c_str());
        if (pOutput == nullptr) {
            avformat_alloc_output_context2(&pOutput, nullptr, nullptr, strSource.c_str());
        }
        if (pOutput == nullptr) return CutMessage::CreateFileFail;
        m_output.reset(pOutput);
        m_map.assign(m_input->nb_streams, -1);
        for (unsigned i = 0; i < m_input->nb_streams; ++i) {
            const AVStream* pIn = m_input->streams[i];
            const AVMediaType eType = pIn->codecpar->codec_type;
            const bool bWanted = static_cast<int>(i) == m_nVideo || eType == AVMEDIA_TYPE_AUDIO ||
                                 eType == AVMEDIA_TYPE_SUBTITLE;
            if (!bWanted || avformat_query_codec(pOutput->oformat, pIn->codecpar->codec_id,
                                                 FF_COMPLIANCE_NORMAL) == 0) {
                continue;
            }
            AVStream* pOut = avformat_new_stream(pOutput, nullptr);
            if (pOut == nullptr || avcodec_parameters_copy(pOut->codecpar, pIn->codecpar) < 0) {
                return CutMessage::AllocMemFail;
            }
            pOut->codecpar->codec_tag = 0;
            pOut->time_base = pIn->time_base;
            av_dict_copy(&pOut->metadata, pIn->metadata, 0);
            m_map[i] = pOut->index;
        }
        if (m_map[static_cast<size_t>(m_nVideo)] < 0) return CutMessage::CutFail;
        m_vTail.assign(m_input->nb_streams, false);
        if (avio_open(&pOutput->pb, strTempPath.c_str(), AVIO_FLAG_WRITE) < 0) {
            return CutMessage::CreateFileFail;
        }
        if (avformat_write_header(pOutput, nullptr) < 0) return CutMessage::WriteFileFail;
        return CutMessage::None;
    }

    AVRational VideoTimeBase() const { return m_input->streams[m_nVideo]->time_base; }

    void SeekNearStart() {
        if (m_range.nStartMs <= kSeekMarginMs) return;
        const AVStream* pVideo = m_input->streams[m_nVideo];
        const int64_t nFirst = pVideo->start_time != AV_NOPTS_VALUE ? pVideo->start_time : 0;
        const int64_t nTarget =
            nFirst + av_rescale_q(m_range.nStartMs - kSeekMarginMs, {1, 1000}, pVideo->time_base);
        av_seek_frame(m_input.get(), m_nVideo, nTarget, AVSEEK_FLAG_BACKWARD);
    }

    // Reads up to the start key frame, holding back the other streams'
    // packets that may belong to the clip, and writes it.
    CutMessage FindStart() {
        SeekNearStart();
        PacketPtr pPacket(av_packet_alloc());
        if (!pPacket) return CutMessage::AllocMemFail;
        std::deque<PacketPtr> held;
        size_t nHeldBytes = 0;
        bool bRewound = false;
        while (true) {
            if (m_cancel.load(std::memory_order_relaxed)) return CutMessage::UserCancel;
            const int nRead = av_read_frame(m_input.get(), pPacket.get());
            if (nRead < 0) return CutMessage::CutFail;
            AVPacket& packet = *pPacket;
            if (packet.stream_index == m_nVideo) {
                if (packet.pos == m_range.nStart) break;
                if (packet.pos > m_range.nStart && !bRewound) {
                    // The seek went past the key frame; look again from the beginning.
                    DebugLog("StreamCopyRange() seek passed the start key frame, rewinding");
                    bRewound = true;
                    held.clear();
                    nHeldBytes = 0;
                    av_packet_unref(pPacket.get());
                    if (av_seek_frame(m_input.get(), m_nVideo, INT64_MIN, AVSEEK_FLAG_BACKWARD) <
                            0 &&
                        avformat_seek_file(m_input.get(), -1, INT64_MIN, 0, 0, 0) < 0) {
                        return CutMessage::CutFail;
                    }
                    continue;
                }
                av_packet_unref(pPacket.get());
                continue;
            }
            if (m_map[static_cast<size_t>(packet.stream_index)] < 0) {
                av_packet_unref(pPacket.get());
                continue;
            }
            nHeldBytes += static_cast<size_t>(packet.size);
            held.emplace_back(av_packet_alloc());
            if (!held.back()) return CutMessage::AllocMemFail;
            av_packet_move_ref(held.back().get(), pPacket.get());
            while (nHeldBytes > kMaxHeldBytes && !held.empty()) {
                nHeldBytes -= static_cast<size_t>(held.front()->size);
                held.pop_front();
            }
        }
        const AVPacket& key = *pPacket;
        const int64_t nKeyTime = PacketTime(key);
        m_nOffset =
            key.dts != AV_NOPTS_VALUE ? key.dts : (nKeyTime != AV_NOPTS_VALUE ? nKeyTime : 0);
        m_dStartSeconds = (nKeyTime != AV_NOPTS_VALUE ? nKeyTime : 0) * av_q2d(VideoTimeBase());
        m_dEndSeconds = m_range.bToFileEnd
                            ? std::numeric_limits<double>::infinity()
                            : m_dStartSeconds + (m_range.nEndMs - m_range.nStartMs) / 1000.0;
        if (!Write(pPacket.get())) return CutMessage::CutFail;
        for (PacketPtr& pHeld : held) {
            if (OtherStreamWants(*pHeld) && !Write(pHeld.get())) return CutMessage::CutFail;
        }
        return CutMessage::None;
    }

    // Whether a packet of a stream other than the cut video lies in the clip's time.
    bool OtherStreamWants(const AVPacket& packet) {
        const int64_t nTime = PacketTime(packet);
        if (nTime == AV_NOPTS_VALUE) return true;
        const double dSeconds = nTime * av_q2d(m_input->streams[packet.stream_index]->time_base);
        if (dSeconds >= m_dEndSeconds) m_vTail[static_cast<size_t>(packet.stream_index)] = true;
        return dSeconds >= m_dStartSeconds && dSeconds < m_dEndSeconds;
    }

    bool Finished(const AVPacket& packet) const {
        if (!m_bVideoDone) return false;
        const int64_t nTime = PacketTime(packet);
        if (nTime != AV_NOPTS_VALUE &&
            nTime * av_q2d(m_input->streams[packet.stream_index]->time_base) >
                m_dEndSeconds + kTailSeconds) {
            return true;
        }
        for (size_t i = 0; i < m_map.size(); ++i) {
            if (m_map[i] >= 0 && static_cast<int>(i) != m_nVideo && !m_vTail[i]) return false;
        }
        return true;
    }

    CutMessage CopyUntilEnd() {
        PacketPtr pPacket(av_packet_alloc());
        if (!pPacket) return CutMessage::AllocMemFail;
        int nLastPercent = 0;
        while (true) {
            if (m_cancel.load(std::memory_order_relaxed)) return CutMessage::UserCancel;
            const int nRead = av_read_frame(m_input.get(), pPacket.get());
            if (nRead == AVERROR_EOF) {
                // A source that ends before the end key frame has shrunk or is damaged.
                return m_bVideoDone || m_range.bToFileEnd ? CutMessage::None : CutMessage::CutFail;
            }
            if (nRead < 0) return CutMessage::CutFail;
            AVPacket& packet = *pPacket;
            bool bWrite = false;
            if (m_map[static_cast<size_t>(packet.stream_index)] < 0) {
                bWrite = false;
            } else if (packet.stream_index == m_nVideo) {
                if (!m_bVideoDone && !m_range.bToFileEnd && packet.pos >= m_range.nEnd) {
                    m_bVideoDone = true;
                    const int64_t nTime = PacketTime(packet);
                    if (packet.pos == m_range.nEnd && nTime != AV_NOPTS_VALUE) {
                        m_dEndSeconds = nTime * av_q2d(VideoTimeBase());
                    }
                }
                bWrite = !m_bVideoDone;
                ReportProgress(packet.pos, &nLastPercent);
            } else {
                bWrite = OtherStreamWants(packet);
            }
            const bool bFinished = Finished(packet);
            if (bWrite && !Write(pPacket.get())) return CutMessage::CutFail;
            av_packet_unref(pPacket.get());
            if (bFinished) return CutMessage::None;
        }
    }

    void ReportProgress(int64_t nPos, int* pLastPercent) {
        if (nPos < 0 || m_range.nEnd <= m_range.nStart) return;
        const int64_t nDone = nPos - m_range.nStart;
        const int nPercent =
            static_cast<int>(std::clamp<int64_t>(nDone * 100 / m_range.Length(), 0, 99));
        if (nPercent != *pLastPercent) {
            *pLastPercent = nPercent;
            m_progress(nPercent);
        }
    }

    bool Write(AVPacket* pPacket) {
        const AVStream* pIn = m_input->streams[pPacket->stream_index];
        const AVStream* pOut = m_output->streams[m_map[static_cast<size_t>(pPacket->stream_index)]];
        const int64_t nShift = av_rescale_q(m_nOffset, VideoTimeBase(), pIn->time_base);
        if (pPacket->pts != AV_NOPTS_VALUE) pPacket->pts -= nShift;
        if (pPacket->dts != AV_NOPTS_VALUE) pPacket->dts -= nShift;
        av_packet_rescale_ts(pPacket, pIn->time_base, pOut->time_base);
        pPacket->stream_index = pOut->index;
        pPacket->pos = -1;
        return av_interleaved_write_frame(m_output.get(), pPacket) >= 0;
    }

    const CutRange m_range;
    const std::atomic<bool>& m_cancel;
    const CutProgress& m_progress;
    InputPtr m_input;
    OutputPtr m_output;
    int m_nVideo = -1;
    std::vector<int> m_map;     // input stream -> output stream, -1 when left out
    std::vector<bool> m_vTail;  // a packet past the clip's end was seen on the stream
    int64_t m_nOffset = 0;      // subtracted from every timestamp, in video time base
    double m_dStartSeconds = 0;
    double m_dEndSeconds = 0;
    bool m_bVideoDone = false;
};

}  // namespace

CutMessage StreamCopyRange(const std::string& strSource, const CutRange& range,
                           const std::string& strTarget, const std::string& strTempPath,
                           const std::atomic<bool>& cancel, const CutProgress& progress) {
    CStreamCutter cutter(range, cancel, progress);
    return cutter.Run(strSource, strTarget, strTempPath);
}
