#include "playback/sync_locate_dlg.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "common/debug_log.h"
#include "controls/bitmap_slider.h"
#include "controls/my_static.h"
#include "controls/skin_picture.h"
#include "controls/skin_scroll_bar.h"
#include "controls/slider_moved_event.h"
#include "playback/dlg_show.h"
#include "playback/key_message_event.h"
#include "playback/lang_text.h"
#include "playback/play_helper.h"
#include "playback/sync_timeline.h"

namespace {

const QColor kBackground(34, 35, 37);
const QColor kRowBackground(51, 52, 54);
const QColor kGridPen(40, 40, 44);
const QColor kLabelText(105, 110, 113);
const QColor kCursorText(255, 114, 0);
const QColor kRowText(109, 114, 117);
constexpr int kFontHeight = 15;
constexpr int kRowLabelX = 5;
constexpr int kRowLabelFirstY = 40;
constexpr QSize kRowLabelSize(120, 20);
constexpr int kScrollBarRightSpace = 22;
constexpr int kScrollBarTop = 41;
constexpr int kScrollBarBottomSpace = 46;

QFont ArialOfHeight(int nPixels) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(nPixels);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace

CSyncLocateDlg::CSyncLocateDlg(QWidget* pParent, QObject* pKeyReceiver, CDlgShow* pDlgShow)
    : QWidget(pParent), m_pKeyReceiver(pKeyReceiver), m_pDlgShow(pDlgShow) {
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_handle = SkinPicture(462);
    m_handleDragging = SkinPicture(464);
    m_line = SkinPicture(478);
    m_labelBack = SkinPicture(479);
    m_bar = SkinPicture(472);

    m_pZoomSlider = new CBitmapSlider(ZOOM_SLIDER_ID, this);
    m_pZoomSlider->SetBitmapChannel(466, 477);
    m_pZoomSlider->SetBitmapThumb(465, 468);
    m_pZoomSlider->setGeometry(17, 20, 92, 12);
    m_pZoomSlider->SetRange(1, kRulerMaxZoom);

    m_pRowScroll = new CSkinScrollBar(Qt::Vertical, this);
    m_pRowScroll->SetSkinBitmap(SkinPicture(QStringLiteral("sync_scrollbar")));
    connect(m_pRowScroll, &CSkinScrollBar::Scrolled, this, &CSyncLocateDlg::OnRowScrolled);

    for (int k = 0; k < kRulerRows; ++k) {
        auto* pLabel = new CMyStatic(this);
        pLabel->SetBitmap(479);
        pLabel->SetTextColor(kRowText);
        pLabel->SetFontHeight(kFontHeight);
        pLabel->SetArialFace(true);
        pLabel->SetAlignment(Qt::AlignLeft);
        pLabel->setGeometry(
            QRect(QPoint(kRowLabelX, kRowLabelFirstY + k * kRulerRowHeight), kRowLabelSize));
        m_rowLabels[static_cast<size_t>(k)] = pLabel;
    }
    Clear();
}

bool CSyncLocateDlg::SetSyncData(const std::vector<SyncFileEntry>& entries,
                                 const FileTimeInfo* pEarliest, const FileTimeInfo* pLatest) {
    if (pEarliest == nullptr || pLatest == nullptr) return false;
    m_entries = entries;
    m_stEarliest = *pEarliest;
    m_stLatest = *pLatest;
    ApplyData();
    return true;
}

void CSyncLocateDlg::Clear() {
    m_entries.clear();
    m_stEarliest = m_stLatest = EmptyFileTimeInfo();
    ApplyData();
}

void CSyncLocateDlg::ApplyData() {
    const VemorSystemTime stStart = FileStartTime(m_stEarliest);
    const VemorSystemTime stEnd = FileEndTime(m_stLatest);
    const SyncTimeline timeline = MakeSyncTimeline(stStart, stEnd);
    m_bars.clear();
    for (const SyncFileEntry& entry : m_entries) {
        m_bars.push_back(RulerBarOf(entry, timeline.stStart, timeline.stEnd));
    }
    m_nDayCount = RulerDayCount(stStart, stEnd);
    m_nHourCount = m_nDayCount * 24;
    m_zoom = ResetRulerZoom(VisibleWidth());
    m_pZoomSlider->SetPos(m_pZoomSlider->GetRangeMin());
    const RowScrollRange rows = RulerRowScroll(static_cast<int>(m_entries.size()));
    m_nRowPos = 0;
    SkinScrollInfo info;
    info.nMin = 0;
    info.nMax = rows.nMax;
    info.nPage = 1;
    info.nPos = 0;
    m_pRowScroll->SetScrollInfo(info);
    m_pRowScroll->setEnabled(rows.bEnabled);
    m_bCursorShown = false;
    UpdateRowLabels();
    update();
}

void CSyncLocateDlg::RefreshTexts() { UpdateRowLabels(); }

void CSyncLocateDlg::UpdateRowLabels() {
    const QString strWindow = LangText("IDS_MainWnd_PlayWnd", "window");
    for (int k = 0; k < kRulerRows; ++k) {
        const int i = m_nRowPos + k;
        QString strText = QStringLiteral("%1 %2").arg(strWindow).arg(i);
        if (i < static_cast<int>(m_entries.size())) {
            strText +=
                QLatin1Char(':') + QFileInfo(m_entries[static_cast<size_t>(i)].strPath).fileName();
        }
        CMyStatic* pLabel = m_rowLabels[static_cast<size_t>(k)];
        pLabel->SetText(strText);
        pLabel->setToolTip(
            QStringLiteral("<font color=\"#0000ff\">%1</font>").arg(strText.toHtmlEscaped()));
    }
}

QString CSyncLocateDlg::CursorText() const { return CursorLabelText(m_stCursorTime); }

bool CSyncLocateDlg::SetPlayProgress(double dPrecent, const VemorSystemTime* pTime) {
    if (m_pDlgShow != nullptr && m_pDlgShow->IsSyncMode()) {
        const PlayState eState = m_pDlgShow->GetSelState();
        if (eState != PLAY_STATE_PLAYING && eState != PLAY_STATE_PAUSED) {
            m_bCursorShown = false;
            update();
            return true;
        }
    }
    if (dPrecent < 0 || dPrecent > 1.0 || pTime == nullptr) {
        DebugLog(
            "CSyncLocateDlg::SetPlayProgress dPrecent < 0 || dPrecent > 1.0 || pCurSysTime == "
            "NULL");
        return false;
    }
    m_fPrecent = static_cast<float>(dPrecent);
    m_stPosTime = *pTime;
    if (m_bPanning) return false;
    return PlaceCursor();
}

bool CSyncLocateDlg::PlaceCursor() {
    const std::optional<int> x = RulerCursorX(m_fPrecent, m_zoom, VisibleWidth());
    if (!x) {
        m_bCursorShown = false;
        update();
        return false;
    }
    ShowCursorAt(*x, m_stPosTime, false);
    return true;
}

void CSyncLocateDlg::ShowCursorAt(int nClientX, const VemorSystemTime& time, bool bDragging) {
    m_bCursorShown = true;
    m_nCursorX = nClientX;
    m_stCursorTime = time;
    m_bCursorDragLook = bDragging;
    update();
}

bool CSyncLocateDlg::TimeAtClientX(int nClientX, double* pPrecent, VemorSystemTime* pTime) const {
    *pPrecent = RulerFractionAt(nClientX, m_zoom);
    const SyncTimeline timeline =
        MakeSyncTimeline(FileStartTime(m_stEarliest), FileEndTime(m_stLatest));
    return CPlayHelper::GetGlobalTimeByPrecent(&timeline.stStart, &timeline.stEnd, *pPrecent,
                                               pTime);
}

bool CSyncLocateDlg::InCursorDragRange(int nClientX) const {
    return nClientX > kRulerLeft - 1 && nClientX <= width() - kRulerRightSpace;
}

void CSyncLocateDlg::paintEvent(QPaintEvent*) {
    // Everything is drawn off screen and shown in one step.
    QPixmap buffer = WidgetBuffer(*this);
    buffer.fill(kBackground);
    QPainter painter(&buffer);
    DrawRuler(painter);
    DrawCursor(painter);
    painter.end();
    QPainter(this).drawPixmap(0, 0, buffer);
}

void CSyncLocateDlg::DrawRuler(QPainter& painter) const {
    const int nWidth = m_zoom.nTotalWidth;
    const int nVisible = VisibleWidth();
    if (nWidth <= 0 || nVisible <= 0) return;
    painter.save();
    // Only the visible part of the full-width ruler image is drawn.
    painter.translate(kRulerLeft - m_zoom.nScroll, kRulerTop);
    painter.setClipRect(QRect(m_zoom.nScroll, 0, nVisible, kRulerImageHeight));
    painter.fillRect(QRect(0, 0, nWidth, kRulerLabelBand), kBackground);
    painter.fillRect(QRect(0, kRulerLabelBand, nWidth, kRulerImageHeight - kRulerLabelBand),
                     kRowBackground);
    const QStringList labels = RulerLabels(m_zoom.nScaleIndex, m_nDayCount);
    if (labels.isEmpty()) {
        DebugLog("CSyncLocateDlg::DrawRuler fail 2");
        painter.restore();
        return;
    }
    painter.setPen(QPen(kGridPen, 1));
    for (int k = 0; k < kRulerRows; ++k) {
        const int y = kRulerLabelBand + k * kRulerRowHeight;
        painter.drawLine(0, y, nWidth, y);
    }
    const int nFirst = m_zoom.nScroll - 40;
    const int nLast = m_zoom.nScroll + nVisible + 40;
    for (int x : RulerTicks(static_cast<int>(labels.size()), nWidth)) {
        if (x >= nFirst && x <= nLast) painter.drawLine(x, 15, x, kRulerImageHeight);
    }
    painter.setFont(ArialOfHeight(kFontHeight));
    painter.setPen(kLabelText);
    for (const RulerText& label : RulerLabelBoxes(m_zoom.nScaleIndex, m_nDayCount, nWidth)) {
        if (label.rect.right() < nFirst || label.rect.left() > nLast) continue;
        painter.drawText(label.rect, Qt::AlignCenter | Qt::TextSingleLine, label.strText);
    }
    for (int k = 0; k < kRulerRows; ++k) {
        const size_t i = static_cast<size_t>(m_nRowPos + k);
        if (i >= m_bars.size()) break;
        painter.drawPixmap(RulerBarRect(m_bars[i], k, nWidth), m_bar);
    }
    painter.restore();
}

void CSyncLocateDlg::DrawCursor(QPainter& painter) const {
    if (!m_bCursorShown) return;
    painter.drawPixmap(CursorHandleRect(m_nCursorX),
                       m_bCursorDragLook ? m_handleDragging : m_handle);
    painter.drawPixmap(CursorLineRect(m_nCursorX), m_line);
    const QRect label = CursorLabelRect(m_nCursorX, width());
    painter.drawTiledPixmap(label, m_labelBack);
    painter.setFont(ArialOfHeight(kFontHeight));
    painter.setPen(kCursorText);
    painter.drawText(label, Qt::AlignCenter | Qt::TextSingleLine, CursorLabelText(m_stCursorTime));
}

void CSyncLocateDlg::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    ResizeRuler(&m_zoom, VisibleWidth());
    m_pRowScroll->setGeometry(width() - kScrollBarRightSpace, kScrollBarTop,
                              m_pRowScroll->CellSize() > 0 ? m_pRowScroll->CellSize() : 17,
                              height() - kScrollBarBottomSpace);
    SetPlayProgress(m_fPrecent, &m_stPosTime);
    update();
}

void CSyncLocateDlg::mousePressEvent(QMouseEvent* pEvent) {
    setFocus();
    if (pEvent->button() != Qt::LeftButton) return;
    const QPoint pt = pEvent->position().toPoint();
    if (m_bCursorShown && CursorHandleRect(m_nCursorX).contains(pt)) {
        m_bCursorDragging = true;
    } else if (pt.x() >= kRulerLeft && pt.x() < width() - kRulerRightSpace && pt.y() >= kRulerTop &&
               pt.y() < kRulerTop + kRulerImageHeight + 5) {
        m_bPanning = true;
        m_nLastPanX = pt.x();
        m_nLastPanY = pt.y();
    }
}

void CSyncLocateDlg::mouseMoveEvent(QMouseEvent* pEvent) {
    if (!(pEvent->buttons() & Qt::LeftButton)) return;
    const int x = pEvent->position().toPoint().x();
    if (m_bCursorDragging && InCursorDragRange(x)) {
        double dPrecent = 0;
        VemorSystemTime stTime{};
        // Repositioning waits for the release.
        if (TimeAtClientX(x, &dPrecent, &stTime)) ShowCursorAt(x, stTime, true);
    } else if (m_bPanning) {
        m_zoom.nScroll =
            ClampRulerScroll(m_zoom.nScroll + m_nLastPanX - x, m_zoom.nTotalWidth, VisibleWidth());
        m_nLastPanX = x;
        m_nLastPanY = pEvent->position().toPoint().y();
        // The cursor moves with the ruler; the polled position waits for the release.
        if (m_bCursorShown) PlaceCursor();
        update();
    }
}

void CSyncLocateDlg::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) return;
    const int x = pEvent->position().toPoint().x();
    const bool bWasDragging = m_bCursorDragging;
    m_bCursorDragging = false;
    m_bPanning = false;
    if (!bWasDragging || !InCursorDragRange(x)) return;
    double dPrecent = 0;
    VemorSystemTime stTime{};
    if (!TimeAtClientX(x, &dPrecent, &stTime)) return;
    ShowCursorAt(x, stTime, true);
    if (m_pDlgShow != nullptr) m_pDlgShow->SetSyncPlayPrecent(dPrecent);
}

void CSyncLocateDlg::Zoom(bool bIn, int nClientX) {
    if (ZoomRuler(&m_zoom, bIn, nClientX, VisibleWidth())) AfterZoom();
}

void CSyncLocateDlg::AfterZoom() {
    SetPlayProgress(m_fPrecent, &m_stPosTime);
    m_pZoomSlider->SetPos(std::clamp(m_zoom.nLevel, 1, kRulerMaxZoom));
    update();
}

void CSyncLocateDlg::wheelEvent(QWheelEvent* pEvent) {
    const int nDelta = pEvent->angleDelta().y();
    if (nDelta == 0) return;
    Zoom(nDelta > 0, pEvent->position().toPoint().x());
    pEvent->accept();
}

bool CSyncLocateDlg::event(QEvent* pEvent) {
    if (pEvent->type() == ORLIN_MSG_SLIDER_MOVING) {
        const auto* pMoved = static_cast<SliderMovedEvent*>(pEvent);
        if (pMoved->ControlId() != ZOOM_SLIDER_ID) return true;
        const int nPos = pMoved->Position();
        QCoreApplication::removePostedEvents(this, ORLIN_MSG_SLIDER_MOVING);
        if (nPos >= 1 && nPos <= kRulerMaxZoom && nPos != m_zoom.nLevel) {
            const bool bIn = nPos > m_zoom.nLevel;
            for (int n = std::abs(nPos - m_zoom.nLevel); n > 0; --n) {
                ZoomRuler(&m_zoom, bIn, kRulerLeft, VisibleWidth());
            }
            AfterZoom();
        }
        m_pZoomSlider->clearFocus();
        setFocus();
        return true;
    }
    return QWidget::event(pEvent);
}

void CSyncLocateDlg::OnRowScrolled(int nCode, int nPos) {
    const int nTop = std::max(0, static_cast<int>(m_entries.size()) - kRulerRows);
    int nRow = m_nRowPos;
    if (nCode == SCROLL_LINE_UP) nRow = std::max(0, nRow - 1);
    if (nCode == SCROLL_LINE_DOWN) nRow = std::min(nTop, nRow + 1);
    if (nCode == SCROLL_THUMB_TRACK || nCode == SCROLL_THUMB_POSITION) {
        nRow = std::clamp(nPos, 0, nTop);
    }
    if (nCode == SCROLL_PAGE_UP || nCode == SCROLL_PAGE_DOWN) {
        nRow = std::clamp(SkinScrollApply(m_pRowScroll->GetScrollInfo(), nCode, nPos), 0, nTop);
    }
    m_nRowPos = nRow;
    m_pRowScroll->SetScrollPos(nRow);
    UpdateRowLabels();
    update();
}

void CSyncLocateDlg::keyPressEvent(QKeyEvent* pEvent) {
    // Keys belong to the main window's hot-key dispatcher.
    if (m_pKeyReceiver != nullptr) {
        QCoreApplication::postEvent(m_pKeyReceiver, new CKeyMessageEvent(*pEvent));
    }
    pEvent->accept();
}

void CSyncLocateDlg::keyReleaseEvent(QKeyEvent* pEvent) { pEvent->accept(); }
