// The file information window on real files, offscreen.

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include "lang/language_parser.h"
#include "samplegen/samplegen.h"
#include "tools/fileinfo/file_info_dlg.h"
#include "tools/fileinfo/file_info_format.h"
#include "tools/fileinfo/info_tab_page.h"

namespace {

class FileInfoDlgTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        CLanguageParser::LoadStringFile(LANGUAGE_ENGLISH);
    }
    QString WriteMp4() {
        samplegen::SampleParams params;
        params.container = samplegen::Container::Mp4;
        params.width = 160;
        params.height = 120;
        params.frameCount = 25;
        const QString strPath = m_dir.filePath(QStringLiteral("cam 1 h264.mp4"));
        std::string error;
        EXPECT_TRUE(samplegen::WriteSample(strPath.toStdString(), params, &error)) << error;
        return strPath;
    }
    static QStringList Column(const CInfoTabPage* pPage, bool bLabels) {
        QStringList texts;
        for (int i = 0; i < pPage->RowCount(); ++i) {
            texts << (bLabels ? pPage->GetLabel(i)->text() : pPage->GetValue(i)->text());
        }
        return texts;
    }

    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(FileInfoDlgTest, ShowsTheFileAndWhatTheProbeFound) {
    FileInfoSource source;
    source.strPath = WriteMp4();
    source.nFrameRate = 25;
    source.nWidth = 160;
    source.nHeight = 120;
    source.nFileSeconds = 3725;
    CFileInfoDlg dlg(nullptr, source);

    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("File Information"));
    EXPECT_EQ(dlg.GetFileNameText(), QStringLiteral("cam 1 h264.mp4"));
    EXPECT_EQ(dlg.GetOkButton()->text(), QStringLiteral("OK"));
    EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("static1104"))->text(),
              QStringLiteral("File Name:"));
    const CInfoTabPage* pBasic = dlg.GetPage(0);
    const CInfoTabPage* pExtra = dlg.GetPage(1);
    EXPECT_EQ(
        Column(pBasic, true),
        QStringList({"File Type:", "File Size:", "File Length:", "Resolution:", "File Path:"}));
    EXPECT_EQ(Column(pBasic, false),
              QStringList({"3GP", FormatFileSize(QFile(source.strPath).size()), "01:02:05",
                           "160 * 120", source.strPath}));
    EXPECT_EQ(Column(pExtra, true),
              QStringList({"Video Format:", "Video Frame Rate:", "Audio Format:"}));
    EXPECT_EQ(Column(pExtra, false), QStringList({"264", "25", "no"}));
    // The extra page uses the sixth to eighth controls, placed from the top row.
    EXPECT_EQ(pExtra->GetValue(0)->geometry(), CInfoTabPage::ValueRect(0));
    EXPECT_EQ(pBasic->GetLabel(4)->geometry(), QRect(5, 105, 100, 20));
}

TEST_F(FileInfoDlgTest, TabsSwitchPagesAndEnterInAPageKeepsTheWindowOpen) {
    FileInfoSource source;
    source.strPath = WriteMp4();
    CFileInfoDlg dlg(nullptr, source);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_TRUE(dlg.GetPage(0)->isVisible());
    EXPECT_FALSE(dlg.GetPage(1)->isVisible());

    QTabBar* pTabs = dlg.GetTabBar();
    QTest::mouseClick(pTabs, Qt::LeftButton, {}, pTabs->tabRect(1).center());
    EXPECT_FALSE(dlg.GetPage(0)->isVisible());
    EXPECT_TRUE(dlg.GetPage(1)->isVisible());
    EXPECT_TRUE(dlg.GetPage(1)->GetValue(1)->text().isEmpty());  // frame rate 0

    QLineEdit* pValue = dlg.GetPage(1)->GetValue(0);
    pValue->setFocus();
    QTest::keyClick(pValue, Qt::Key_Return);
    QTest::keyClick(pValue, Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);

    QTest::mouseClick(dlg.GetOkButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(FileInfoDlgTest, UnreadableFileShowsZeroBytesAndNoFormats) {
    FileInfoSource source;
    source.strPath = m_dir.filePath(QStringLiteral("gone.mp4"));
    CFileInfoDlg dlg(nullptr, source);
    EXPECT_EQ(dlg.GetFileNameText(), QStringLiteral("gone.mp4"));
    EXPECT_EQ(dlg.GetPage(0)->GetValue(0)->text(), QStringLiteral("no"));
    EXPECT_EQ(dlg.GetPage(0)->GetValue(1)->text(), QStringLiteral("0 B"));
    EXPECT_EQ(dlg.GetPage(1)->GetValue(2)->text(), QStringLiteral("no"));
}

TEST_F(FileInfoDlgTest, EmptyPathLeavesEveryRowEmpty) {
    CFileInfoDlg dlg(nullptr, FileInfoSource{});
    for (int nPage = 0; nPage < 2; ++nPage) {
        for (int i = 0; i < dlg.GetPage(nPage)->RowCount(); ++i) {
            EXPECT_TRUE(dlg.GetPage(nPage)->GetValue(i)->text().isEmpty());
            EXPECT_TRUE(dlg.GetPage(nPage)->GetLabel(i)->isHidden());
        }
    }
}

TEST_F(FileInfoDlgTest, SizeOfAFileOverFourGigabytesIsWhole) {
    const QString strPath = m_dir.filePath(QStringLiteral("sparse.264"));
    QFile file(strPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(5ll << 30));  // a hole: nothing is written
    file.close();
    FileInfoSource source;
    source.strPath = strPath;
    CFileInfoDlg dlg(nullptr, source);
    EXPECT_EQ(dlg.GetFileSize(), 5ull << 30);
    EXPECT_EQ(dlg.GetPage(0)->GetValue(1)->text(), QStringLiteral("5120.00 MB"));
}
