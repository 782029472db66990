// Enhancement on a port: the settings the player sends, and the picture the
// port shows made from the decoded one under them.

#include "enhancer_library.h"
#include "port.h"

namespace vidmux {

int Port::SetVieModules(int32_t modules, bool enable) {
    if (!LoadEnhancerLibrary()) return VIDMUX_ERR_NO_ENHANCER;
    {
        std::lock_guard lock(m_mutex);
        m_enhance.SwitchModules(modules, enable);
    }
    RedrawIfHeld();
    return VIDMUX_NOERROR;
}

int Port::SetVieRegion(int32_t region, const VemorRect* rect) {
    if (!LoadEnhancerLibrary()) return VIDMUX_ERR_NO_ENHANCER;
    if (region != 0) return VIDMUX_ERR_NOT_SUPPORTED;
    if (rect && !ValidEnhanceRegion(*rect)) return VIDMUX_ERR_OUT_OF_RANGE;
    {
        std::lock_guard lock(m_mutex);
        m_enhance.region = rect ? std::optional<VemorRect>(*rect) : std::nullopt;
        ++m_enhance.generation;
    }
    RedrawIfHeld();
    return VIDMUX_NOERROR;
}

int Port::SetVieParams(const void* params) {
    if (!params) return VIDMUX_ERR_NULL_POINTER;
    if (!LoadEnhancerLibrary()) return VIDMUX_ERR_NO_ENHANCER;
    {
        std::lock_guard lock(m_mutex);
        m_enhance.TakeBlock(params);
    }
    RedrawIfHeld();
    return VIDMUX_NOERROR;
}

const AVFrame* Port::ShownFrame() {
    if (!m_current) return nullptr;
    EnhanceSettings settings;
    {
        std::lock_guard lock(m_mutex);
        settings = m_enhance;
    }
    if (m_shownFrom != m_current->frame || m_shownGeneration != settings.generation || !m_shown) {
        m_shown = m_enhancement.Apply(m_current->frame, settings);
        m_shownFrom = m_current->frame;
        m_shownGeneration = settings.generation;
    }
    return m_shown.get();
}

}  // namespace vidmux
