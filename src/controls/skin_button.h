#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QTimer>

// A push button drawn from three pictures: normal, under the mouse and pressed.
// It emits clicked() like any button. A checked button keeps its pressed look,
// a disabled one shows its normal picture faded. The picture is drawn unscaled
// at the top-left corner; where it is transparent the parent shows through.
class CSkinButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CSkinButton(QWidget* pParent = nullptr);

    // Stores the pictures and the tooltip, resizes the button to the normal
    // picture (keeping its position), clears the hover look and repaints.
    // Fails, keeping the previous skin, when a picture is missing.
    bool SetSkin(const QPixmap& pressed, const QPixmap& hover, const QPixmap& normal,
                 const QString& strToolTip);
    bool SetSkin(int nPressedId, int nHoverId, int nNormalId, const QString& strToolTip);
    // The set "<name>_normal", "<name>_hover", "<name>_pressed".
    bool SetSkin(const QString& strName, const QString& strToolTip);
    void SetToolTipText(const QString& strToolTip);

    bool IsHover() const { return m_bHover; }
    const QPixmap& NormalPicture() const { return m_normal; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    bool event(QEvent* pEvent) override;

private:
    void CheckHover();

    QPixmap m_normal;
    QPixmap m_hover;
    QPixmap m_pressed;
    bool m_bHover = false;
    bool m_bTipShown = false;
    // Watches the cursor while the hover look is on; a leave event can be lost
    // when the mouse leaves quickly or the button is covered.
    QTimer m_hoverTimer;
};
