#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "playback/sync_file_info.h"
#include "vidmux.h"

// Geometry and arithmetic of the synchronous timeline ruler, apart from the
// widget. x values named "client" are in the ruler window's coordinates; the
// others are along the full (zoomed) ruler image.

inline constexpr int kRulerLeft = 126;         // the ruler area starts here
inline constexpr int kRulerSideSpace = 149;    // visible width = client width - this
inline constexpr int kRulerRightSpace = 23;    // kept free at the right for the row bar
inline constexpr int kRulerTop = 20;           // the ruler image's top
inline constexpr int kRulerImageHeight = 104;  // label band plus four rows
inline constexpr int kRulerLabelBand = 20;
inline constexpr int kRulerRowHeight = 21;
inline constexpr int kRulerRows = 4;
inline constexpr int kRulerMaxZoom = 60;

int RulerVisibleWidth(int nClientWidth);

// Zoom and scroll of the ruler image.
struct RulerZoom {
    int nLevel = 1;       // 1..60
    int nBaseWidth = 0;   // image width at level 1
    int nTotalWidth = 0;  // level x base
    int nScroll = 0;      // first image column shown
    int nScaleIndex = 0;  // label table: 0 hours, 1 half hours, 2 ten, 3 five minutes
};

// Level 1 over exactly the visible width.
RulerZoom ResetRulerZoom(int nVisibleWidth);
int ScaleIndexOfLevel(int nLevel);
int ClampRulerScroll(int nScroll, int nTotalWidth, int nVisibleWidth);
// One zoom step in or out keeping the time under client x in place; false
// when nothing changed (already at the limit).
bool ZoomRuler(RulerZoom* pZoom, bool bIn, int nClientX, int nVisibleWidth);
// The window was resized.
void ResizeRuler(RulerZoom* pZoom, int nVisibleWidth);

// Days the timeline spans: days between the two dates + 1.
int RulerDayCount(const VemorSystemTime& earliestStart, const VemorSystemTime& latestEnd);
// The label table of a scale: hours "0".."N-1", or "hh:mm:00" every 30, 10 or
// 5 minutes wrapping after 23:59.
QStringList RulerLabels(int nScaleIndex, int nDayCount);

struct RulerText {
    QRect rect;  // in image coordinates
    QString strText;
};
// Where each label of the table is drawn on an image `nWidth` wide.
std::vector<RulerText> RulerLabelBoxes(int nScaleIndex, int nDayCount, int nWidth);
// Tick positions: truncation of i x (width / N).
std::vector<int> RulerTicks(int nLabelCount, int nWidth);

// A file's bar as fractions of the timeline.
struct RulerBar {
    float fStart = 0;
    float fEnd = 0;
};
RulerBar RulerBarOf(const SyncFileEntry& entry, const VemorSystemTime& timelineStart,
                    const VemorSystemTime& timelineEnd);
// The bar's columns on an image `nWidth` wide: ceil(start) .. ceil(end), at least one.
QRect RulerBarRect(const RulerBar& bar, int nRow, int nWidth);

// Fraction of the timeline under client x.
double RulerFractionAt(int nClientX, const RulerZoom& zoom);
// Client x of the cursor for a fraction, or nothing when it is scrolled out of view.
std::optional<int> RulerCursorX(double dPrecent, const RulerZoom& zoom, int nVisibleWidth);
// The cursor's parts at client x.
QRect CursorHandleRect(int nClientX);
QRect CursorLineRect(int nClientX);
QRect CursorLabelRect(int nClientX, int nClientWidth);
// The cursor label's text: "y-m-d hh:mm:ss".
QString CursorLabelText(const VemorSystemTime& time);

// The row scroll bar: enabled for more than four files, range 0..files - 4.
struct RowScrollRange {
    bool bEnabled = false;
    int nMax = 0;
};
RowScrollRange RulerRowScroll(int nEntries);
