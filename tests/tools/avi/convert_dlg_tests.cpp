#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "controls/orlin_message_box.h"
#include "controls/text_progress_ctrl.h"
#include "samplegen/samplegen.h"
#include "tools/avi/convert_dlg.h"
#include "wait_for.h"

namespace {

// The conversion library beside the test program, as the main window loads it.
void* TrovanModule() {
    static void* s_module =
        dlopen((QCoreApplication::applicationDirPath() + QStringLiteral("/libtrovan.so"))
                   .toUtf8()
                   .constData(),
               RTLD_NOW | RTLD_LOCAL);
    return s_module;
}

class ConvertDlgTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(TrovanModule(), nullptr) << dlerror();
        ASSERT_TRUE(m_folder.isValid());
        SetOrlinMessageBoxSink([this](const QString& strText) { m_messages << strText; });
        CConvertDlg::SetFileChooserForTests(
            [this](bool bSave) { return bSave ? m_strTarget : m_strSource; });
        m_pDlg = std::make_unique<CConvertDlg>(&m_owner, TrovanModule());
        m_pDlg->show();
    }
    void TearDown() override {
        m_pDlg.reset();
        SetOrlinMessageBoxSink(nullptr);
        CConvertDlg::SetFileChooserForTests(nullptr);
    }

    QPushButton* Button(int nId) {
        return m_pDlg->findChild<QPushButton*>(QStringLiteral("button%1").arg(nId));
    }
    void Click(int nId) {
        QPushButton* pButton = Button(nId);
        ASSERT_NE(pButton, nullptr);
        QTest::mouseClick(pButton, Qt::LeftButton);
    }
    // Browses both paths through the dialog's own buttons.
    void ChoosePaths(const QString& strSource, const QString& strTarget) {
        m_strSource = strSource;
        m_strTarget = strTarget;
        if (!strSource.isEmpty()) Click(CConvertDlg::IDC_RES_BROWSE);
        if (!strTarget.isEmpty()) Click(CConvertDlg::IDC_TAR_BROWSE);
    }
    QString Sample(const char* szName, int nFrames, int nSize) {
        const QString strPath = m_folder.filePath(QString::fromLatin1(szName));
        samplegen::SampleParams params;
        params.container = samplegen::Container::Recorder;
        params.width = nSize;
        params.height = nSize * 9 / 11;
        params.frameCount = nFrames;
        params.audio = true;
        EXPECT_TRUE(samplegen::WriteSample(strPath.toStdString(), params));
        return strPath;
    }
    QStringList AviFiles() const {
        return QDir(m_folder.path())
            .entryList({QStringLiteral("*.avi*")}, QDir::Files | QDir::Hidden);
    }
    bool WaitIdle() {
        return WaitFor([this] { return !m_pDlg->IsConverting(); }, 60000);
    }

    QWidget m_owner;
    QTemporaryDir m_folder;
    QStringList m_messages;
    QString m_strSource;
    QString m_strTarget;
    std::unique_ptr<CConvertDlg> m_pDlg;
};

TEST_F(ConvertDlgTest, OpensIdleWithItsTextsAndAsksForBothPaths) {
    EXPECT_EQ(m_pDlg->windowTitle(), QStringLiteral("AVI Conversion"));
    EXPECT_EQ(Button(CConvertDlg::IDC_CONVERT)->text(), QStringLiteral("Convert"));
    EXPECT_EQ(Button(CConvertDlg::IDC_RES_BROWSE)->text(), QStringLiteral("Browse"));
    EXPECT_EQ(m_pDlg->GetProgress()->GetPos(), 0);
    EXPECT_EQ(m_pDlg->GetProgress()->GetRangeMax(), 100);

    ChoosePaths(m_folder.filePath(QStringLiteral("a.rec")), QString());
    EXPECT_EQ(m_pDlg->GetSrcPath(), m_folder.filePath(QStringLiteral("a.rec")));
    Click(CConvertDlg::IDC_CONVERT);
    ASSERT_EQ(m_messages, QStringList{QStringLiteral("Please select the path or file!")});
    EXPECT_FALSE(m_pDlg->IsConverting());
    EXPECT_EQ(m_pDlg->GetHandle(), 0);

    // A fresh dialog with only the target set asks the same.
    m_pDlg = std::make_unique<CConvertDlg>(&m_owner, TrovanModule());
    ChoosePaths(QString(), m_folder.filePath(QStringLiteral("b.avi")));
    Click(CConvertDlg::IDC_CONVERT);
    EXPECT_EQ(m_messages.size(), 2);
    EXPECT_EQ(m_messages.value(1), QStringLiteral("Please select the path or file!"));
}

TEST_F(ConvertDlgTest, ConvertsToTheEndAndASecondConvertTakesANewHandle) {
    ChoosePaths(Sample("short.rec", 25, 176), m_folder.filePath(QStringLiteral("first.avi")));
    Click(CConvertDlg::IDC_CONVERT);
    EXPECT_TRUE(m_pDlg->IsConverting());
    EXPECT_NE(m_pDlg->GetHandle(), 0);
    EXPECT_FALSE(Button(CConvertDlg::IDC_CONVERT)->isEnabled());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("Success to Convert!")});
    EXPECT_EQ(m_pDlg->GetProgress()->GetPos(), 100);
    EXPECT_EQ(m_pDlg->GetHandle(), 0) << "released at 100";
    EXPECT_TRUE(Button(CConvertDlg::IDC_CONVERT)->isEnabled());
    EXPECT_EQ(AviFiles(), QStringList{QStringLiteral("first.avi")});

    ChoosePaths(QString(), m_folder.filePath(QStringLiteral("second.avi")));
    Click(CConvertDlg::IDC_CONVERT);
    EXPECT_NE(m_pDlg->GetHandle(), 0);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(m_messages.value(1), QStringLiteral("Success to Convert!"));
    EXPECT_EQ(AviFiles().size(), 2);
}

TEST_F(ConvertDlgTest, CancelWhileConvertingStaysOpenAtZeroAndCancelWhileIdleCloses) {
    ChoosePaths(Sample("long.rec", 250, 704), m_folder.filePath(QStringLiteral("out.avi")));
    Click(CConvertDlg::IDC_CONVERT);
    ASSERT_TRUE(WaitFor([this] { return m_pDlg->GetProgress()->GetPos() > 0; }, 30000));
    Click(CConvertDlg::IDC_CANCEL);
    EXPECT_TRUE(m_pDlg->isVisible());
    EXPECT_FALSE(m_pDlg->IsConverting());
    EXPECT_EQ(m_pDlg->GetProgress()->GetPos(), 0);
    EXPECT_EQ(m_pDlg->GetHandle(), 0);
    EXPECT_TRUE(Button(CConvertDlg::IDC_CONVERT)->isEnabled());
    EXPECT_TRUE(AviFiles().isEmpty()) << AviFiles().join(QLatin1Char(' ')).toStdString();
    SpinFor(50);
    EXPECT_EQ(m_pDlg->GetProgress()->GetPos(), 0) << "no poll after cancel";
    EXPECT_TRUE(m_messages.isEmpty());

    Click(CConvertDlg::IDC_CANCEL);
    EXPECT_FALSE(m_pDlg->isVisible());
    EXPECT_EQ(m_pDlg->result(), QDialog::Rejected);
}

TEST_F(ConvertDlgTest, ClosingTheDialogMidwayRemovesThePartialFile) {
    ChoosePaths(Sample("long.rec", 250, 704), m_folder.filePath(QStringLiteral("out.avi")));
    Click(CConvertDlg::IDC_CONVERT);
    ASSERT_TRUE(WaitFor([this] { return m_pDlg->GetProgress()->GetPos() > 0; }, 30000));
    EXPECT_FALSE(AviFiles().isEmpty()) << "the conversion writes its hidden file";
    m_pDlg.reset();
    EXPECT_TRUE(AviFiles().isEmpty());
}

TEST_F(ConvertDlgTest, FailuresBeforeAndAfterStartAreReportedAndLeaveTheDialogIdle) {
    // Missing source: the start fails.
    ChoosePaths(m_folder.filePath(QStringLiteral("gone.rec")),
                m_folder.filePath(QStringLiteral("a.avi")));
    Click(CConvertDlg::IDC_CONVERT);
    ASSERT_EQ(m_messages, QStringList{QStringLiteral("Fail to Convert!")});
    EXPECT_FALSE(m_pDlg->IsConverting());
    EXPECT_EQ(m_pDlg->GetHandle(), 0);
    EXPECT_TRUE(Button(CConvertDlg::IDC_CONVERT)->isEnabled());

    // A file that is no recording fails on the conversion's own thread.
    const QString strJunk = m_folder.filePath(QStringLiteral("junk.mp4"));
    {
        std::ofstream out(strJunk.toStdString(), std::ios::binary);
        for (int i = 0; i < 100000; ++i) out.put(static_cast<char>((i * 131) >> 2));
    }
    ChoosePaths(strJunk, QString());
    Click(CConvertDlg::IDC_CONVERT);
    EXPECT_TRUE(m_pDlg->IsConverting());
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(m_messages.value(1), QStringLiteral("Fail to Convert!"));
    EXPECT_EQ(m_pDlg->GetHandle(), 0);
    EXPECT_TRUE(Button(CConvertDlg::IDC_CONVERT)->isEnabled());
    EXPECT_TRUE(AviFiles().isEmpty());
}

TEST_F(ConvertDlgTest, WithoutTheLibraryConvertFailsPlainly) {
    m_pDlg = std::make_unique<CConvertDlg>(&m_owner, nullptr);
    ChoosePaths(Sample("short.rec", 5, 176), m_folder.filePath(QStringLiteral("a.avi")));
    Click(CConvertDlg::IDC_CONVERT);
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("Fail to Convert!")});
    EXPECT_FALSE(m_pDlg->IsConverting());
}

}  // namespace
