// Listing files: Add File with its probe and limit, Delete File, Browse.

#include <QFile>
#include <QLineEdit>
#include <QTest>

#include "controls/report_ctrl.h"
#include "merge_dialog_fixture.h"

namespace {

CReportCtrl* List(CFileMergeDlg* pDlg) {
    return pDlg->findChild<CReportCtrl*>(
        QStringLiteral("list%1").arg(CFileMergeDlg::IDC_FILE_LIST));
}

// Every row shows the path and duration kept at its index.
void ExpectListMatchesFiles(CFileMergeDlg* pDlg) {
    CReportCtrl* pList = List(pDlg);
    ASSERT_EQ(pList->GetItemCount(), pDlg->FileCount());
    ASSERT_EQ(pDlg->Paths().size(), pDlg->Durations().size());
    for (int i = 0; i < pDlg->FileCount(); ++i) {
        EXPECT_EQ(pList->GetItemText(i, 0), pDlg->Paths()[i]) << i;
        EXPECT_EQ(pList->GetItemText(i, 1), QString::number(pDlg->Durations()[i])) << i;
    }
}

TEST_F(MergeDialogTest, AddFileListsWhatTheEngineOpensWithItsLength) {
    const QString first = Recording("first.mp4", 50);
    const QString second = Recording("second.mp4", 100);
    const QString junk = Path("notes.mp4");
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("written by hand");
    file.close();

    AddThroughPicker({first, junk, second});
    EXPECT_EQ(TakeMessages(), QStringList{"Unsupport file type,fail to add!"});
    EXPECT_EQ(m_pDlg->Paths(), (std::vector<QString>{first, second}));
    EXPECT_EQ(m_pDlg->Durations(), (std::vector<int>{2, 4}));
    ExpectListMatchesFiles(m_pDlg.get());

    // A cancelled picker changes nothing.
    AddThroughPicker({});
    EXPECT_EQ(m_pDlg->FileCount(), 2);
    EXPECT_TRUE(TakeMessages().isEmpty());
}

TEST_F(MergeDialogTest, AtTheLimitAddFileRefusesWithoutOpeningThePicker) {
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(m_pDlg->AppendFile(QStringLiteral("/recordings/%1.mp4").arg(i), i));
    }
    EXPECT_FALSE(m_pDlg->AppendFile(QStringLiteral("/recordings/1000.mp4"), 1));
    Click(CFileMergeDlg::IDC_ADD_FILE);  // the fixture's picker fails the test if asked
    EXPECT_EQ(TakeMessages(), QStringList{"The number of files is the Largest Value!"});
    EXPECT_EQ(m_pDlg->FileCount(), 1000);
}

TEST_F(MergeDialogTest, FilesPastTheLimitAreLeftOutWithOneMessage) {
    for (int i = 0; i < 998; ++i) m_pDlg->AppendFile(QStringLiteral("/r/%1.mp4").arg(i), 1);
    const QString recording = Recording("a.mp4");
    AddThroughPicker({recording, recording, recording, recording, recording});
    EXPECT_EQ(TakeMessages(), QStringList{"The number of files is the Largest Value!"});
    EXPECT_EQ(m_pDlg->FileCount(), 1000);
    EXPECT_EQ(m_pDlg->Paths().back(), recording);
    ExpectListMatchesFiles(m_pDlg.get());
}

TEST_F(MergeDialogTest, DeleteRemovesEverySelectedRowAndKeepsPathsAndLengthsTogether) {
    for (int i = 0; i < 6; ++i) m_pDlg->AppendFile(QStringLiteral("/r/file%1.mp4").arg(i), 10 + i);
    CReportCtrl* pList = List(m_pDlg.get());
    const auto rowCentre = [&](int nRow) {
        return QPoint(40, pList->rowViewportPosition(nRow) + pList->rowHeight(nRow) / 2);
    };
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, {}, rowCentre(1));
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(3));
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(4));
    ASSERT_EQ(pList->GetSelectedItems(), (QList<int>{1, 3, 4}));

    Click(CFileMergeDlg::IDC_DEL_FILE);
    EXPECT_EQ(m_pDlg->Paths(),
              (std::vector<QString>{"/r/file0.mp4", "/r/file2.mp4", "/r/file5.mp4"}));
    EXPECT_EQ(m_pDlg->Durations(), (std::vector<int>{10, 12, 15}));
    ExpectListMatchesFiles(m_pDlg.get());

    // Nothing selected: nothing goes.
    pList->clearSelection();
    Click(CFileMergeDlg::IDC_DEL_FILE);
    EXPECT_EQ(m_pDlg->FileCount(), 3);
}

TEST_F(MergeDialogTest, BrowseSetsTheOutputAndACancelledPickerKeepsIt) {
    auto* pField =
        m_pDlg->findChild<QLineEdit*>(QStringLiteral("edit%1").arg(CFileMergeDlg::IDC_OUTPUT_PATH));
    ASSERT_NE(pField, nullptr);
    EXPECT_TRUE(pField->isReadOnly());
    ChooseOutput(Path("joined.mp4"));
    EXPECT_EQ(m_pDlg->OutputPath(), Path("joined.mp4"));
    EXPECT_EQ(pField->text(), Path("joined.mp4"));
    ChooseOutput(QString());
    EXPECT_EQ(m_pDlg->OutputPath(), Path("joined.mp4"));
}

}  // namespace
