#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>
#include <vector>

#include "playback/sync_file_info.h"
#include "playback/sync_ruler_math.h"

class CBitmapSlider;
class CDlgShow;
class CMyStatic;
class CSkinScrollBar;

// The synchronous timeline ruler under the control bar: hour or minute marks
// over the day-aligned timeline, one bar per synchronised file, the group's
// position as a cursor with its date and time. Dragging the cursor
// repositions every pane, dragging the ruler pans it, the wheel and the zoom
// slider zoom it. Keys go to the main window's dispatcher.
class CSyncLocateDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int ZOOM_SLIDER_ID = 1503;

    // Keys are posted to `pKeyReceiver`; repositioning goes through `pDlgShow`.
    CSyncLocateDlg(QWidget* pParent, QObject* pKeyReceiver, CDlgShow* pDlgShow);

    // Copies the group's files and its earliest-start and latest-end records;
    // resets the zoom. False without both records.
    bool SetSyncData(const std::vector<SyncFileEntry>& entries, const FileTimeInfo* pEarliest,
                     const FileTimeInfo* pLatest);
    // No files, and the 1998-01-01 dates.
    void Clear();
    // The group's position, every 500 ms and after zoom, pan and resize.
    bool SetPlayProgress(double dPrecent, const VemorSystemTime* pTime);
    // Texts of the current language.
    void RefreshTexts();

    // State the tests read.
    const RulerZoom& Zoom() const { return m_zoom; }
    int DayCount() const { return m_nDayCount; }
    int HourCount() const { return m_nHourCount; }
    bool IsCursorShown() const { return m_bCursorShown; }
    int CursorX() const { return m_nCursorX; }
    QString CursorText() const;
    const std::vector<RulerBar>& Bars() const { return m_bars; }
    CSkinScrollBar* RowScrollBar() const { return m_pRowScroll; }
    CBitmapSlider* ZoomSlider() const { return m_pZoomSlider; }
    CMyStatic* RowLabel(int nRow) const { return m_rowLabels[static_cast<size_t>(nRow)]; }
    int VisibleWidth() const { return RulerVisibleWidth(width()); }

protected:
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void keyReleaseEvent(QKeyEvent* pEvent) override;

private:
    void ApplyData();
    void DrawRuler(QPainter& painter) const;
    void DrawCursor(QPainter& painter) const;
    // Shows the cursor at the stored position, or hides it when scrolled away.
    bool PlaceCursor();
    void ShowCursorAt(int nClientX, const VemorSystemTime& time, bool bDragging);
    bool TimeAtClientX(int nClientX, double* pPrecent, VemorSystemTime* pTime) const;
    bool InCursorDragRange(int nClientX) const;
    void Zoom(bool bIn, int nClientX);
    void AfterZoom();
    void OnRowScrolled(int nCode, int nPos);
    void UpdateRowLabels();

    QObject* m_pKeyReceiver;
    CDlgShow* m_pDlgShow;
    std::vector<SyncFileEntry> m_entries;
    FileTimeInfo m_stEarliest = EmptyFileTimeInfo();
    FileTimeInfo m_stLatest = EmptyFileTimeInfo();
    std::vector<RulerBar> m_bars;
    int m_nDayCount = 1;
    int m_nHourCount = 24;
    RulerZoom m_zoom;
    int m_nRowPos = 0;

    float m_fPrecent = 0;
    VemorSystemTime m_stPosTime{};
    bool m_bCursorShown = false;
    bool m_bCursorDragLook = false;
    int m_nCursorX = 0;
    VemorSystemTime m_stCursorTime{};

    bool m_bCursorDragging = false;
    bool m_bPanning = false;
    int m_nLastPanX = 0;
    int m_nLastPanY = 0;

    CSkinScrollBar* m_pRowScroll = nullptr;
    CBitmapSlider* m_pZoomSlider = nullptr;
    std::array<CMyStatic*, kRulerRows> m_rowLabels{};
    QPixmap m_handle, m_handleDragging, m_line, m_labelBack, m_bar;
};
