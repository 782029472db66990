#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <mutex>
#include <thread>

#include "common/debug_log.h"
#include "controls/orlin_message_box.h"
#include "controls/text_progress_ctrl.h"
#include "playback/dlg_show.h"
#include "playback/main_window_link.h"
#include "playback/play_wnd.h"
#include "samplegen/samplegen.h"
#include "tools/common/free_space.h"
#include "tools/cut/cut_panel_owner.h"
#include "tools/cut/cut_precent_dlg.h"
#include "tools/cut/file_cut_dlg.h"
#include "vidmux.h"
#include "wait_for.h"

namespace {

// The main window as the panes and the panel see it, around a real container.
class FakeMainWindow : public QWidget, public IMainWindowLink, public ICutPanelOwner {
public:
    QObject* MessageReceiver() override { return this; }
    PlayOrder GetPlayOrder() const override { return PLAY_ORDER_SINGLE_PLAY; }
    int32_t PlaylistIndexOf(const QString&) const override { return -1; }
    int32_t PlaylistCount() const override { return 0; }
    QString PlaylistPath(int32_t) const override { return {}; }
    int32_t GetVolume() const override { return 0; }
    bool IsSoundOn() const override { return false; }
    bool IsCutPanelShown() const override { return bCutPanel; }
    void ShowMessage(const QString& strText) override { messages << strText; }

    CDlgShow* CutPanelPanes() const override { return pDlgShow; }
    void CutPanelPlayPause() override { pDlgShow->PlayPause(); }
    void CutPanelClosed() override { bCutPanel = false; }

    CDlgShow* pDlgShow = nullptr;
    bool bCutPanel = true;
    QStringList messages;
};

class FileCutDlgTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        SetOrlinMessageBoxSink([this](const QString& strText) { m_messages << strText; });
        SetDebugLogSink([this](const std::string& line) {
            std::lock_guard lock(m_logMutex);
            m_log.push_back(line);
        });
        m_main.resize(800, 600);
        m_pDlgShow = new CDlgShow(&m_main);
        m_pDlgShow->SetMainWnd(&m_main);
        m_pDlgShow->setGeometry(0, 0, 800, 500);
        m_main.pDlgShow = m_pDlgShow;
        m_main.show();

        // 160x120, 25 fps, 100 frames: 4 s with key frames at 0, 1, 2 and 3 s.
        samplegen::SampleParams params;
        params.container = samplegen::Container::Recorder;
        params.width = 160;
        params.height = 120;
        params.frameCount = 100;
        m_strSource = m_dir.filePath(QStringLiteral("camera.imx"));
        std::string error;
        ASSERT_TRUE(samplegen::WriteSample(m_strSource.toStdString(), params, &error)) << error;
        ASSERT_TRUE(m_pDlgShow->OpenAndPlay(m_strSource));
        ASSERT_TRUE(WaitFor([this] { return m_pDlgShow->GetSelPlayWnd()->IsFileRefDone(); }));
        m_pDlgShow->Pause();

        m_pPanel = new CFileCutDlg(&m_main, &m_main);
        m_pPanel->SetOutputChooser([this](QWidget*, const QString&) {
            ++m_nChooserCalls;
            return m_dir.filePath(QStringLiteral("clip.mp4"));
        });
        m_pPanel->show();
        ASSERT_TRUE(m_pPanel->OpenFile(m_strSource));
        m_pPanel->PlaceOnParent();
    }

    void TearDown() override {
        delete m_pPanel;
        m_pDlgShow->CloseAllPanes();
        SetOrlinMessageBoxSink({});
        SetDebugLogSink({});
    }

    QWidget* Control(int nId) const { return m_pPanel->GetControl(nId); }
    QString Field(int nId) const { return static_cast<QLineEdit*>(Control(nId))->text(); }
    void Click(int nId) { QTest::mouseClick(Control(nId), Qt::LeftButton); }
    bool ClipExists() const {
        return QFileInfo::exists(m_dir.filePath(QStringLiteral("clip.mp4")));
    }
    QStringList FilesBesideSource() const {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
    }
    // Byte length of the range the engine gives for start and end seconds.
    uint64_t RangeBytes(uint32_t nStart, uint32_t nEnd) {
        CPlayWnd* pPane = m_pDlgShow->GetSelPlayWnd();
        VemorFramePos from{}, to{};
        EXPECT_TRUE(pPane->CheckKeyFramePos(nStart * 1000, &from));
        EXPECT_TRUE(pPane->CheckNextKeyFramePos(nEnd * 1000, &to));
        return static_cast<uint64_t>(to.nFilePos - from.nFilePos);
    }
    bool Logged(const std::string& line) {
        std::lock_guard lock(m_logMutex);
        return std::find(m_log.begin(), m_log.end(), line) != m_log.end();
    }

    QTemporaryDir m_dir;
    FakeMainWindow m_main;
    CDlgShow* m_pDlgShow = nullptr;
    CFileCutDlg* m_pPanel = nullptr;
    QString m_strSource;
    QStringList m_messages;
    int m_nChooserCalls = 0;
    std::mutex m_logMutex;
    std::vector<std::string> m_log;
};

TEST_F(FileCutDlgTest, PanelCoversTheWindowsBottomWithTheWholeFileChosen) {
    EXPECT_EQ(m_pPanel->geometry(), QRect(4, 513, 792, 83));
    m_main.resize(900, 700);
    EXPECT_EQ(m_pPanel->geometry(), QRect(4, 613, 892, 83));
    const int c = 892 - 18;
    EXPECT_EQ(Control(1136)->geometry(), QRect(c, 0, 18, 18));
    EXPECT_EQ(Control(1137)->geometry(), QRect(c - 100, 60, 55, 20));
    EXPECT_EQ(Control(1138)->geometry(), QRect(c - 40, 60, 55, 20));
    EXPECT_EQ(Control(1151)->geometry(), QRect(c - 250, 60, 100, 20));
    EXPECT_EQ(Control(1157)->geometry(), QRect(254, 55, 18, 18));
    EXPECT_EQ(m_pPanel->GetTotalTime(), 4u);
    EXPECT_EQ(Field(1149), "00:00:00");
    EXPECT_EQ(Field(1150), "00:00:04");
    EXPECT_EQ(static_cast<QLabel*>(Control(1151))->text(), "00:00:00/00:00:04");
    EXPECT_EQ(Control(1140)->geometry(), QRect(20, 25, 852, 5));
    EXPECT_EQ(Control(1145)->geometry(), QRect(10, 30, 10, 15));
    EXPECT_EQ(Control(1146)->geometry(), QRect(872, 30, 10, 15));
    EXPECT_EQ(Control(1140)->palette().color(QPalette::Window), QColor(255, 255, 0));
    EXPECT_EQ(static_cast<QPushButton*>(Control(1138))->text(), "Cut");
    EXPECT_FALSE(m_pPanel->GetProgressDlg()->isVisible());
}

TEST_F(FileCutDlgTest, MarkersDraggedTogetherMakeTheTimesEqualAndPreviewDoesNothing) {
    // Track 20..772 for 4 s: the start marker's right edge is at x = 20.
    QTest::mousePress(m_pPanel, Qt::LeftButton, {}, QPoint(15, 37));
    QTest::mouseMove(m_pPanel, QPoint(396, 37));  // 4 * 376 / 752 = 2 s
    EXPECT_EQ(m_pPanel->GetTimes(), (CutTimes{2, 4}));
    EXPECT_EQ(Field(1149), "00:00:02");
    EXPECT_EQ(m_pDlgShow->GetSelPlayWnd()->GetPlayState(), PLAY_STATE_PAUSED);
    QTest::mouseMove(m_pPanel, QPoint(790, 37));  // stops at the end marker
    QTest::mouseRelease(m_pPanel, Qt::LeftButton, {}, QPoint(790, 37));
    EXPECT_EQ(m_pPanel->GetTimes(), (CutTimes{4, 4}));
    EXPECT_EQ(Control(1145)->geometry().right() + 1, Control(1146)->geometry().left());
    EXPECT_EQ(static_cast<QLabel*>(Control(1151))->text(), "00:00:00/00:00:00");
    Click(1137);
    EXPECT_FALSE(m_pPanel->IsPreviewRunning());

    // Apart again with the trimming buttons, then a preview of one second runs.
    Click(1157);  // the end is already at the file's end
    for (int nId : {1154, 1154, 1156}) Click(nId);
    EXPECT_EQ(m_pPanel->GetTimes(), (CutTimes{2, 3}));
    Click(1137);
    EXPECT_TRUE(m_pPanel->IsPreviewRunning());
    EXPECT_EQ(m_pDlgShow->GetSelPlayWnd()->GetPlayState(), PLAY_STATE_PLAYING);
    ASSERT_TRUE(WaitFor([this] { return !m_pPanel->IsPreviewRunning(); }, 3000));
    EXPECT_EQ(static_cast<QLabel*>(Control(1151))->text(), "00:00:01/00:00:01");
    EXPECT_EQ(m_pDlgShow->GetSelPlayWnd()->GetPlayState(), PLAY_STATE_PAUSED);
}

TEST_F(FileCutDlgTest, EqualKeyFramesAreRefusedBeforeAnyFileIsChosen) {
    // Start and end both on the key frame at 2 s.
    for (int nId : {1155, 1155, 1156, 1156}) Click(nId);
    ASSERT_EQ(m_pPanel->GetTimes(), (CutTimes{2, 2}));
    Click(1138);
    EXPECT_EQ(m_messages, QStringList{"Real Start Pos is not be Smaller Than Real End Pos!"});
    EXPECT_EQ(m_nChooserCalls, 0);
    EXPECT_EQ(FilesBesideSource(), QStringList{"camera.imx"});
}

TEST_F(FileCutDlgTest, FreeSpaceOfExactlyTheClipIsRefusedAndOneByteMoreCuts) {
    Click(1156);  // end 3 s: the clip runs from key frame 0 to key frame 3
    const uint64_t nNeeded = RangeBytes(0, 3) + 40;
    uint64_t nFree = nNeeded;
    QString strAsked;
    ScopedFreeSpaceOverride freeSpace([&](const QString& strPath) {
        strAsked = strPath;
        return nFree;
    });
    Click(1138);
    EXPECT_EQ(m_messages, QStringList{"Disk space not enough!"});
    EXPECT_EQ(strAsked, m_dir.filePath(QStringLiteral("clip.mp4")));
    EXPECT_FALSE(ClipExists());

    m_messages.clear();
    nFree = nNeeded + 1;
    Click(1138);
    ASSERT_TRUE(WaitFor([this] { return !m_messages.isEmpty(); }));
    EXPECT_EQ(m_messages, QStringList{"Cut Success!"});
    EXPECT_EQ(QFileInfo(m_dir.filePath(QStringLiteral("clip.mp4"))).size(),
              static_cast<qint64>(nNeeded));
    EXPECT_FALSE(m_pPanel->GetProgressDlg()->isVisible());
    EXPECT_EQ(m_pPanel->GetProgressDlg()->GetProgressCtrl()->GetPos(), 100);
}

TEST_F(FileCutDlgTest, CancelSaysOnlyUserCancelAndLeavesNoFile) {
    // The real job starts only once the user has pressed Cancel.
    m_pPanel->SetJobRunner([](const CutJobRequest& request, const std::atomic<bool>& cancel,
                              const CutProgress& progress) {
        for (int i = 0; i < 500 && !cancel; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return RunCutJob(request, cancel, progress);
    });
    Click(1138);
    CCutPrecentDlg* pProgress = m_pPanel->GetProgressDlg();
    ASSERT_TRUE(pProgress->isVisible());
    EXPECT_EQ(pProgress->windowTitle(), "Cut File");
    // Enter and Escape leave the progress window alone.
    QTest::keyClick(pProgress, Qt::Key_Escape);
    QTest::keyClick(pProgress, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(pProgress->isVisible());
    EXPECT_TRUE(m_pPanel->IsCutting());

    QTest::mouseClick(pProgress->GetCancelButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([this] { return !m_messages.isEmpty(); }));
    SpinFor(100);
    EXPECT_EQ(m_messages, QStringList{"User cancel!"});
    EXPECT_FALSE(pProgress->isVisible());
    EXPECT_FALSE(m_pPanel->IsCutting());
    EXPECT_EQ(FilesBesideSource(), QStringList{"camera.imx"});
    EXPECT_TRUE(Logged("CFileCutDlg::CancelCutFile(WPARAM wParam, LPARAM lParam)"));
    EXPECT_TRUE(Logged("CutFile cancel"));
}

TEST_F(FileCutDlgTest, AFileShorterThanASecondDrawsAnEmptyTrackAndRefusesTheCut) {
    samplegen::SampleParams params;
    params.container = samplegen::Container::Recorder;
    params.width = 160;
    params.height = 120;
    params.frameCount = 20;  // 0.8 s: a total time of 0 seconds
    const QString strShort = m_dir.filePath(QStringLiteral("short.imx"));
    ASSERT_TRUE(samplegen::WriteSample(strShort.toStdString(), params));
    ASSERT_TRUE(m_pDlgShow->OpenAndPlay(strShort));
    ASSERT_TRUE(WaitFor([this] { return m_pDlgShow->GetSelPlayWnd()->IsFileRefDone(); }));
    ASSERT_TRUE(m_pPanel->OpenFile(strShort));
    EXPECT_EQ(m_pPanel->GetTotalTime(), 0u);
    EXPECT_EQ(Control(1140)->width(), 0);
    EXPECT_EQ(Control(1142)->geometry(), QRect(20, 25, 752, 5));
    QTest::mousePress(m_pPanel, Qt::LeftButton, {}, QPoint(25, 37));
    QTest::mouseMove(m_pPanel, QPoint(400, 37));
    QTest::mouseRelease(m_pPanel, Qt::LeftButton, {}, QPoint(400, 37));
    EXPECT_EQ(m_pPanel->GetTimes(), (CutTimes{0, 0}));
    Click(1138);
    EXPECT_EQ(m_messages, QStringList{"Get Keyframe position fail!"});
    EXPECT_EQ(m_nChooserCalls, 0);
}

TEST_F(FileCutDlgTest, ClosingPausesThePaneSendsItToItsStartAndClearsTheFlag) {
    m_pDlgShow->PlayPause();
    ASSERT_EQ(m_pDlgShow->GetSelPlayWnd()->GetPlayState(), PLAY_STATE_PLAYING);
    Click(1136);
    EXPECT_FALSE(m_pPanel->isVisible());
    EXPECT_FALSE(m_main.bCutPanel);
    EXPECT_EQ(m_pDlgShow->GetSelPlayWnd()->GetPlayState(), PLAY_STATE_PAUSED);
    EXPECT_TRUE(m_messages.isEmpty());
}

}  // namespace
