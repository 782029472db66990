#pragma once

#include <cstdint>
#include <optional>

#include "ffmpeg_ptr.h"
#include "lumora.h"
#include "vidmux.h"

struct SwsContext;

namespace vidmux {

struct EnhancerLibrary;

// What a port's player asked the enhancer for. Changed by any thread under
// the port's lock; each change counts up `generation`, so the port thread
// sees at a glance whether the picture it shows is still the right one.
struct EnhanceSettings {
    int32_t modules = 0;  // LUMORA_* bits in force
    LumoraParams params{};
    std::optional<VemorRect> region;  // picture pixels; none: the whole picture
    uint64_t generation = 0;

    // Switches `bits` on or off, leaving the other modules as they are.
    void SwitchModules(int32_t bits, bool on);
    // Takes the 72-byte block; its first field is the whole module set.
    void TakeBlock(const void* block);
};

// Refuses a region that is negative, inverted or empty.
bool ValidEnhanceRegion(const VemorRect& rect);

// The enhancer of one port, used by the port's thread alone: the library
// handle is created, fed and destroyed there, so a setting that changes
// while a picture is being enhanced only takes effect on the next one.
class PortEnhancement {
public:
    PortEnhancement() = default;
    ~PortEnhancement();
    PortEnhancement(const PortEnhancement&) = delete;
    PortEnhancement& operator=(const PortEnhancement&) = delete;

    // The picture to show for `decoded`: the decoded picture itself when no
    // module is on (or the library is missing or fails), otherwise an
    // enhanced copy. The decoded picture is shared with the picture cache
    // and the decoder and is never written.
    SharedFrame Apply(const SharedFrame& decoded, const EnhanceSettings& settings);

    // Forgets earlier pictures (temporal denoising) after a jump.
    void ResetHistory();
    // Gives the library handle back; the next Apply takes a new one.
    void Release();

private:
    bool Prepare(const EnhanceSettings& settings);
    AVFrame* WritableCopy(const AVFrame* decoded);

    const EnhancerLibrary* m_library = nullptr;
    int32_t m_handle = 0;
    uint64_t m_paramsGeneration = 0;
    bool m_paramsSent = false;
    SwsContext* m_convert = nullptr;
};

}  // namespace vidmux
