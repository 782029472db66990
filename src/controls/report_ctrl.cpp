#include "controls/report_ctrl.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>

#include "controls/report_click_event.h"

namespace {

int MouseMessageFor(Qt::MouseButton button, bool bDouble) {
    switch (button) {
        case Qt::LeftButton:
            return bDouble ? REPORT_LBUTTONDBLCLK : REPORT_LBUTTONDOWN;
        case Qt::RightButton:
            return bDouble ? REPORT_RBUTTONDBLCLK : REPORT_RBUTTONDOWN;
        case Qt::MiddleButton:
            return bDouble ? REPORT_MBUTTONDBLCLK : REPORT_MBUTTONDOWN;
        default:
            return 0;
    }
}

}  // namespace

CReportCtrl::CReportCtrl(QWidget* pParent) : QTableWidget(pParent) {
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
}

int CReportCtrl::InsertColumn(int nCol, const QString& strHeading, Qt::Alignment format,
                              int nWidth) {
    if (nCol < 0) return -1;
    nCol = std::min(nCol, columnCount());
    insertColumn(nCol);
    auto* pHeading = new QTableWidgetItem(strHeading);
    pHeading->setTextAlignment(format | Qt::AlignVCenter);
    setHorizontalHeaderItem(nCol, pHeading);
    setColumnWidth(nCol, nWidth);
    // Cells of existing rows take the column's alignment and default colours.
    for (int nRow = 0; nRow < rowCount(); ++nRow) SetItemText(nRow, nCol, QString());
    return nCol;
}

int CReportCtrl::InsertItem(int nIndex, const QStringList& texts) {
    if (nIndex < 0 || columnCount() == 0) return -1;
    nIndex = std::min(nIndex, rowCount());
    insertRow(nIndex);
    for (int nCol = 0; nCol < columnCount(); ++nCol) {
        SetItemText(nIndex, nCol, nCol < texts.size() ? texts[nCol] : QString());
    }
    return nIndex;
}

bool CReportCtrl::DeleteItem(int nItem) {
    if (nItem < 0 || nItem >= rowCount()) return false;
    removeRow(nItem);
    return true;
}

void CReportCtrl::DeleteAllItems() { setRowCount(0); }

QTableWidgetItem* CReportCtrl::Cell(int nItem, int nSubItem) const {
    if (nItem < 0 || nItem >= rowCount() || nSubItem < 0 || nSubItem >= columnCount()) {
        return nullptr;
    }
    return item(nItem, nSubItem);
}

QString CReportCtrl::GetItemText(int nItem, int nSubItem) const {
    const QTableWidgetItem* pCell = Cell(nItem, nSubItem);
    return pCell != nullptr ? pCell->text() : QString();
}

bool CReportCtrl::SetItemText(int nItem, int nSubItem, const QString& strText) {
    if (nItem < 0 || nItem >= rowCount() || nSubItem < 0 || nSubItem >= columnCount()) {
        return false;
    }
    if (QTableWidgetItem* pCell = item(nItem, nSubItem)) {
        pCell->setText(strText);
        return true;
    }
    auto* pCell = new QTableWidgetItem(strText);
    const QTableWidgetItem* pHeading = horizontalHeaderItem(nSubItem);
    pCell->setTextAlignment(pHeading != nullptr ? Qt::Alignment(pHeading->textAlignment())
                                                : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    pCell->setForeground(kDefaultTextColor);
    pCell->setBackground(kDefaultBkColor);
    setItem(nItem, nSubItem, pCell);
    return true;
}

QList<int> CReportCtrl::GetSelectedItems() const {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool CReportCtrl::SelectItem(int nItem) {
    if (nItem < 0 || nItem >= rowCount()) return false;
    selectRow(nItem);
    setCurrentCell(nItem, 0, QItemSelectionModel::Rows | QItemSelectionModel::ClearAndSelect);
    return true;
}

bool CReportCtrl::SetItemTextColor(int nItem, int nSubItem, const QColor& colour) {
    QTableWidgetItem* pCell = Cell(nItem, nSubItem);
    if (pCell == nullptr) return false;
    pCell->setForeground(colour);
    return true;
}

bool CReportCtrl::SetItemBkColor(int nItem, int nSubItem, const QColor& colour) {
    QTableWidgetItem* pCell = Cell(nItem, nSubItem);
    if (pCell == nullptr) return false;
    pCell->setBackground(colour);
    return true;
}

QColor CReportCtrl::GetItemTextColor(int nItem, int nSubItem) const {
    const QTableWidgetItem* pCell = Cell(nItem, nSubItem);
    return pCell != nullptr ? pCell->foreground().color() : QColor();
}

QColor CReportCtrl::GetItemBkColor(int nItem, int nSubItem) const {
    const QTableWidgetItem* pCell = Cell(nItem, nSubItem);
    return pCell != nullptr ? pCell->background().color() : QColor();
}

void CReportCtrl::mousePressEvent(QMouseEvent* pEvent) {
    // The base class keeps extended selection (Ctrl, Shift) for the left button.
    QTableWidget::mousePressEvent(pEvent);
    ReportClick(pEvent, false);
}

void CReportCtrl::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    QTableWidget::mouseDoubleClickEvent(pEvent);
    ReportClick(pEvent, true);
}

void CReportCtrl::ReportClick(QMouseEvent* pEvent, bool bDouble) {
    const int nRow = rowAt(pEvent->position().toPoint().y());
    const int nMessage = MouseMessageFor(pEvent->button(), bDouble);
    if (nRow < 0 || nMessage == 0) return;
    if (pEvent->button() != Qt::LeftButton) SelectItem(nRow);
    if (QObject* pParent = parent()) {
        ReportClickEvent click(nRow, nMessage);
        QCoreApplication::sendEvent(pParent, &click);
    }
}
