// Player soak: the main window in layout 16 opens a recording in each of the
// sixteen panes, lets them play, and closes them all, cycle after cycle.
// Prints RSS, open descriptors and threads after the warm-up cycles and at the
// end, and fails when any of them grew. Not a test (it runs for minutes):
//   orlin-app-soak [CYCLES=200] [WARM_UP=50]
// Runs offscreen unless QT_QPA_PLATFORM names another platform.

#include <unistd.h>

#include <QApplication>
#include <QStandardPaths>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "mainwnd/command_ids.h"
#include "mainwnd/orlin_dlg.h"
#include "playback/dlg_show.h"
#include "playback/play_wnd.h"
#include "process_stats.h"
#include "soak_recordings.h"
#include "wait_for.h"

namespace {

constexpr int64_t kMaxRssGrowthKiB = 5 * 1024;
constexpr int kPlayMs = 500;

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);  // leaves the user's settings alone
    QApplication app(argc, argv);
    const int nCycles = argc > 1 ? std::atoi(argv[1]) : 200;
    const int nWarmUp = argc > 2 ? std::atoi(argv[2]) : 50;
    if (nCycles <= nWarmUp || nWarmUp < 1) {
        std::fprintf(stderr, "usage: %s [CYCLES > WARM_UP] [WARM_UP >= 1]\n", argv[0]);
        return 2;
    }
    const auto folder =
        std::filesystem::temp_directory_path() / ("orlin-app-soak-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::vector<QString> files;
    for (const std::string& path : WriteSoakRecordings(folder)) {
        files.push_back(QString::fromStdString(path));
    }

    COrlinDlg dlg;
    dlg.OnInitDialog({QStringLiteral("orlin")});
    dlg.show();
    dlg.OnCommand(ID_LAYOUT_16);
    CDlgShow* pShow = dlg.GetDlgShow();
    PrintStats("start", ProcessStats::Now());

    ProcessStats warm;
    int nNotPlaying = 0;
    const auto started = std::chrono::steady_clock::now();
    for (int nCycle = 1; nCycle <= nCycles; ++nCycle) {
        for (int i = 0; i < CDlgShow::MAX_PANES; ++i) {
            pShow->SelectPaneByIndex(i);
            dlg.OpenInPane(files[static_cast<size_t>(i) % files.size()]);
        }
        SpinFor(kPlayMs);
        for (int i = 0; i < CDlgShow::MAX_PANES; ++i) {
            if (pShow->GetPlayWnd(i)->GetPlayState() != PLAY_STATE_PLAYING) ++nNotPlaying;
        }
        dlg.OnCommand(ID_CLOSE_FILE);
        SpinFor(20);
        if (nCycle == nWarmUp) {
            warm = ProcessStats::Now();
            PrintStats(("after cycle " + std::to_string(nCycle)).c_str(), warm);
        } else if (nCycle % 25 == 0) {
            PrintStats(("after cycle " + std::to_string(nCycle)).c_str(), ProcessStats::Now());
        }
    }
    const ProcessStats end = ProcessStats::Now();
    PrintStats("end", end);
    std::printf("%d cycles of 16 panes in %.0f s; panes not playing when checked: %d\n", nCycles,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
                nNotPlaying);
    std::filesystem::remove_all(folder);
    return JudgeGrowth(warm, end, kMaxRssGrowthKiB) && nNotPlaying == 0 ? 0 : 1;
}
