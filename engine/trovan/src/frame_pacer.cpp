#include "frame_pacer.h"

#include <cmath>

namespace trovan {

FramePacer::Placement FramePacer::Place(int64_t timeUs) {
    const double exact = static_cast<double>(timeUs) * m_rateNum / (1e6 * m_rateDen);
    // The first picture opens the output at place 0 whatever its time.
    if (m_next == 0) m_firstPlace = std::llround(exact);
    const int64_t place = std::llround(exact) - m_firstPlace;
    Placement placement;
    if (place < m_next) return placement;
    placement.repeatsOfPrevious = m_next == 0 ? 0 : place - m_next;
    placement.keep = true;
    m_next += placement.repeatsOfPrevious + 1;
    return placement;
}

}  // namespace trovan
