#include "controls/my_static.h"

#include <QCoreApplication>
#include <QPainter>

#include "common/debug_log.h"
#include "controls/skin_picture.h"

namespace {
constexpr int kCaptionHeight = 20;
constexpr int kCaptionLeft = 10;
constexpr int kCaptionTop = 4;
// Space at the right that a text change leaves for what the control draws there.
constexpr int kTextChangeRightGap = 40;

QFont Face(const QString& strFamily, int nPixels, int nWeight) {
    QFont font(strFamily);
    font.setPixelSize(std::max(1, nPixels));
    font.setWeight(static_cast<QFont::Weight>(nWeight));
    return font;
}
}  // namespace

CMyStatic::CMyStatic(QWidget* pParent) : QWidget(pParent) {}

bool CMyStatic::SetBitmap(const QPixmap& picture) {
    if (picture.isNull()) {
        DebugLog("CMyStatic::SetBitmap no picture");
        return false;
    }
    m_bitmap = picture;
    update();
    return true;
}

bool CMyStatic::SetBitmap(int nResourceNumber) { return SetBitmap(SkinPicture(nResourceNumber)); }

bool CMyStatic::SetBitmap(const QString& strName) { return SetBitmap(SkinPicture(strName)); }

void CMyStatic::SetText(const QString& strText) {
    m_strText = strText;
    m_bTextSet = true;
    update(rect().adjusted(0, 0, -kTextChangeRightGap, 0));
    update();
}

QString CMyStatic::GetText() const { return m_bTextSet ? m_strText : windowTitle(); }

void CMyStatic::SetTextColor(const QColor& colour) {
    m_textColour = colour;
    update();
}

void CMyStatic::SetFontHeight(int nPixels) {
    m_nFontHeight = nPixels;
    update();
}

void CMyStatic::SetAlignment(Qt::Alignment eHorizontal) {
    m_eAlign = eHorizontal & Qt::AlignHorizontal_Mask;
    update();
}

void CMyStatic::SetArialFace(bool bArial) {
    m_bArial = bArial;
    update();
}

void CMyStatic::SetTransparent(bool bTransparent, const QColor& fill) {
    m_bTransparent = bTransparent;
    m_fill = fill;
    update();
}

void CMyStatic::SetCaption(const QString& strCaption) {
    m_strCaption = strCaption;
    update();
}

void CMyStatic::SetCaptionFlag(bool bShow) {
    m_bCaption = bShow;
    update();
}

void CMyStatic::SetNotify(QObject* pWindow, QEvent::Type eMessage) {
    m_pNotifyWindow = pWindow;
    m_eNotifyMessage = eMessage;
}

void CMyStatic::paintEvent(QPaintEvent*) {
    if (m_bitmap.isNull()) return;
    {
        QPainter painter(this);
        if (!m_bTransparent) painter.fillRect(rect(), m_fill);
        painter.drawTiledPixmap(rect(), m_bitmap);

        painter.setPen(m_textColour);
        const QString strText = GetText();
        if (!strText.isEmpty()) {
            painter.setFont(
                Face(m_bArial ? QStringLiteral("Arial") : QStringLiteral("Times New Roman"),
                     m_nFontHeight, QFont::Normal));
            painter.drawText(rect(), int(m_eAlign | Qt::AlignVCenter | Qt::TextSingleLine),
                             strText);
        }
        if (m_bCaption) {
            painter.setFont(Face(m_bArial ? QStringLiteral("Arial") : QStringLiteral("微软雅黑"),
                                 kCaptionHeight, QFont::Thin));
            painter.drawText(
                QRect(kCaptionLeft, kCaptionTop, width() - kCaptionLeft, height() - kCaptionTop),
                int(Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine), m_strCaption);
        }
    }
    if (m_pNotifyWindow && m_eNotifyMessage != QEvent::None) {
        QCoreApplication::postEvent(m_pNotifyWindow, new QEvent(m_eNotifyMessage));
    }
}
