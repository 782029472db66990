// OK's checks in their order, the merge on its thread, Cancel and closing.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>

#include "merge_dialog_fixture.h"
#include "tools/common/free_space.h"
#include "wait_for.h"

namespace {

constexpr uint64_t kGiB = 1ULL << 30;

class MergeDialogOkTest : public MergeDialogTest {
protected:
    // A file of `size` bytes that takes no room on disk.
    QString SparseFile(const std::string& name, uint64_t size) {
        const std::string path = m_folder.Path(name);
        { QFile(QString::fromStdString(path)).open(QIODevice::WriteOnly); }
        std::filesystem::resize_file(path, size);
        return QString::fromStdString(path);
    }

    // Lists files without probing them (sparse files are no recordings).
    void ListFiles(const QStringList& paths) {
        for (const QString& path : paths) m_pDlg->AppendFile(path, 60);
    }

    // Back to an empty list through the dialog's own delete.
    void ClearList() {
        m_pDlg->findChild<QTableWidget*>()->selectAll();
        Click(CFileMergeDlg::IDC_DEL_FILE);
        ASSERT_EQ(m_pDlg->FileCount(), 0);
    }

    QPushButton* OkButton() {
        return m_pDlg->findChild<QPushButton*>(
            QStringLiteral("button%1").arg(CFileMergeDlg::IDC_OK));
    }
    QProgressBar* Progress() {
        return m_pDlg->findChild<QProgressBar*>(
            QStringLiteral("progress%1").arg(CFileMergeDlg::IDC_PROGRESS));
    }

    // OK, then what it said. The sparse files are no recordings, so a list that
    // passes every check ends with the first file refused by the library.
    QStringList PressOk() {
        Click(CFileMergeDlg::IDC_OK);
        // Checks that pass hand the list to the work thread, which answers later.
        EXPECT_TRUE(WaitFor([&] { return !m_pDlg->IsMerging(); }, 20000));
        return TakeMessages();
    }

    QString CannotMerge(const QString& path) { return path + " can not be merged!"; }
};

TEST_F(MergeDialogOkTest, TooFewFilesThenNoOutputAreRefusedFirst) {
    ListFiles({Recording("a.mp4")});
    EXPECT_EQ(PressOk(), QStringList{"The number of files can not be smaller than two!"});
    ListFiles({Recording("a.mp4")});
    EXPECT_EQ(PressOk(), QStringList{"The save path can not be empty!"});
    EXPECT_FALSE(m_pDlg->IsMerging());
}

TEST_F(MergeDialogOkTest, FilesAddingUpToFourGibibytesAreRefusedAndOneByteLessPasses) {
    ScopedFreeSpaceOverride plenty([](const QString&) { return 100 * kGiB; });
    ChooseOutput(Path("out.mp4"));
    const QString half = SparseFile("half.bin", 2 * kGiB);
    const QString halfLess = SparseFile("half-less.bin", 2 * kGiB - 1);
    ListFiles({half, half});
    EXPECT_EQ(PressOk(), QStringList{"Can not be merged:Target file large than 4 GB!"});

    ClearList();
    ListFiles({half, halfLess});
    EXPECT_EQ(PressOk(), QStringList{CannotMerge(half)});

    // Sizes above 4 GiB count in full: two 5 GiB files are not 2 GiB.
    ClearList();
    const QString big = SparseFile("big.bin", 5 * kGiB);
    ListFiles({big, big});
    EXPECT_EQ(PressOk(), QStringList{"Can not be merged:Target file large than 4 GB!"});
    EXPECT_TRUE(FolderEntries().contains("big.bin"));
    EXPECT_FALSE(FolderEntries().contains("out.mp4"));
}

TEST_F(MergeDialogOkTest, FreeSpaceEqualToTheTotalIsEnoughAndOneByteLessIsNot) {
    const QString one = SparseFile("one.bin", 1000);
    const QString two = SparseFile("two.bin", 2000);
    ChooseOutput(Path("out.mp4"));
    ListFiles({one, two});
    QString asked;
    {
        ScopedFreeSpaceOverride tight([&](const QString& path) {
            asked = path;
            return uint64_t{2999};
        });
        EXPECT_EQ(PressOk(), QStringList{"Disk space not enough!"});
    }
    EXPECT_EQ(asked, Path("out.mp4"));
    ScopedFreeSpaceOverride exact([](const QString&) { return uint64_t{3000}; });
    EXPECT_EQ(PressOk(), QStringList{CannotMerge(one)});
}

TEST_F(MergeDialogOkTest, AFileDeletedAfterListingStopsOkWithItsPath) {
    const QString a = Recording("a.mp4");
    const QString gone = Path("gone.mp4");
    ASSERT_TRUE(QFile::copy(a, gone));
    AddThroughPicker({a, gone});
    ASSERT_EQ(m_pDlg->FileCount(), 2);
    ChooseOutput(Path("out.mp4"));
    ASSERT_TRUE(QFile::remove(gone));
    EXPECT_EQ(PressOk(), QStringList{CannotMerge(gone)});
    EXPECT_FALSE(m_pDlg->IsMerging());
    EXPECT_TRUE(OkButton()->isEnabled());
}

TEST_F(MergeDialogOkTest, AMergeRunsOnItsThreadAndReportsSuccess) {
    const QString a = Recording("a.mp4", 50);
    const QString b = Recording("b.mp4", 30);
    AddThroughPicker({a, b, a});
    ChooseOutput(Path("joined.mp4"));
    Click(CFileMergeDlg::IDC_OK);
    EXPECT_TRUE(m_pDlg->IsMerging());
    EXPECT_FALSE(OkButton()->isEnabled());
    EXPECT_TRUE(Progress()->isVisible());
    ASSERT_TRUE(WaitFor([&] { return !m_messages.isEmpty(); }, 20000));
    EXPECT_EQ(TakeMessages(), QStringList{"Success to merge!"});
    EXPECT_FALSE(m_pDlg->IsMerging());
    EXPECT_TRUE(OkButton()->isEnabled());
    EXPECT_FALSE(Progress()->isVisible());

    // What the output holds is the library's business, proven in its own tests.
    EXPECT_TRUE(FolderEntries().contains("joined.mp4"));

    // A second OK makes a new handle and merges again.
    Click(CFileMergeDlg::IDC_OK);
    ASSERT_TRUE(WaitFor([&] { return !m_messages.isEmpty(); }, 20000));
    EXPECT_EQ(TakeMessages(), QStringList{"Success to merge!"});
}

TEST_F(MergeDialogOkTest, AnOutputThatCannotBeWrittenFailsToMerge) {
    const QString a = Recording("a.mp4");
    AddThroughPicker({a, a});
    // A folder stands where the output should go.
    ASSERT_TRUE(QDir().mkpath(Path("taken.mp4")));
    ChooseOutput(Path("taken.mp4"));
    Click(CFileMergeDlg::IDC_OK);
    ASSERT_TRUE(WaitFor([&] { return !m_messages.isEmpty(); }, 20000));
    EXPECT_EQ(TakeMessages(), QStringList{"Fail to merge!"});
    EXPECT_EQ(FolderEntries(), (QStringList{"a.mp4", "taken.mp4"}));
}

class MergeDialogStopTest : public MergeDialogOkTest, public testing::WithParamInterface<bool> {};

TEST_P(MergeDialogStopTest, CancelOrClosingStopsTheMergeAndLeavesNoOutput) {
    const bool bClose = GetParam();
    const QString a = Recording("a.mp4");
    AddThroughPicker({a});
    // A long list keeps the library busy long enough to be stopped.
    for (int i = 0; i < 300; ++i) m_pDlg->AppendFile(a, 2);
    ChooseOutput(Path("joined.mp4"));
    Click(CFileMergeDlg::IDC_OK);
    ASSERT_TRUE(m_pDlg->IsMerging());
    // Listing 300 files takes a while under a sanitizer.
    ASSERT_TRUE(WaitFor([&] { return FolderEntries().filter(".part").size() == 1; }, 60000));

    QElapsedTimer timer;
    timer.start();
    if (bClose) {
        m_pDlg->close();
        EXPECT_FALSE(m_pDlg->isVisible());
    } else {
        Click(CFileMergeDlg::IDC_CANCEL);
        EXPECT_TRUE(m_pDlg->isVisible());
    }
    EXPECT_LT(timer.elapsed(), 1100);
    EXPECT_FALSE(m_pDlg->IsMerging());
    EXPECT_TRUE(OkButton()->isEnabled());
    EXPECT_FALSE(Progress()->isVisible());
    SpinFor(200);
    EXPECT_TRUE(TakeMessages().isEmpty());
    EXPECT_EQ(FolderEntries(), QStringList{"a.mp4"});
}

TEST_F(MergeDialogOkTest, CancelWhileTheFilesAreStillBeingListedLeavesNothing) {
    const QString a = Recording("a.mp4");
    for (int i = 0; i < 1000; ++i) m_pDlg->AppendFile(a, 2);
    ChooseOutput(Path("joined.mp4"));
    Click(CFileMergeDlg::IDC_OK);
    ASSERT_TRUE(m_pDlg->IsMerging());
    QElapsedTimer timer;
    timer.start();
    Click(CFileMergeDlg::IDC_CANCEL);
    EXPECT_LT(timer.elapsed(), 1100);
    EXPECT_FALSE(m_pDlg->IsMerging());
    SpinFor(200);
    EXPECT_TRUE(TakeMessages().isEmpty());
    EXPECT_EQ(FolderEntries(), QStringList{"a.mp4"});
    // The next OK starts afresh and completes.
    ClearList();
    m_pDlg->AppendFile(a, 2);
    m_pDlg->AppendFile(a, 2);
    EXPECT_EQ(PressOk(), QStringList{"Success to merge!"});
}

INSTANTIATE_TEST_SUITE_P(ByCancelOrClose, MergeDialogStopTest, testing::Bool());

}  // namespace
