#pragma once

#include <QWidget>
#include <functional>

// The line between the pane area and the playlist, with its drag zone. It
// only reports drags; the main window decides the playlist width.
class CSplitterBar : public QWidget {
    Q_OBJECT
public:
    using DragHandler = std::function<void(int nDx, bool bFinished)>;

    CSplitterBar(QWidget* pParent, DragHandler onDrag);
    // Places the drag zone; the line is drawn along its right edge.
    void Place(const QRect& zone, int nLineWidth);
    void SetActive(bool bActive);
    bool IsDragging() const { return m_bDragging; }

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    DragHandler m_onDrag;
    int m_nLineWidth = 3;
    bool m_bActive = true;
    bool m_bDragging = false;
    int m_nStartX = 0;
};
