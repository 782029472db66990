#pragma once

#include <QColor>
#include <QList>
#include <QStringList>
#include <QTableWidget>

// A report list: rows of cells under titled columns, with grid lines,
// whole-row selection and a text and background colour for every cell. A click
// with any button on a row selects and focuses that row and is reported to the
// parent with a ReportClickEvent. The cells are not editable.
class CReportCtrl : public QTableWidget {
    Q_OBJECT

public:
    explicit CReportCtrl(QWidget* pParent = nullptr);

    // Inserts a column at `nCol` (appends when past the end); `format` aligns
    // its title and cells. Returns the new column's index, or -1.
    int InsertColumn(int nCol, const QString& strHeading, Qt::Alignment format, int nWidth);
    // Inserts a row at `nIndex` (appends when past the end) with the texts of
    // its columns in order; texts beyond the column count are ignored. Returns
    // the new row's index, or -1 when there is no column or the index is negative.
    int InsertItem(int nIndex, const QStringList& texts);
    bool DeleteItem(int nItem);
    void DeleteAllItems();
    int GetItemCount() const { return rowCount(); }

    QString GetItemText(int nItem, int nSubItem) const;
    bool SetItemText(int nItem, int nSubItem, const QString& strText);

    // Rows selected, in ascending order.
    QList<int> GetSelectedItems() const;
    // Selects and focuses one row alone.
    bool SelectItem(int nItem);

    bool SetItemTextColor(int nItem, int nSubItem, const QColor& colour);
    bool SetItemBkColor(int nItem, int nSubItem, const QColor& colour);
    QColor GetItemTextColor(int nItem, int nSubItem) const;
    QColor GetItemBkColor(int nItem, int nSubItem) const;

    static constexpr QColor kDefaultTextColor{0, 0, 0};
    static constexpr QColor kDefaultBkColor{255, 255, 255};

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;

private:
    QTableWidgetItem* Cell(int nItem, int nSubItem) const;
    void ReportClick(QMouseEvent* pEvent, bool bDouble);
};
