#include "conversion_job.h"

#include <algorithm>
#include <vector>

#include "avi_writer.h"
#include "frame_pacer.h"
#include "output_file/pending_output_file.h"
#include "picture_fit.h"
#include "sound_placement.h"
#include "umbrel_api.h"

namespace trovan {

namespace {

constexpr int kSoundReadFrames = 4096;
// Sound blocks that start within this of where the last one ended join it as they are.
constexpr int kSoundToleranceMs = 40;

// One open source file, closed when the conversion ends.
class OpenSource {
public:
    OpenSource(const UmbrelApi& api, const std::string& path) : m_api(api) {
        m_opened = api.open(path.c_str(), &m_handle) == UMBREL_OK;
    }
    ~OpenSource() {
        if (m_opened) m_api.close(m_handle);
    }
    bool opened() const { return m_opened; }
    int32_t handle() const { return m_handle; }

private:
    const UmbrelApi& m_api;
    int32_t m_handle = 0;
    bool m_opened = false;
};

// Raises the shared percentage, never lowering it and never reaching 100,
// which only the finished file may show.
void Report(JobProgress& progress, int64_t done, int64_t total) {
    if (total <= 0) return;
    const int percent = static_cast<int>(std::clamp<int64_t>(done * 100 / total, 0, 99));
    int shown = progress.percent.load();
    while (percent > shown && !progress.percent.compare_exchange_weak(shown, percent)) {
    }
}

class SoundMover {
public:
    SoundMover(const UmbrelApi& api, const OpenSource& source, AviWriter& writer)
        : m_api(api), m_source(source.handle()), m_writer(writer) {}

    bool Move() {
        if (!m_writer.HasSound()) return true;
        const int channels = m_writer.SoundChannels();
        const int rate = m_writer.SoundRate();
        m_samples.resize(static_cast<size_t>(kSoundReadFrames) * channels);
        for (;;) {
            int32_t frames = 0;
            int64_t timeUs = 0;
            if (m_api.readSound(m_source, m_samples.data(), kSoundReadFrames, &frames, &timeUs) !=
                UMBREL_OK) {
                return false;
            }
            if (frames == 0) return true;
            const SoundPlacement place =
                PlaceSound(timeUs, m_soundWritten, rate, int64_t{rate} * kSoundToleranceMs / 1000);
            if (place.silenceFrames > 0 && !m_writer.WriteSilence(place.silenceFrames))
                return false;
            m_soundWritten += place.silenceFrames;
            const int64_t kept = std::max<int64_t>(0, frames - place.skipFrames);
            if (kept > 0 &&
                !m_writer.WriteSound(m_samples.data() + (frames - kept) * channels, kept)) {
                return false;
            }
            m_soundWritten += kept;
        }
    }

private:
    const UmbrelApi& m_api;
    int32_t m_source;
    AviWriter& m_writer;
    std::vector<int16_t> m_samples;
    int64_t m_soundWritten = 0;
};

UmbrelPicture PictureInside(AVFrame* frame, const FitRect& rect) {
    UmbrelPicture picture{};
    picture.pixel = UMBREL_PIXEL_I420;
    picture.width = rect.width;
    picture.height = rect.height;
    for (int plane = 0; plane < 3; ++plane) {
        const int shift = plane == 0 ? 0 : 1;
        picture.planes[plane] =
            frame->data[plane] + (rect.y >> shift) * frame->linesize[plane] + (rect.x >> shift);
        picture.strides[plane] = frame->linesize[plane];
    }
    return picture;
}

}  // namespace

int RunConversion(const std::string& source, const std::string& target,
                  const ConversionSettings& settings, JobProgress& progress) {
    const UmbrelApi* api = LoadUmbrel();
    if (!api) return TROVAN_ERR_NO_DECODER;
    OpenSource input(*api, source);
    UmbrelInfo info{};
    if (!input.opened() || api->getInfo(input.handle(), &info) != UMBREL_OK) {
        return TROVAN_ERR_SOURCE;
    }
    outputfile::PendingOutputFile output(target);
    if (!output.Ok()) return TROVAN_ERR_TARGET;

    int result = TROVAN_ERR_CONVERT;
    {
        AviWriter writer;
        if (!writer.Open(output.TempPath(), settings, info.hasSound ? info.soundRate : 0)) {
            return TROVAN_ERR_CONVERT;
        }
        if (writer.HasSound() && api->collectSound(input.handle(), writer.SoundRate(),
                                                   writer.SoundChannels()) != UMBREL_OK) {
            return TROVAN_ERR_CONVERT;
        }
        const FitRect rect = FitPicture(info.width, info.height, info.aspectNum, info.aspectDen,
                                        settings.width, settings.height);
        // Two pictures take turns: the one just decoded and the one before it,
        // which fills places the new one does not reach.
        ffhandles::FramePtr incoming = writer.NewPicture();
        ffhandles::FramePtr previous = writer.NewPicture();
        if (!incoming || !previous) return TROVAN_ERR_CONVERT;
        FramePacer pacer(settings.frameRate, 1);
        SoundMover sound(*api, input, writer);
        int pictures = 0;
        for (;;) {
            if (progress.stop.load()) return TROVAN_ERR_CONVERT;
            // The encoder may still hold the buffer; writing into it must not change
            // a picture it has not encoded yet.
            if (av_frame_make_writable(incoming.get()) < 0) return TROVAN_ERR_CONVERT;
            const UmbrelPicture picture = PictureInside(incoming.get(), rect);
            int64_t timeUs = 0, bytePos = 0;
            const int decoded = api->decodePicture(input.handle(), &picture, &timeUs, &bytePos);
            if (decoded == UMBREL_END) break;
            if (decoded != UMBREL_OK) return TROVAN_ERR_CONVERT;
            ++pictures;
            const FramePacer::Placement place = pacer.Place(timeUs);
            if (place.keep) {
                const int64_t first = pacer.Next() - 1 - place.repeatsOfPrevious;
                for (int64_t i = 0; i < place.repeatsOfPrevious; ++i) {
                    if (!writer.WritePicture(previous.get(), first + i)) return TROVAN_ERR_CONVERT;
                }
                if (!writer.WritePicture(incoming.get(), pacer.Next() - 1))
                    return TROVAN_ERR_CONVERT;
                std::swap(incoming, previous);
            }
            if (!sound.Move()) return TROVAN_ERR_CONVERT;
            if (info.durationUs > 0) {
                Report(progress, timeUs, info.durationUs);
            } else {
                Report(progress, bytePos, info.fileBytes);
            }
        }
        if (pictures == 0 || !sound.Move() || progress.stop.load()) return TROVAN_ERR_CONVERT;
        if (writer.Finish()) result = TROVAN_OK;
    }
    if (result != TROVAN_OK || !output.Commit()) return TROVAN_ERR_CONVERT;
    progress.percent.store(100);
    return TROVAN_OK;
}

}  // namespace trovan
