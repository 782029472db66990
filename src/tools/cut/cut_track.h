#pragma once

#include <QRect>
#include <QString>
#include <cstdint>

// Arithmetic of the cut panel: where the time track, its markers and bars
// lie for a panel W pixels wide and a file T seconds long, how a marker drag
// and the one-second trimming buttons change the start and end times, and how
// the times are written. The track runs from x = 20 to x = W - 20.

inline constexpr int CUT_TRACK_MARGIN = 20;
inline constexpr int CUT_PANEL_HEIGHT = 83;

// Start and end of the chosen range in seconds: 0 <= start <= end <= total.
struct CutTimes {
    int32_t nStart = 0;
    int32_t nEnd = 0;
    bool operator==(const CutTimes&) const = default;
};

// The panel over the bottom of the main window's rectangle.
QRect CutPanelRect(const QRect& rcWindow);

// Time (seconds) to track x and back, truncating. A file of length 0 maps
// every time to the track's left end and every x to 0.
int TimeToTrackX(int32_t nSeconds, int nWidth, uint32_t nTotal);
int32_t TrackXToTime(int x, int nWidth, uint32_t nTotal);

// The five pieces of the track for marker positions xs (start) and xe (end).
struct CutTrackRects {
    QRect rcBefore;       // bar 1141
    QRect rcRange;        // bar 1140
    QRect rcAfter;        // bar 1142
    QRect rcStartMarker;  // 1145, its right edge at xs
    QRect rcEndMarker;    // 1146, its left edge at xe
};
CutTrackRects TrackRects(int xs, int xe, int nWidth);
CutTrackRects TrackRectsForTimes(const CutTimes& times, int nWidth, uint32_t nTotal);

// A drag of the start (or end) marker to cursor x, with the markers now at
// xs and xe. The marker stops at the track's end and at the other marker;
// the time never passes the other time. Returns the marker's new x.
int DragStartMarker(CutTimes* pTimes, int x, int xs, int xe, int nWidth, uint32_t nTotal);
int DragEndMarker(CutTimes* pTimes, int x, int xs, int xe, int nWidth, uint32_t nTotal);

// Buttons 1154 (start - 1), 1155 (start + 1), 1156 (end - 1), 1157 (end + 1).
// False, leaving the times alone, when the step would cross the other time or
// leave the file (or for any other id).
bool TrimCutTimes(CutTimes* pTimes, int nButtonId, uint32_t nTotal);

// "%02d:%02d:%02d" of hours, minutes and seconds.
QString FormatCutTime(int32_t nSeconds);
// The elapsed label: "<elapsed>/<range length>".
QString CutElapsedText(int32_t nElapsed, int32_t nRangeLength);
