#include "tools/fileinfo/info_tab_page.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kBasicRows = 5;
constexpr int kExtraRows = 3;
}  // namespace

CInfoTabPage::CInfoTabPage(QWidget* pParent, int nPageIndex)
    : QWidget(pParent), m_nPageIndex(nPageIndex) {
    for (int i = 0; i < CONTROL_COUNT; ++i) {
        m_pLabels[i] = new QLabel(this);
        m_pValues[i] = new QLineEdit(this);
        m_pValues[i]->setReadOnly(true);
        m_pLabels[i]->hide();
        m_pValues[i]->hide();
    }
}

int CInfoTabPage::FirstControl() const { return m_nPageIndex == BASIC_PAGE ? 0 : kBasicRows; }

int CInfoTabPage::RowCount() const { return m_nPageIndex == BASIC_PAGE ? kBasicRows : kExtraRows; }

QLabel* CInfoTabPage::GetLabel(int nRow) const {
    return nRow >= 0 && nRow < RowCount() ? m_pLabels[FirstControl() + nRow] : nullptr;
}

QLineEdit* CInfoTabPage::GetValue(int nRow) const {
    return nRow >= 0 && nRow < RowCount() ? m_pValues[FirstControl() + nRow] : nullptr;
}

void CInfoTabPage::SetRows(const QStringList& labels, const QStringList& values) {
    for (int nRow = 0; nRow < RowCount() && nRow < labels.size() && nRow < values.size(); ++nRow) {
        QLabel* pLabel = GetLabel(nRow);
        QLineEdit* pValue = GetValue(nRow);
        pLabel->setText(labels[nRow] + QLatin1Char(':'));
        pLabel->setGeometry(LabelRect(nRow));
        pValue->setText(values[nRow]);
        pValue->setCursorPosition(0);
        pValue->setGeometry(ValueRect(nRow));
        pLabel->show();
        pValue->show();
    }
}

void CInfoTabPage::keyPressEvent(QKeyEvent* pEvent) {
    switch (pEvent->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            pEvent->accept();
            return;
        default:
            QWidget::keyPressEvent(pEvent);
    }
}
