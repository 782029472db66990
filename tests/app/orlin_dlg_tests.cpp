#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <atomic>
#include <utility>

#include "mainwnd/about_dlg.h"
#include "mainwnd/orlin_dlg.h"
#include "playback/dlg_show.h"
#include "playback/engine_api.h"
#include "playback/play_wnd.h"
#include "samplegen/samplegen.h"
#include "settings/settings_file.h"
#include "wait_for.h"

namespace {
std::atomic<int> g_nPortsTaken{0};
std::atomic<int> g_nPortsFreed{0};

void CountPorts() {
    g_nPortsTaken = 0;
    g_nPortsFreed = 0;
    Engine().GetPort = [](int32_t* pPort) -> VBOOL {
        const VBOOL bDone = Vemor_GetPort(pPort);
        if (bDone) ++g_nPortsTaken;
        return bDone;
    };
    Engine().FreePort = [](int32_t nPort) -> VBOOL {
        const VBOOL bDone = Vemor_FreePort(nPort);
        if (bDone) ++g_nPortsFreed;
        return bDone;
    };
}

class ShellTest : public testing::Test {
protected:
    QString Sample(const char* szName) {
        samplegen::SampleParams params;
        params.container = samplegen::Container::Mp4;
        params.width = 160;
        params.height = 120;
        const QString strPath = m_dir.filePath(QString::fromUtf8(szName));
        EXPECT_TRUE(samplegen::WriteSample(strPath.toStdString(), params));
        return strPath;
    }
    QTemporaryDir m_dir;
};
}  // namespace

TEST_F(ShellTest, StartsWithDefaultsAtTheOriginAndIgnoresEscape) {
    QFile::remove(SettingsFilePath());
    COrlinDlg dlg;
    dlg.OnInitDialog({QStringLiteral("orlin")});
    dlg.show();
    EXPECT_EQ(dlg.pos(), QPoint(0, 0));
    EXPECT_EQ(dlg.size(), QSize(800, 600));
    EXPECT_TRUE(dlg.IsTimer2Running());
    EXPECT_EQ(dlg.GetPlayOrder(), PLAY_ORDER_PLAYLIST_PLAY);
    EXPECT_EQ(dlg.GetVolume(), 0x7FFF);
    EXPECT_TRUE(dlg.IsSoundOn());
    EXPECT_EQ(dlg.GetStatusText(), QStringLiteral("Ready"));
    EXPECT_EQ(dlg.GetDlgShow()->GetSelPlayWnd()->GetPlayState(), PLAY_STATE_IDLE);

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &escape);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);
}

TEST_F(ShellTest, CommandLineFilesAreListedTheFirstPlaysInPaneZeroAndShutdownFreesEveryPort) {
    const QString strPath = Sample("command_line_50_frames.mp4");
    const QString strSecond = Sample("command_line_second.mp4");
    ScopedEngineOverride restore;
    CountPorts();
    QFile::remove(SettingsFilePath());
    {
        COrlinDlg dlg;
        dlg.OnInitDialog(
            {QStringLiteral("orlin"), strPath, m_dir.filePath("missing.mp4"), strSecond});
        dlg.show();
        EXPECT_EQ(dlg.PlaylistCount(), 2);
        EXPECT_EQ(dlg.PlaylistPath(1), strSecond);
        const CPlayWnd* pPane = dlg.GetDlgShow()->GetPlayWnd(0);
        EXPECT_EQ(dlg.GetDlgShow()->GetSelIndex(), 0);
        EXPECT_EQ(pPane->GetFilePath(), strPath);
        EXPECT_TRUE(WaitFor([&] { return pPane->GetPlayState() == PLAY_STATE_PLAYING; }));
        EXPECT_TRUE(WaitFor([&] { return dlg.GetStatusText() == QStringLiteral("Playing"); }));
        // Timer 2 fills the time label from the engine's counters.
        EXPECT_TRUE(WaitFor([&] { return dlg.GetTimeText().contains(QStringLiteral("/50")); }));
        EXPECT_GT(g_nPortsTaken, 0);
    }
    EXPECT_EQ(g_nPortsTaken.load(), g_nPortsFreed.load());
    // Closing saved the settings although nothing changed.
    EXPECT_TRUE(QFile::exists(SettingsFilePath()));
}

TEST_F(ShellTest, RejectedOrMissingPathsOpenNothingAndSayWhy) {
    const QString strGarbage = m_dir.filePath("garbage.mp4");
    QFile garbage(strGarbage);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, '\x5a'));
    garbage.close();
    const QString strEmpty = m_dir.filePath("empty.264");
    QFile empty(strEmpty);
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    const QString strFolder = m_dir.filePath("camera1");
    ASSERT_TRUE(QDir().mkpath(strFolder));
    const std::pair<QString, QString> cases[] = {
        {strGarbage, "garbage.mp4: not a video file"},
        {strEmpty, "empty.264: empty file"},
        {m_dir.filePath("missing.mp4"), "missing.mp4: file not found"},
        {strFolder, "camera1: a folder, not a file"},
    };
    for (const auto& [strArg, strWhy] : cases) {
        COrlinDlg dlg;
        dlg.OnInitDialog({QStringLiteral("orlin"), strArg});
        EXPECT_EQ(dlg.GetDlgShow()->GetPlayWnd(0)->GetPlayState(), PLAY_STATE_IDLE)
            << strArg.toStdString();
        EXPECT_EQ(dlg.PlaylistCount(), 0);
        EXPECT_EQ(dlg.GetPathText(), strWhy);
        EXPECT_EQ(dlg.GetStatusText(), QStringLiteral("Ready"));
    }
}

TEST(AboutBox, ShowsProgramAndEngineVersions) {
    CAboutDlg about(nullptr);
    EXPECT_EQ(about.windowTitle(), QStringLiteral(" Orlin"));
    EXPECT_EQ(about.ProgramText(), QStringLiteral("Orlin, V6.2.0.1"));
    EXPECT_EQ(about.EngineText(), FormatEngineVersion(Vemor_GetSdkVersion()));
}
