// Time from a key press on the main window to its effect on screen: play/pause
// and frame forward through the default hot keys, and from the full-screen
// command to the first picture drawn at full-screen size. Each figure is the
// median of several presses on a 640 x 480 recording; the goal is 50 ms.
//
//   QT_QPA_PLATFORM=offscreen build/bin/key-latency-probe

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "mainwnd/command_ids.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/orlin_dlg.h"
#include "playback/dlg_show.h"
#include "playback/play_wnd.h"
#include "playback/render_wnd.h"
#include "samplegen/samplegen.h"

namespace {
constexpr int kRounds = 15;
constexpr double kGoalMs = 50.0;

int FrameShown(CPlayWnd* pPane) {
    const QImage image = pPane->GetRenderWnd()->LastPicture();
    if (image.isNull()) return -1;
    return samplegen::ReadFrameNumber(image.constBits(), image.width(), image.height(),
                                      static_cast<int>(image.bytesPerLine()));
}

// Milliseconds from the start of `act` until `done` holds, spinning the event
// loop; -1 after 2 s.
double MsUntil(const std::function<bool()>& done, const std::function<void()>& act = {}) {
    QElapsedTimer timer;
    timer.start();
    if (act) act();
    while (!done()) {
        if (timer.elapsed() > 2000) return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return timer.nsecsElapsed() / 1e6;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

void Report(const char* szWhat, const std::vector<double>& values) {
    const double dMedian = Median(values);
    const double dWorst = values.empty() ? -1 : *std::max_element(values.begin(), values.end());
    std::printf("%-34s median %7.2f ms  worst %7.2f ms  goal %.0f ms  median/goal %.2f\n", szWhat,
                dMedian, dWorst, kGoalMs, dMedian / kGoalMs);
}
}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    samplegen::SampleParams params;
    params.container = samplegen::Container::Mp4;
    params.width = 640;
    params.height = 480;
    params.frameCount = 250;
    const std::string path = dir.filePath(QStringLiteral("latency_640x480.mp4")).toStdString();
    std::string error;
    if (!samplegen::WriteSample(path, params, &error)) {
        std::fprintf(stderr, "sample: %s\n", error.c_str());
        return 1;
    }
    COrlinDlg dlg;
    dlg.OnInitDialog({QStringLiteral("orlin")});
    dlg.show();
    dlg.OpenInPane(QString::fromStdString(path));
    CPlayWnd* pPane = dlg.GetDlgShow()->GetSelPlayWnd();
    if (MsUntil([&] { return pPane->IsFileRefDone() && FrameShown(pPane) >= 0; }) < 0) {
        std::fprintf(stderr, "the recording did not play\n");
        return 1;
    }
    QWidget* pList = dlg.GetControl(IDC_PLAYLIST);
    std::vector<double> frameForward, playPause, fullScreen;
    for (int i = 0; i < kRounds; ++i) {
        // Pause (Space), then step (Right): each until the picture changes.
        QTest::keyClick(pList, Qt::Key_Space);
        MsUntil([&] { return pPane->GetPlayState() == PLAY_STATE_PAUSED; });
        QTest::qWait(100);
        const int nBefore = FrameShown(pPane);
        frameForward.push_back(MsUntil([&] { return FrameShown(pPane) == nBefore + 1; },
                                       [&] { QTest::keyClick(pList, Qt::Key_Right); }));
        // Play (Space) from the pause: until a later picture is on screen.
        const int nPaused = FrameShown(pPane);
        playPause.push_back(MsUntil([&] { return FrameShown(pPane) > nPaused; },
                                    [&] { QTest::keyClick(pList, Qt::Key_Space); }));
        // Full screen: until a picture of the new pane size is drawn.
        const QSize before = pPane->GetRenderWnd()->LastPicture().size();
        fullScreen.push_back(MsUntil(
            [&] {
                const QImage image = pPane->GetRenderWnd()->LastPicture();
                return image.size() != before && image.size() == pPane->GetRenderWnd()->size();
            },
            [&] { dlg.OnCommand(ID_FULL_SCREEN); }));
        dlg.OnCommand(ID_FULL_SCREEN);
        QTest::qWait(100);
        if (pPane->GetPlayState() != PLAY_STATE_PLAYING || FrameShown(pPane) > 200) {
            dlg.GetDlgShow()->GoToStart();
            dlg.GetDlgShow()->Play();
            QTest::qWait(100);
        }
    }
    Report("frame forward (Right)", frameForward);
    Report("play after pause (Space)", playPause);
    Report("full screen to first picture", fullScreen);
    return 0;
}
