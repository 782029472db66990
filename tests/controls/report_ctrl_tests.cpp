#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "controls/report_click_event.h"
#include "controls/report_ctrl.h"

namespace {

// A parent that keeps the row clicks its report list sends.
class ClickRecorder : public QWidget {
public:
    std::vector<std::pair<int, int>> clicks;  // row, mouse message

protected:
    bool event(QEvent* pEvent) override {
        if (pEvent->type() == ORLIN_MSG_REPORT_CLICK) {
            const auto* pClick = static_cast<ReportClickEvent*>(pEvent);
            clicks.emplace_back(pClick->Row(), pClick->MouseMessage());
            return true;
        }
        return QWidget::event(pEvent);
    }
};

class ReportCtrlTest : public testing::Test {
protected:
    void SetUp() override {
        m_parent.resize(400, 300);
        m_pList = new CReportCtrl(&m_parent);
        m_pList->setGeometry(0, 0, 400, 300);
        m_parent.show();
        ASSERT_EQ(m_pList->InsertColumn(0, "File Name", Qt::AlignHCenter, 300), 0);
        ASSERT_EQ(m_pList->InsertColumn(1, "File Time(S)", Qt::AlignHCenter, 80), 1);
    }
    QPoint RowCentre(int nRow) const {
        return {20, m_pList->rowViewportPosition(nRow) + m_pList->rowHeight(nRow) / 2};
    }

    ClickRecorder m_parent;
    CReportCtrl* m_pList = nullptr;
};

TEST_F(ReportCtrlTest, RowsTakeTheirTextsColumnByColumnAndKeepTheirPlace) {
    EXPECT_EQ(m_pList->InsertItem(0, {"a.mp4", "12"}), 0);
    EXPECT_EQ(m_pList->InsertItem(5, {"c.mp4", "30", "ignored"}), 1);  // past the end: appended
    EXPECT_EQ(m_pList->InsertItem(1, {"b.mp4"}), 1);                   // missing texts: empty
    EXPECT_EQ(m_pList->InsertItem(-1, {"x"}), -1);
    ASSERT_EQ(m_pList->GetItemCount(), 3);
    EXPECT_EQ(m_pList->GetItemText(1, 0), "b.mp4");
    EXPECT_EQ(m_pList->GetItemText(1, 1), "");
    EXPECT_EQ(m_pList->GetItemText(2, 1), "30");
    EXPECT_EQ(m_pList->columnCount(), 2);
    EXPECT_EQ(m_pList->item(0, 1)->textAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(m_pList->SetItemText(1, 1, "7"));
    EXPECT_FALSE(m_pList->SetItemText(3, 0, "no such row"));
    EXPECT_EQ(m_pList->GetItemText(9, 9), "");
    EXPECT_TRUE(m_pList->DeleteItem(0));
    EXPECT_FALSE(m_pList->DeleteItem(2));
    EXPECT_EQ(m_pList->GetItemText(0, 0), "b.mp4");
    EXPECT_EQ(m_pList->GetItemText(0, 1), "7");

    CReportCtrl noColumns;
    EXPECT_EQ(noColumns.InsertItem(0, {"a"}), -1);
}

TEST_F(ReportCtrlTest, EachCellKeepsItsOwnColours) {
    m_pList->InsertItem(0, {"a.mp4", "12"});
    m_pList->InsertItem(1, {"b.mp4", "13"});
    EXPECT_EQ(m_pList->GetItemTextColor(0, 0), CReportCtrl::kDefaultTextColor);
    EXPECT_EQ(m_pList->GetItemBkColor(1, 1), CReportCtrl::kDefaultBkColor);
    EXPECT_TRUE(m_pList->SetItemTextColor(1, 0, Qt::red));
    EXPECT_TRUE(m_pList->SetItemBkColor(1, 1, QColor(213, 234, 255)));
    EXPECT_FALSE(m_pList->SetItemBkColor(2, 0, Qt::red));
    EXPECT_EQ(m_pList->GetItemTextColor(1, 0), QColor(Qt::red));
    EXPECT_EQ(m_pList->GetItemTextColor(1, 1), CReportCtrl::kDefaultTextColor);
    EXPECT_EQ(m_pList->GetItemBkColor(1, 1), QColor(213, 234, 255));
    EXPECT_EQ(m_pList->GetItemBkColor(0, 1), CReportCtrl::kDefaultBkColor);

    // The colours reach the screen: the cell's middle is painted in its background.
    m_pList->SetItemText(1, 1, "");
    const QImage shot = m_pList->viewport()->grab().toImage();
    const QRect cell(m_pList->columnViewportPosition(1), m_pList->rowViewportPosition(1),
                     m_pList->columnWidth(1), m_pList->rowHeight(1));
    EXPECT_EQ(QColor(shot.pixel(cell.center())), QColor(213, 234, 255));
}

TEST_F(ReportCtrlTest, ClicksSelectWholeRowsAndAreReportedToTheParent) {
    for (int i = 0; i < 4; ++i) m_pList->InsertItem(i, {QString("f%1.mp4").arg(i), "1"});
    QTest::mouseClick(m_pList->viewport(), Qt::LeftButton, {}, RowCentre(2));
    EXPECT_EQ(m_pList->GetSelectedItems(), QList<int>{2});
    EXPECT_EQ(m_pList->selectionModel()->selectedIndexes().size(), 2);  // the whole row
    QTest::mouseClick(m_pList->viewport(), Qt::RightButton, {}, RowCentre(0));
    EXPECT_EQ(m_pList->GetSelectedItems(), QList<int>{0});
    EXPECT_EQ(m_pList->currentRow(), 0);
    QTest::mouseClick(m_pList->viewport(), Qt::LeftButton, Qt::ControlModifier, RowCentre(3));
    EXPECT_EQ(m_pList->GetSelectedItems(), (QList<int>{0, 3}));
    QTest::mouseDClick(m_pList->viewport(), Qt::LeftButton, {}, RowCentre(1));
    QTest::mouseClick(m_pList->viewport(), Qt::MiddleButton, {}, RowCentre(1));
    // Below the last row: no row, no report.
    QTest::mouseClick(m_pList->viewport(), Qt::LeftButton, {}, QPoint(20, 290));

    const std::vector<std::pair<int, int>> expected = {
        {2, REPORT_LBUTTONDOWN}, {0, REPORT_RBUTTONDOWN},   {3, REPORT_LBUTTONDOWN},
        {1, REPORT_LBUTTONDOWN}, {1, REPORT_LBUTTONDBLCLK}, {1, REPORT_MBUTTONDOWN}};
    EXPECT_EQ(m_parent.clicks, expected);
    EXPECT_EQ(m_pList->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(m_pList->showGrid());
}

}  // namespace
