// Measures the player with sixteen panes playing: CPU use of the whole
// process, whether any pane falls behind real time, the longest stall of the
// user-interface thread and the longest single command; saves screenshots of
// the main window in layouts 1 and 16. Not a test: run it by hand,
//   xvfb-run -a orlin_sixteen_pane_probe SAMPLE OUT_DIR [SECONDS]

#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <string>

#include "mainwnd/command_ids.h"
#include "mainwnd/orlin_dlg.h"
#include "playback/dlg_show.h"
#include "playback/engine_api.h"
#include "playback/play_wnd.h"
#include "wait_for.h"

namespace {
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double g_dLongestCommandMs = 0;
std::string g_strLongestCommand;

void TimeCommand(const char* szName, const std::function<void()>& fn) {
    QElapsedTimer timer;
    timer.start();
    fn();
    const double dMs = timer.nsecsElapsed() / 1e6;
    std::printf("command %-28s %7.2f ms\n", szName, dMs);
    if (dMs > g_dLongestCommandMs) {
        g_dLongestCommandMs = dMs;
        g_strLongestCommand = szName;
    }
}

// Largest gap between ticks of a 5 ms timer: how long the event loop stalls.
class StallMeter : public QObject {
public:
    StallMeter() {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (m_clock.isValid()) {
                const double dGapMs = m_clock.nsecsElapsed() / 1e6;
                m_dMaxGapMs = std::max(m_dMaxGapMs, dGapMs);
                m_nTicks++;
                if (dGapMs > 50) m_nLongGaps++;
            }
            m_clock.restart();
        });
        m_timer.start(5);
    }
    void Reset() {
        m_dMaxGapMs = 0;
        m_nTicks = 0;
        m_nLongGaps = 0;
        m_clock.invalidate();
    }
    double MaxGapMs() const { return m_dMaxGapMs; }
    int Ticks() const { return m_nTicks; }
    int LongGaps() const { return m_nLongGaps; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_dMaxGapMs = 0;
    int m_nTicks = 0;
    int m_nLongGaps = 0;
};

// Time spent inside the engine's open and play calls, to tell the engine's
// share of a command from the player's.
double g_dMaxOpenMs = 0;
double g_dMaxPlayMs = 0;

void TimeEngineCalls() {
    Engine().OpenFile = [](int32_t nPort, const char* szFile) -> VBOOL {
        QElapsedTimer timer;
        timer.start();
        const VBOOL bDone = Vemor_OpenFile(nPort, szFile);
        g_dMaxOpenMs = std::max(g_dMaxOpenMs, timer.nsecsElapsed() / 1e6);
        return bDone;
    };
    Engine().Play = [](int32_t nPort, VemorRenderWindow* hWnd) -> VBOOL {
        QElapsedTimer timer;
        timer.start();
        const VBOOL bDone = Vemor_Play(nPort, hWnd);
        g_dMaxPlayMs = std::max(g_dMaxPlayMs, timer.nsecsElapsed() / 1e6);
        return bDone;
    };
}

uint32_t FrameOf(CPlayWnd* pPane) {
    return pPane->GetPort() >= 0 ? Engine().GetCurrentFrameNum(pPane->GetPort()) : 0;
}
}  // namespace

int main(int argc, char** argv) {
    // Keeps the user's own settings file out of the measurement.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SAMPLE OUT_DIR [SECONDS]\n", argv[0]);
        return 2;
    }
    const QString strSample = QString::fromLocal8Bit(argv[1]);
    const QDir outDir(QString::fromLocal8Bit(argv[2]));
    const int nSeconds = argc > 3 ? std::max(1, atoi(argv[3])) : 10;

    ScopedEngineOverride restore;
    TimeEngineCalls();
    COrlinDlg dlg;
    dlg.OnInitDialog({QStringLiteral("orlin")});
    dlg.show();
    StallMeter stall;
    CDlgShow* pShow = dlg.GetDlgShow();

    SpinFor(300);
    dlg.grab().save(outDir.filePath(QStringLiteral("layout1_idle.png")));
    dlg.OnCommand(ID_LAYOUT_4);
    SpinFor(300);
    dlg.grab().save(outDir.filePath(QStringLiteral("layout4_idle.png")));
    dlg.OnCommand(ID_LAYOUT_1);
    TimeCommand("open in pane (layout 1)", [&] { dlg.OpenInPane(strSample); });
    SpinFor(2000);
    dlg.grab().save(outDir.filePath(QStringLiteral("layout1_playing.png")));
    TimeCommand("pause", [&] { dlg.OnCommand(ID_PLAY_PAUSE); });
    TimeCommand("play", [&] { dlg.OnCommand(ID_PLAY_PAUSE); });
    TimeCommand("speed up", [&] { dlg.OnCommand(ID_SPEED_UP); });
    TimeCommand("speed down", [&] { dlg.OnCommand(ID_SPEED_DOWN); });
    TimeCommand("frame forward", [&] { dlg.OnCommand(ID_NEXT_FRAME); });
    TimeCommand("go to end", [&] { dlg.OnControl(1080); });
    TimeCommand("go to start", [&] { dlg.OnControl(1079); });
    TimeCommand("stop", [&] { dlg.OnCommand(ID_STOP); });

    TimeCommand("layout 16", [&] { dlg.OnCommand(ID_LAYOUT_16); });
    dlg.resize(1280, 960);
    SpinFor(200);
    for (int i = 0; i < CDlgShow::MAX_PANES; ++i) {
        pShow->SelectPaneByIndex(i);
        TimeCommand(qPrintable(QStringLiteral("open in pane %1").arg(i)),
                    [&] { dlg.OpenInPane(strSample); });
    }
    SpinFor(2000);  // every pane past its start

    std::array<uint32_t, CDlgShow::MAX_PANES> startFrames{};
    for (int i = 0; i < CDlgShow::MAX_PANES; ++i) startFrames[i] = FrameOf(pShow->GetPlayWnd(i));
    stall.Reset();
    QElapsedTimer wall;
    wall.start();
    const double dCpuStart = CpuSeconds();
    SpinFor(nSeconds * 1000);
    const double dCpu = CpuSeconds() - dCpuStart;
    const double dWall = wall.nsecsElapsed() / 1e9;
    std::printf("\nsixteen panes for %.1f s: process CPU %.2f s = %.0f%% of one core\n", dWall,
                dCpu, 100.0 * dCpu / dWall);
    std::printf(
        "longest user-interface stall while playing: %.1f ms (%d of %d 5 ms ticks late by over 50 "
        "ms)\n",
        stall.MaxGapMs(), stall.LongGaps(), stall.Ticks());
    int nBehind = 0;
    for (int i = 0; i < CDlgShow::MAX_PANES; ++i) {
        CPlayWnd* pPane = pShow->GetPlayWnd(i);
        const uint32_t nFrames = FrameOf(pPane) - startFrames[i];
        const double dFps = nFrames / dWall;
        const bool bBehind = dFps < 25.0 * 0.95;
        nBehind += bBehind ? 1 : 0;
        std::printf("pane %2d: state %d, %u frames, %.1f fps%s\n", i, pPane->GetPlayState(),
                    nFrames, dFps, bBehind ? "  BEHIND" : "");
    }
    std::printf("panes behind real time: %d\n", nBehind);
    pShow->SelectPaneByIndex(5);
    SpinFor(600);
    dlg.grab().save(outDir.filePath(QStringLiteral("layout16_playing.png")));

    TimeCommand("pause (16 playing)", [&] { dlg.OnCommand(ID_PLAY_PAUSE); });
    TimeCommand("layout 1 (closes 16)", [&] { dlg.OnCommand(ID_LAYOUT_1); });
    std::printf("longest engine calls: Vemor_OpenFile %.1f ms, Vemor_Play %.1f ms\n", g_dMaxOpenMs,
                g_dMaxPlayMs);
    std::printf("longest command: %s, %.1f ms\n", g_strLongestCommand.c_str(), g_dLongestCommandMs);
    return 0;
}
