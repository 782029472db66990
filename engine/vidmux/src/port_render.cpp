// The port thread's side of showing a picture: publishing it, handing it to
// the callbacks, and rendering it into the window.

#include <cstring>

#include "audio_output.h"
#include "picture_encoder.h"
#include "port.h"

namespace vidmux {

namespace {

const uint8_t kWatermarkUuid[16] = VIDMUX_WATERMARK_UUID;
constexpr size_t kUuidBytes = sizeof kWatermarkUuid;

// Copies a planar 4:2:0 picture into one contiguous I420 buffer.
bool PackI420(const AVFrame* frame, std::vector<uint8_t>* out) {
    if (frame->format != AV_PIX_FMT_YUV420P && frame->format != AV_PIX_FMT_YUVJ420P) return false;
    const int w = frame->width, h = frame->height;
    const int cw = (w + 1) / 2, ch = (h + 1) / 2;
    out->resize(static_cast<size_t>(w) * h + 2 * static_cast<size_t>(cw) * ch);
    uint8_t* dst = out->data();
    for (int plane = 0; plane < 3; ++plane) {
        const int pw = plane ? cw : w, ph = plane ? ch : h;
        for (int y = 0; y < ph; ++y) {
            std::memcpy(
                dst, frame->data[plane] + static_cast<ptrdiff_t>(y) * frame->linesize[plane], pw);
            dst += pw;
        }
    }
    return true;
}

}  // namespace

void Port::Present(const Picture& picture) {
    m_current = picture;
    m_hasCurrent = true;
    m_currentNumber = picture.number;
    m_currentTimeMs = picture.timeMs;
    m_currentRecordedMs = picture.recordedMs;
    m_width = picture.frame->width;
    m_height = picture.frame->height;
    DeliverDecoded(picture);
    Draw(ShownFrame());
    if (m_source && m_hasAudio && !m_reverse && m_level == 0) {
        AudioOutput& audio = AudioOutput::Instance();
        if (audio.Audible(m_id)) audio.SetClock(m_id, &m_clock);
    }
}

void Port::Draw(const AVFrame* frame) {
    if (!frame || !m_window || !m_window->get_size || !m_window->present) return;
    int32_t width = 0, height = 0;
    if (!m_window->get_size(m_window->user, &width, &height) || width <= 0 || height <= 0) return;
    RenderSettings settings;
    {
        std::lock_guard lock(m_mutex);
        settings = m_settings;
    }
    NoteWindowSize(frame, width, height, settings);
    if (!m_renderer.Render(frame, width, height, settings)) return;
    std::unique_lock<std::mutex> running;
    const PortCallbacks callbacks = TakeCallbacks(running);
    VemorDrawContext context{m_renderer.Pixels(), m_renderer.Width(), m_renderer.Height(),
                             m_renderer.Stride()};
    if (callbacks.draw) callbacks.draw(m_id, &context, callbacks.drawUser);
    if (callbacks.ivsDraw && callbacks.ivsEnabled) {
        callbacks.ivsDraw(m_id, &context, nullptr, 0, callbacks.ivsDrawUser);
    }
    running.unlock();
    m_window->present(m_window->user, m_renderer.Pixels(), m_renderer.Width(), m_renderer.Height(),
                      m_renderer.Stride());
}

void Port::Redraw() {
    if (m_current) Draw(ShownFrame());
}

void Port::DropCurrent() {
    m_current.reset();
    m_hasCurrent = false;
}

void Port::NoteWindowSize(const AVFrame* frame, int width, int height,
                          const RenderSettings& settings) {
    // The part of the picture the window shows: all of it, or the region.
    int shownWidth = frame->width, shownHeight = frame->height;
    if (settings.region) {
        shownWidth = settings.region->right - settings.region->left;
        shownHeight = settings.region->bottom - settings.region->top;
    }
    const bool small = width * 2 < shownWidth && height * 2 < shownHeight;
    // A window that grew shows the full picture at once, not after the next
    // key frame; the decode runs after this drawing.
    if (m_windowSmall && !small && m_current && m_current->reduced) {
        Post([this] {
            RestoreFullQuality();
            return static_cast<int>(VIDMUX_NOERROR);
        });
    }
    m_windowSmall = small;
}

void Port::RestoreFullQuality() {
    if (!m_current || !m_current->reduced || !m_source) return;
    m_source->SetLowCost(false);
    m_appliedLowCost = false;
    std::optional<Picture> full = DecodeExact(m_current->number);
    if (!full || full->number != m_current->number || full->reduced) return;
    m_pending.reset();
    m_current = std::move(*full);
    Redraw();
}

void Port::DeliverDecoded(const Picture& picture) {
    const AVFrame* frame = picture.frame.get();
    std::unique_lock<std::mutex> running;
    const PortCallbacks callbacks = TakeCallbacks(running);
    const bool sizeChanged = m_lastCodedWidth != 0 && (m_lastCodedWidth != frame->width ||
                                                       m_lastCodedHeight != frame->height);
    m_lastCodedWidth = frame->width;
    m_lastCodedHeight = frame->height;
    if (sizeChanged) {
        if (callbacks.encChange) callbacks.encChange(m_id, callbacks.encChangeUser);
        if (callbacks.encChangeWindow && callbacks.encChangeWindow->post_message) {
            callbacks.encChangeWindow->post_message(callbacks.encChangeWindow->user,
                                                    callbacks.encChangeMessage);
        }
    }
    if (callbacks.display) {
        VemorDisplayInfo info{};
        info.nPort = m_id;
        info.nType = VIDMUX_FRAME_VIDEO_YV12;
        info.nWidth = frame->width;
        info.nHeight = frame->height;
        info.nStamp = static_cast<int32_t>(picture.timeMs);
        info.nUser = callbacks.displayUser;
        callbacks.display(&info);
    }
    if (callbacks.decode) {
        VemorFrameInfo info{};
        info.nWidth = frame->width;
        info.nHeight = frame->height;
        info.nStamp = static_cast<int32_t>(picture.timeMs);
        info.nType = VIDMUX_FRAME_VIDEO_YV12;
        info.nFrameRate = static_cast<int32_t>(m_source ? m_source->Fps() + 0.5 : 0);
        info.dwFrameNum = static_cast<uint32_t>(picture.number);
        const bool packed = PackI420(frame, &m_decodeBuffer);
        callbacks.decode(m_id, packed ? m_decodeBuffer.data() : nullptr,
                         packed ? static_cast<int32_t>(m_decodeBuffer.size()) : 0, &info,
                         callbacks.decodeUser, 0);
    }
}

void Port::DeliverWatermark(const AVFrame* frame) {
    if (!frame) return;
    std::unique_lock<std::mutex> running;
    const PortCallbacks callbacks = TakeCallbacks(running);
    const VemorWatermarkCallBack callback = callbacks.watermark;
    void* user = callbacks.watermarkUser;
    if (!callback) return;
    for (int i = 0; i < frame->nb_side_data; ++i) {
        const AVFrameSideData* side = frame->side_data[i];
        if (side->type != AV_FRAME_DATA_SEI_UNREGISTERED) continue;
        if (side->size < kUuidBytes + VIDMUX_WATERMARK_BYTES) continue;
        if (std::memcmp(side->data, kWatermarkUuid, kUuidBytes) != 0) continue;
        const uint8_t* record = side->data + kUuidBytes;
        callback(m_id, &record, user);
    }
}

int Port::Snapshot(bool jpeg, uint8_t* buffer, uint32_t size, uint32_t* outSize) {
    if (!buffer || !outSize) return VIDMUX_ERR_NULL_POINTER;
    return Call([=, this] {
        if (!m_current) return static_cast<int>(VIDMUX_ERR_NO_PICTURE);
        // Never a picture decoded with the loop filter skipped.
        RestoreFullQuality();
        // A snapshot is what the user sees, enhancement included.
        const AVFrame* shown = ShownFrame();
        const std::vector<uint8_t> image = jpeg ? EncodeJpeg(shown) : EncodeBmp(shown);
        if (image.empty()) return static_cast<int>(VIDMUX_ERR_ENCODE);
        *outSize = static_cast<uint32_t>(image.size());
        if (image.size() > size) return static_cast<int>(VIDMUX_ERR_BUFFER_TOO_SMALL);
        std::memcpy(buffer, image.data(), image.size());
        return static_cast<int>(VIDMUX_NOERROR);
    });
}

int Port::Refresh() {
    // Windows ask for this while they paint: the redraw is queued, not
    // waited for.
    if (!m_hasCurrent) return FileOpen() ? VIDMUX_ERR_NO_PICTURE : VIDMUX_ERR_ORDER;
    if (OnPortThread()) {
        Redraw();
        return VIDMUX_NOERROR;
    }
    const bool bQueued = Post([this] {
        Redraw();
        return static_cast<int>(VIDMUX_NOERROR);
    });
    return bQueued ? VIDMUX_NOERROR : VIDMUX_ERR_ORDER;
}

}  // namespace vidmux
