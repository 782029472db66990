#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "app/start_step_runner.h"
#include "app/start_steps.h"
#include "mainwnd/command_ids.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/orlin_dlg.h"
#include "playback/dlg_show.h"
#include "playback/play_wnd.h"
#include "samplegen/samplegen.h"
#include "settings/player_set_dlg.h"
#include "settings/settings_file.h"
#include "wait_for.h"

namespace {

using Kind = StartStep::Kind;

TEST(StartSteps, ReadsEveryKindInOrder) {
    const StartStepList list = ParseStartSteps(
        QStringLiteral("  menu:33048 button:1098   sync-play wait:1500 menu:32816 wait:0"));
    EXPECT_TRUE(list.strError.isEmpty());
    EXPECT_EQ(list.steps, (std::vector<StartStep>{{Kind::Menu, ID_LAYOUT_4},
                                                  {Kind::Button, IDC_SYNC},
                                                  {Kind::SyncPlay, 0},
                                                  {Kind::Wait, 1500},
                                                  {Kind::Menu, ID_PLAYER_SETTING},
                                                  {Kind::Wait, 0}}));
    EXPECT_TRUE(ParseStartSteps(QString()).steps.empty());
    EXPECT_TRUE(ParseStartSteps(QString()).strError.isEmpty());
}

TEST(StartSteps, OneStepNotUnderstoodRejectsTheWholeList) {
    for (const char* szBad :
         {"menu:33048 play", "menu:", "menu:abc", "menu:-5", "button:1e3", "wait:99999999",
          "menu:33048:1", ":12", "sync-play:1", "menu:0x10", "Menu:33048"}) {
        const StartStepList list = ParseStartSteps(QString::fromLatin1(szBad));
        EXPECT_TRUE(list.steps.empty()) << szBad;
        EXPECT_FALSE(list.strError.isEmpty()) << szBad;
    }
    EXPECT_EQ(ParseStartSteps(QStringLiteral("menu:33048 bogus")).strError,
              QStringLiteral("not a step: \"bogus\""));
}

class StartStepWindow : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QFile::remove(SettingsFilePath());
        QStringList arguments{QStringLiteral("orlin")};
        for (int i = 0; i < 2; ++i) {
            samplegen::SampleParams params;
            params.container = samplegen::Container::Mp4;
            params.width = 160;
            params.height = 120;
            params.frameCount = 250;
            params.start = samplegen::StartTime{2024, 3, 1, 12, 0, 2 * i};
            arguments << m_dir.filePath(QStringLiteral("cam%1.mp4").arg(i));
            ASSERT_TRUE(samplegen::WriteSample(arguments.back().toStdString(), params));
        }
        m_dlg.OnInitDialog(arguments);
        m_dlg.show();
    }
    QTemporaryDir m_dir;
    COrlinDlg m_dlg;
};

TEST_F(StartStepWindow, StepsBringTheWindowIntoSynchronousPlayOfThePlaylist) {
    CStartStepRunner runner(
        &m_dlg, ParseStartSteps(QStringLiteral("menu:33048 button:1098 sync-play")).steps);
    runner.Start();
    ASSERT_TRUE(WaitFor([&] { return runner.IsFinished(); }));
    EXPECT_EQ(m_dlg.GetDlgShow()->GetLayout(), 4);
    EXPECT_TRUE(m_dlg.IsSyncMode());
    EXPECT_TRUE(m_dlg.IsSyncRulerShown());
    ASSERT_TRUE(WaitFor([&] {
        return m_dlg.GetDlgShow()->GetPlayWnd(0)->GetPlayState() == PLAY_STATE_PLAYING &&
               m_dlg.GetDlgShow()->GetPlayWnd(1)->GetPlayState() == PLAY_STATE_PLAYING;
    }));
}

TEST_F(StartStepWindow, AModalDialogDoesNotHoldUpTheStepsAfterIt) {
    // The layout step comes while the settings dialog is open; the dialog is
    // closed once it has.
    int nLayoutSeenInDialog = 0;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* pDlg = qobject_cast<CPlayerSetDlg*>(QApplication::activeModalWidget());
        if (pDlg != nullptr && m_dlg.GetDlgShow()->GetLayout() == 9) {
            nLayoutSeenInDialog = 9;
            pDlg->reject();
        }
    });
    poll.start();
    CStartStepRunner runner(&m_dlg,
                            ParseStartSteps(QStringLiteral("menu:32816 wait:50 menu:33050")).steps);
    runner.Start();
    ASSERT_TRUE(WaitFor([&] { return nLayoutSeenInDialog == 9; }));
    EXPECT_TRUE(runner.IsFinished());
}

}  // namespace
