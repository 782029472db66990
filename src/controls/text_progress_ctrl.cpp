#include "controls/text_progress_ctrl.h"

#include <QPainter>

#include "controls/progress_fill.h"

CTextProgressCtrl::CTextProgressCtrl(QWidget* pParent)
    : QWidget(pParent),
      m_barColour(palette().color(QPalette::Highlight)),
      m_textColour(palette().color(QPalette::Highlight)),
      m_bgColour(palette().color(QPalette::Base)),
      m_textOverBarColour(palette().color(QPalette::Base)) {}

void CTextProgressCtrl::SetRange(int nMin, int nMax) {
    m_nMin = nMin;
    m_nMax = nMax;
    m_nLastFilled = -1;
    update();
}

int CTextProgressCtrl::SetPos(int nPos) {
    const int nPrevious = m_nPos;
    m_nPos = nPos;
    const int nFilled = ProgressFillWidth(m_nPos, m_nMin, m_nMax, width());
    if (nFilled != m_nLastFilled) {
        m_nLastFilled = nFilled;
        repaint();
    }
    return nPrevious;
}

int CTextProgressCtrl::StepIt() { return SetPos(m_nPos + m_nStep); }

void CTextProgressCtrl::SetWindowText(const QString& strText) {
    if (strText == m_strText) return;
    m_strText = strText;
    update();
}

void CTextProgressCtrl::SetShowText(bool bShow) {
    m_bShowText = bShow;
    update();
}

void CTextProgressCtrl::SetBarColor(const QColor& colour) {
    m_barColour = colour;
    update();
}

void CTextProgressCtrl::SetBgColor(const QColor& colour) {
    m_bgColour = colour;
    update();
}

void CTextProgressCtrl::SetTextColor(const QColor& colour) {
    m_textColour = colour;
    update();
}

void CTextProgressCtrl::SetTextBkColor(const QColor& colour) {
    m_textOverBarColour = colour;
    update();
}

void CTextProgressCtrl::resizeEvent(QResizeEvent* pEvent) {
    m_nLastFilled = -1;
    QWidget::resizeEvent(pEvent);
}

void CTextProgressCtrl::paintEvent(QPaintEvent*) {
    if (m_nMin >= m_nMax) return;
    QPainter painter(this);
    const int nFilled = ProgressFillWidth(m_nPos, m_nMin, m_nMax, width());
    const QRect filled(0, 0, nFilled, height());
    const QRect rest(nFilled, 0, width() - nFilled, height());
    painter.fillRect(filled, m_barColour);
    painter.fillRect(rest, m_bgColour);
    if (!m_bShowText) return;

    const QString strText = m_strText.isEmpty()
                                ? QStringLiteral("%1%").arg(ProgressPercent(m_nPos, m_nMin, m_nMax))
                                : m_strText;
    const int nFlags = Qt::AlignCenter | Qt::TextSingleLine;
    painter.setClipRect(filled);
    painter.setPen(m_textOverBarColour);
    painter.drawText(rect(), nFlags, strText);
    painter.setClipRect(rest);
    painter.setPen(m_textColour);
    painter.drawText(rect(), nFlags, strText);
}
