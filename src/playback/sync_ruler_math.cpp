#include "playback/sync_ruler_math.h"

#include <algorithm>
#include <cmath>

#include "playback/play_helper.h"
#include "playback/sync_timeline.h"

namespace {

constexpr int kCursorLabelWidth = 100;
constexpr int kMinutesPerScale[] = {60, 30, 10, 5};

}  // namespace

int RulerVisibleWidth(int nClientWidth) { return nClientWidth - kRulerSideSpace; }

RulerZoom ResetRulerZoom(int nVisibleWidth) {
    RulerZoom zoom;
    zoom.nBaseWidth = zoom.nTotalWidth = nVisibleWidth;
    return zoom;
}

int ScaleIndexOfLevel(int nLevel) {
    if (nLevel <= 3) return 0;
    if (nLevel <= 11) return 1;
    if (nLevel <= 45) return 2;
    return 3;
}

int ClampRulerScroll(int nScroll, int nTotalWidth, int nVisibleWidth) {
    return std::max(0, std::min(nScroll, nTotalWidth - nVisibleWidth));
}

bool ZoomRuler(RulerZoom* pZoom, bool bIn, int nClientX, int nVisibleWidth) {
    RulerZoom& z = *pZoom;
    if (z.nTotalWidth <= 0) return false;
    const int a = std::clamp(nClientX - kRulerLeft, 0, std::max(0, nVisibleWidth));
    const double dAnchor = static_cast<double>(a + z.nScroll) / z.nTotalWidth;
    if (bIn) {
        if (z.nLevel >= kRulerMaxZoom) return false;
        ++z.nLevel;
        z.nTotalWidth = z.nLevel * z.nBaseWidth;
    } else {
        if (z.nBaseWidth < nVisibleWidth) z.nBaseWidth = nVisibleWidth;
        if (z.nLevel <= 1) {
            if (nVisibleWidth >= z.nBaseWidth) return false;
            z.nBaseWidth = z.nTotalWidth = nVisibleWidth;
        } else {
            --z.nLevel;
            z.nTotalWidth = z.nLevel * z.nBaseWidth;
        }
    }
    z.nScroll = ClampRulerScroll(static_cast<int>(z.nTotalWidth * dAnchor - a), z.nTotalWidth,
                                 nVisibleWidth);
    z.nScaleIndex = ScaleIndexOfLevel(z.nLevel);
    return true;
}

void ResizeRuler(RulerZoom* pZoom, int nVisibleWidth) {
    RulerZoom& z = *pZoom;
    if (z.nTotalWidth < nVisibleWidth) {
        z = ResetRulerZoom(nVisibleWidth);
        return;
    }
    if (z.nScroll + nVisibleWidth > z.nTotalWidth) z.nScroll = z.nTotalWidth - nVisibleWidth;
}

int RulerDayCount(const VemorSystemTime& earliestStart, const VemorSystemTime& latestEnd) {
    const VemorSystemTime first{
        earliestStart.dwYear, earliestStart.dwMon, earliestStart.dwDay, 0, 0, 0, 0};
    const VemorSystemTime last{latestEnd.dwYear, latestEnd.dwMon, latestEnd.dwDay, 0, 0, 0, 0};
    const int64_t nDays = CPlayHelper::GetSecondsBetween(&first, &last) / 86400;
    return static_cast<int>(std::max<int64_t>(0, nDays)) + 1;
}

QStringList RulerLabels(int nScaleIndex, int nDayCount) {
    QStringList labels;
    if (nScaleIndex < 0 || nScaleIndex > 3) return labels;
    const int nStep = kMinutesPerScale[nScaleIndex];
    const int nCount = nDayCount * 24 * 60 / nStep;
    for (int i = 0; i < nCount; ++i) {
        if (nScaleIndex == 0) {
            labels << QString::number(i);
        } else {
            const int nMinutes = i * nStep % (24 * 60);
            labels << QString::asprintf("%02d:%02d:%02d", nMinutes / 60, nMinutes % 60, 0);
        }
    }
    return labels;
}

std::vector<int> RulerTicks(int nLabelCount, int nWidth) {
    std::vector<int> ticks;
    if (nLabelCount <= 0) return ticks;
    const float fStep = static_cast<float>(nWidth) / static_cast<float>(nLabelCount);
    for (int i = 0; i < nLabelCount; ++i) ticks.push_back(static_cast<int>(i * fStep));
    return ticks;
}

std::vector<RulerText> RulerLabelBoxes(int nScaleIndex, int nDayCount, int nWidth) {
    std::vector<RulerText> boxes;
    const QStringList labels = RulerLabels(nScaleIndex, nDayCount);
    if (labels.isEmpty()) return boxes;
    const std::vector<int> ticks = RulerTicks(static_cast<int>(labels.size()), nWidth);
    const float fStep = static_cast<float>(nWidth) / static_cast<float>(labels.size());
    for (int i = 0; i < labels.size(); ++i) {
        const int x = ticks[static_cast<size_t>(i)];
        if (nScaleIndex == 0) {
            const QRect box = i == 0 ? QRect(QPoint(-5, 5), QPoint(14, 19))
                                     : QRect(QPoint(x - 10, 5), QPoint(x + 9, 19));
            boxes.push_back({box, labels[i]});
            if (i == 23) {
                const int x24 = static_cast<int>(24 * fStep);
                boxes.push_back({QRect(QPoint(x24 - 15, 5), QPoint(x24 + 4, 19)), "24"});
            }
        } else if (i != 0) {
            boxes.push_back({QRect(QPoint(x - 30, 5), QPoint(x + 29, 19)), labels[i]});
        }
    }
    return boxes;
}

RulerBar RulerBarOf(const SyncFileEntry& entry, const VemorSystemTime& timelineStart,
                    const VemorSystemTime& timelineEnd) {
    const double dSpan =
        static_cast<double>(CPlayHelper::GetSecondsBetween(&timelineStart, &timelineEnd));
    if (dSpan <= 0) return {};
    const VemorSystemTime fileStart = FileStartTime(entry.stInfo);
    const VemorSystemTime fileEnd = FileEndTime(entry.stInfo);
    RulerBar bar;
    bar.fStart =
        static_cast<float>(CPlayHelper::GetSecondsBetween(&timelineStart, &fileStart) / dSpan);
    bar.fEnd = bar.fStart +
               static_cast<float>(CPlayHelper::GetSecondsBetween(&fileStart, &fileEnd) / dSpan);
    return bar;
}

QRect RulerBarRect(const RulerBar& bar, int nRow, int nWidth) {
    const int nLeft = static_cast<int>(std::ceil(bar.fStart * nWidth));
    const int nRight = static_cast<int>(std::ceil(bar.fEnd * nWidth));
    const int nTop = kRulerLabelBand + 1 + nRow * kRulerRowHeight;
    return QRect(nLeft, nTop, std::max(1, nRight - nLeft), kRulerRowHeight - 1);
}

double RulerFractionAt(int nClientX, const RulerZoom& zoom) {
    if (zoom.nTotalWidth <= 0) return 0;
    return static_cast<double>(zoom.nScroll + nClientX - kRulerLeft) / zoom.nTotalWidth;
}

std::optional<int> RulerCursorX(double dPrecent, const RulerZoom& zoom, int nVisibleWidth) {
    const int x = static_cast<int>(dPrecent * zoom.nTotalWidth);
    if (x < zoom.nScroll || x > zoom.nScroll + nVisibleWidth) return std::nullopt;
    return x - zoom.nScroll + kRulerLeft;
}

QRect CursorHandleRect(int nClientX) { return QRect(nClientX - 6, 1, 12, 18); }

QRect CursorLineRect(int nClientX) { return QRect(nClientX - 1, kRulerTop, 2, kRulerImageHeight); }

QRect CursorLabelRect(int nClientX, int nClientWidth) {
    const int nLeft = nClientX + 107 > nClientWidth ? nClientX - 107 : nClientX + 7;
    return QRect(nLeft, 2, kCursorLabelWidth, 16);
}

QString CursorLabelText(const VemorSystemTime& t) {
    return QString::asprintf("%d-%d-%d %02d:%02d:%02d", t.dwYear, t.dwMon, t.dwDay, t.dwHour,
                             t.dwMin, t.dwSec);
}

RowScrollRange RulerRowScroll(int nEntries) {
    RowScrollRange range;
    range.bEnabled = nEntries > kRulerRows;
    range.nMax = range.bEnabled ? nEntries - kRulerRows : 0;
    return range;
}
