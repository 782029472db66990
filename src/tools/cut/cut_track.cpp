#include "tools/cut/cut_track.h"

#include <algorithm>

namespace {
constexpr int kTrackY = 25;
constexpr int kTrackHeight = 5;
constexpr int kMarkerY = 30;
constexpr int kMarkerWidth = 10;
constexpr int kMarkerHeight = 15;

int TrackSpan(int nWidth) { return nWidth - 2 * CUT_TRACK_MARGIN; }
}  // namespace

QRect CutPanelRect(const QRect& rcWindow) {
    // From the window's left + 4 and bottom - 87 (bottom exclusive), 8 narrower.
    const int nBottom = rcWindow.top() + rcWindow.height();
    return QRect(rcWindow.left() + 4, nBottom - 87, rcWindow.width() - 8, CUT_PANEL_HEIGHT);
}

int TimeToTrackX(int32_t nSeconds, int nWidth, uint32_t nTotal) {
    if (nTotal == 0) return CUT_TRACK_MARGIN;
    return CUT_TRACK_MARGIN +
           static_cast<int>(int64_t{nSeconds} * TrackSpan(nWidth) / static_cast<int64_t>(nTotal));
}

int32_t TrackXToTime(int x, int nWidth, uint32_t nTotal) {
    const int nSpan = TrackSpan(nWidth);
    if (nTotal == 0 || nSpan <= 0) return 0;
    return static_cast<int32_t>(static_cast<int64_t>(nTotal) * (x - CUT_TRACK_MARGIN) / nSpan);
}

CutTrackRects TrackRects(int xs, int xe, int nWidth) {
    CutTrackRects rects;
    rects.rcBefore = QRect(CUT_TRACK_MARGIN, kTrackY, xs - CUT_TRACK_MARGIN, kTrackHeight);
    rects.rcRange = QRect(xs, kTrackY, xe - xs, kTrackHeight);
    rects.rcAfter = QRect(xe, kTrackY, nWidth - CUT_TRACK_MARGIN - xe, kTrackHeight);
    rects.rcStartMarker = QRect(xs - kMarkerWidth, kMarkerY, kMarkerWidth, kMarkerHeight);
    rects.rcEndMarker = QRect(xe, kMarkerY, kMarkerWidth, kMarkerHeight);
    return rects;
}

CutTrackRects TrackRectsForTimes(const CutTimes& times, int nWidth, uint32_t nTotal) {
    return TrackRects(TimeToTrackX(times.nStart, nWidth, nTotal),
                      TimeToTrackX(times.nEnd, nWidth, nTotal), nWidth);
}

int DragStartMarker(CutTimes* pTimes, int x, int /*xs*/, int xe, int nWidth, uint32_t nTotal) {
    x = std::max(CUT_TRACK_MARGIN, std::min(x, xe));
    pTimes->nStart = std::min(TrackXToTime(x, nWidth, nTotal), pTimes->nEnd);
    return x;
}

int DragEndMarker(CutTimes* pTimes, int x, int xs, int /*xe*/, int nWidth, uint32_t nTotal) {
    x = std::max(xs, std::min(x, nWidth - CUT_TRACK_MARGIN));
    pTimes->nEnd = std::max(TrackXToTime(x, nWidth, nTotal), pTimes->nStart);
    return x;
}

bool TrimCutTimes(CutTimes* pTimes, int nButtonId, uint32_t nTotal) {
    switch (nButtonId) {
        case 1154:
            if (pTimes->nStart <= 0) return false;
            --pTimes->nStart;
            return true;
        case 1155:
            if (pTimes->nStart >= pTimes->nEnd) return false;
            ++pTimes->nStart;
            return true;
        case 1156:
            if (pTimes->nEnd <= pTimes->nStart) return false;
            --pTimes->nEnd;
            return true;
        case 1157:
            if (static_cast<int64_t>(pTimes->nEnd) >= static_cast<int64_t>(nTotal)) return false;
            ++pTimes->nEnd;
            return true;
        default:
            return false;
    }
}

QString FormatCutTime(int32_t nSeconds) {
    return QString::asprintf("%02d:%02d:%02d", nSeconds / 3600, nSeconds % 3600 / 60,
                             nSeconds % 60);
}

QString CutElapsedText(int32_t nElapsed, int32_t nRangeLength) {
    return FormatCutTime(nElapsed) + QLatin1Char('/') + FormatCutTime(nRangeLength);
}
