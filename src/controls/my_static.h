#pragma once

#include <QColor>
#include <QEvent>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

// A text on a tiled background picture: bars, status texts, time labels and the
// cells of the playlist's drag preview. Nothing is drawn until a picture is set.
class CMyStatic : public QWidget {
    Q_OBJECT

public:
    explicit CMyStatic(QWidget* pParent = nullptr);

    // Fail, keeping the previous picture, when the picture is missing.
    bool SetBitmap(const QPixmap& picture);
    bool SetBitmap(int nResourceNumber);
    bool SetBitmap(const QString& strName);

    // Stored unchanged and shown instead of the window title.
    void SetText(const QString& strText);
    QString GetText() const;
    void SetTextColor(const QColor& colour);
    void SetFontHeight(int nPixels);
    void SetAlignment(Qt::Alignment eHorizontal);
    void SetArialFace(bool bArial);
    // Opaque statics fill their rectangle with the fill colour before the picture.
    void SetTransparent(bool bTransparent, const QColor& fill = Qt::black);
    void SetCaption(const QString& strCaption);
    void SetCaptionFlag(bool bShow);
    // After every paint an event of type eMessage is posted to pWindow.
    void SetNotify(QObject* pWindow, QEvent::Type eMessage);

    QColor TextColor() const { return m_textColour; }
    int FontHeight() const { return m_nFontHeight; }

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    QPixmap m_bitmap;
    QColor m_textColour = Qt::white;
    int m_nFontHeight = 17;
    Qt::Alignment m_eAlign = Qt::AlignHCenter;
    bool m_bTransparent = true;
    QColor m_fill = Qt::black;
    bool m_bTextSet = false;
    QString m_strText;
    bool m_bCaption = false;
    QString m_strCaption;
    bool m_bArial = false;
    QPointer<QObject> m_pNotifyWindow;
    QEvent::Type m_eNotifyMessage = QEvent::None;
};
