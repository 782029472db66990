#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include "controls/skin_scroll_geometry.h"

// A scroll bar whose arrows, track and thumb are cut from one skin picture,
// a grid of square cells nine wide and three high (normal, hot and pressed
// rows; columns 0-3 for a vertical bar, 4-7 for a horizontal one). It tells
// its parent what the user did through Scrolled(); the parent decides the
// new position and sets it.
class CSkinScrollBar : public QWidget {
    Q_OBJECT
public:
    CSkinScrollBar(Qt::Orientation eOrientation, QWidget* pParent);

    // Takes the skin, and makes the bar exactly one cell thick where it stands.
    bool SetSkinBitmap(const QPixmap& skin);
    int CellSize() const { return m_nCell; }
    SkinScrollInfo GetScrollInfo() const { return m_info; }
    void SetScrollInfo(const SkinScrollInfo& info, bool bRedraw = true);
    void SetScrollPos(int nPos, bool bRedraw = true);
    int GetScrollPos() const { return m_info.nPos; }
    bool IsHorizontal() const { return m_eOrientation == Qt::Horizontal; }
    SkinScrollLayout Layout() const;

signals:
    // SkinScrollCode and, for the thumb codes, the thumb's position.
    void Scrolled(int nCode, int nPos);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;

private:
    int Along(const QPoint& point) const;
    QRect PartRect(SkinScrollPart ePart) const;
    void DrawPart(QPainter& painter, SkinScrollPart ePart, int nLook) const;
    int LookOf(SkinScrollPart ePart) const;

    const Qt::Orientation m_eOrientation;
    QPixmap m_skin;
    int m_nCell = 0;
    SkinScrollInfo m_info;
    SkinScrollPart m_ePressed = SkinScrollPart::None;
    SkinScrollPart m_eHot = SkinScrollPart::None;
    bool m_bPressedInside = false;  // the cursor is over the pressed part
    bool m_bDragging = false;
    int m_nDragStart = 0;  // along the bar
    int m_nDragStartPos = 0;
};
