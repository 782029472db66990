#include "raw_picture_order.h"

#include "kelsa.h"
#include "merge_input.h"

namespace kelsa {

namespace {

// Decodes with each packet's arrival number as its time: the decoder hands the
// pictures back in showing order, each still carrying that number.
class ShowingOrderDecoder {
public:
    bool Open(const AVCodecParameters* par) {
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        if (codec == nullptr || m_pFrame == nullptr) return false;
        m_pContext.reset(avcodec_alloc_context3(codec));
        if (m_pContext == nullptr || avcodec_parameters_to_context(m_pContext.get(), par) < 0) {
            return false;
        }
        m_pContext->thread_count = 0;
        return avcodec_open2(m_pContext.get(), codec, nullptr) >= 0;
    }

    // `packet` null flushes the decoder.
    void Feed(const AVPacket* packet, std::vector<int64_t>* positions) {
        if (avcodec_send_packet(m_pContext.get(), packet) < 0) return;  // a damaged picture
        while (avcodec_receive_frame(m_pContext.get(), m_pFrame.get()) >= 0) {
            const int64_t nArrival = m_pFrame->pts;
            if (nArrival >= 0 && nArrival < static_cast<int64_t>(positions->size())) {
                (*positions)[nArrival] = m_nShown;
            }
            ++m_nShown;
            av_frame_unref(m_pFrame.get());
        }
    }

private:
    ffhandles::CodecPtr m_pContext;
    ffhandles::FramePtr m_pFrame{av_frame_alloc()};
    int64_t m_nShown = 0;
};

}  // namespace

int ScanRawPictures(const std::string& path, const std::atomic<bool>& stop,
                    RawPictureOrder* order) {
    MergeInput input;
    if (OpenMergeInput(path, &input) != KELSA_OK) return KELSA_ERR_READ;
    const AVCodecParameters* par = input.Video()->codecpar;
    order->nDelay = par->video_delay;
    ShowingOrderDecoder decoder;
    const bool bReorders = order->nDelay > 0;
    if (bReorders && !decoder.Open(par)) return KELSA_ERR_READ;

    ffhandles::PacketPtr packet(av_packet_alloc());
    if (packet == nullptr) return KELSA_ERR_NO_MEMORY;
    while (av_read_frame(input.format.get(), packet.get()) >= 0) {
        if (stop.load(std::memory_order_relaxed)) return KELSA_ERR_STOPPED;
        if (packet->stream_index == input.videoStream) {
            if (bReorders) {
                packet->pts = order->nPictures;
                order->showingPosition.push_back(-1);
                decoder.Feed(packet.get(), &order->showingPosition);
            }
            ++order->nPictures;
        }
        av_packet_unref(packet.get());
    }
    if (bReorders) decoder.Feed(nullptr, &order->showingPosition);
    return KELSA_OK;
}

}  // namespace kelsa
