#pragma once

#include <QEvent>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "controls/slider_geometry.h"

class QPainter;

// A slider drawn from pictures: a channel, an optional "active" channel for the
// part before the thumb, and a thumb with an optional look while dragged.
// It posts SliderMovedEvent to its notify receiver (the parent widget unless
// one is set): ORLIN_MSG_SLIDER_MOVING while the thumb follows the mouse,
// ORLIN_MSG_SLIDER_RELEASED on release and after every key. Setting the
// position from code posts nothing.
class CBitmapSlider : public QWidget {
    Q_OBJECT

public:
    explicit CBitmapSlider(int nControlId, QWidget* pParent = nullptr);

    int ControlId() const { return m_nControlId; }
    // Where the notifications go: the window that handles them, which need not
    // be the parent the slider is laid out in. Null restores the parent.
    void SetNotifyReceiver(QObject* pReceiver) { m_pNotifyReceiver = pReceiver; }

    // Channel and active channel; resizes the control to the channel. A null
    // active picture means the whole channel is drawn alike. Fails, keeping the
    // previous pictures, when the channel is missing or a named one is.
    bool SetBitmapChannel(const QPixmap& channel, const QPixmap& active = {});
    bool SetBitmapChannel(int nChannelId, int nActiveId);
    bool SetBitmapChannel(const QString& strChannel, const QString& strActive);
    // Channel of three pieces for controls whose width the layout decides: the
    // caps stay at the ends, the middle stretches between them, and the active
    // picture is stretched from just inside the left cap to the thumb.
    bool SetChannelPieces(const QPixmap& left, const QPixmap& middle, const QPixmap& right,
                          const QPixmap& active);
    // Thumb and its dragged look; pictures without alpha are keyed on their
    // top-left pixel. Fails, keeping the previous pictures, when one is missing.
    bool SetBitmapThumb(const QPixmap& thumb, const QPixmap& active = {});
    bool SetBitmapThumb(int nThumbId, int nActiveId);
    bool SetBitmapThumb(const QString& strThumb, const QString& strActive);

    // An inverted range is narrowed to its minimum; the position follows the range.
    void SetRange(int nMin, int nMax, bool bRedraw = true);
    int GetRangeMin() const { return m_nMin; }
    int GetRangeMax() const { return m_nMax; }
    void SetPos(int nPos);
    int GetPos() const { return m_nPos; }
    void SetPageSize(int nSize) { m_nPage = nSize; }
    int GetPageSize() const { return m_nPage; }
    void SetMargin(int nLeft, int nTop, int nRight, int nBottom);
    void SetVertical(bool bVertical);
    bool IsVertical() const { return m_bVertical; }
    // A disabled slider ignores mouse and keys and draws no thumb.
    void Enable(bool bEnable = true);
    bool IsDragging() const { return m_bDragging; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

private:
    SliderTrack Track() const;
    int Along(const QPointF& point) const;
    void DragTo(int nCursor);
    void Notify(QEvent::Type eType);
    void PaintChannel(QPainter& painter, int nThumbCentre);

    const int m_nControlId;
    QPointer<QObject> m_pNotifyReceiver;
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nPos = 0;
    int m_nPage = 20;
    int m_nMarginLeft = 0;
    int m_nMarginTop = 0;
    int m_nMarginRight = 0;
    int m_nMarginBottom = 0;
    bool m_bVertical = false;
    bool m_bDragging = false;
    int m_nDragOffset = 0;

    QPixmap m_channel;
    QPixmap m_channelActive;
    QPixmap m_pieceLeft;
    QPixmap m_pieceMiddle;
    QPixmap m_pieceRight;
    bool m_bThreePiece = false;
    QPixmap m_thumb;
    QPixmap m_thumbActive;
};
