#pragma once

#include <QRect>
#include <QStringList>
#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;

// One page of the file information's tab control: up to eight rows of a
// label and a read-only value. Page 0 (basic) uses the first five rows' controls,
// page 1 (extra) the sixth to eighth; every control starts hidden and a row
// shows when it is filled. Enter and Escape pressed inside a page do nothing.
class CInfoTabPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int CONTROL_COUNT = 8;
    static constexpr int BASIC_PAGE = 0;
    static constexpr int EXTRA_PAGE = 1;

    CInfoTabPage(QWidget* pParent, int nPageIndex);

    int GetPageIndex() const { return m_nPageIndex; }
    // Fills the page's rows from the top, one label and one value each; the
    // labels get their colon here.
    void SetRows(const QStringList& labels, const QStringList& values);
    // The page's row count: 5 on the basic page, 3 on the extra one.
    int RowCount() const;
    QLabel* GetLabel(int nRow) const;
    QLineEdit* GetValue(int nRow) const;

    static QRect LabelRect(int nRow) { return {5, 5 + 25 * nRow, 100, 20}; }
    static QRect ValueRect(int nRow) { return {110, 5 + 25 * nRow, 270, 20}; }

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    int FirstControl() const;

    int m_nPageIndex;
    std::array<QLabel*, CONTROL_COUNT> m_pLabels{};
    std::array<QLineEdit*, CONTROL_COUNT> m_pValues{};
};
