// Synchronous play measured through the real main window (offscreen):
//
//   sync-probe play [SECONDS]   sixteen 704x576 25 fps cameras of one event,
//                               starts staggered 0-15 s, layout 16: the spread
//                               of the instants the panes show, ten samples a
//                               second; then, paused, ruler drags to every pane
//                               showing the picture of the chosen second, with
//                               the longest stall of the user-interface thread.
//   sync-probe open             the longest stall of the user-interface
//                               thread while sixteen files dropped on layout
//                               16 open and play, and while synchronous play
//                               of sixteen starts, against FFmpeg opening the
//                               same files and decoding their first pictures
//                               (what a window opening them itself would wait).
//   sync-probe analyze FILE...  the file-time analysis against FFmpeg opening
//                               the same file and reading its stream info.
//
//   QT_QPA_PLATFORM=offscreen build/bin/sync-probe play 20

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "bench_util.h"
#include "controls/skin_button.h"
#include "mainwnd/command_ids.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/ih_list_box.h"
#include "mainwnd/orlin_dlg.h"
#include "mainwnd/playlist_controller.h"
#include "peskin.h"
#include "playback/dlg_show.h"
#include "playback/play_wnd.h"
#include "playback/render_wnd.h"
#include "playback/sync_locate_dlg.h"
#include "samplegen/samplegen.h"

namespace {

constexpr int kCameras = 16;
constexpr int kFps = 25;
constexpr int kFrames = 40 * kFps;
constexpr int kFrameMs = 1000 / kFps;
constexpr int kWatchIntervalMs = 2;

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Worst(const std::vector<double>& values) {
    return values.empty() ? -1 : *std::max_element(values.begin(), values.end());
}

// What the calling thread has done so far by the kernel's account: time on a
// processor and time waiting for one, in milliseconds.
struct ThreadSchedTimes {
    double dRunMs = 0;
    double dQueuedMs = 0;
};

ThreadSchedTimes ReadThreadSchedTimes() {
    ThreadSchedTimes times;
    if (FILE* pFile = std::fopen("/proc/thread-self/schedstat", "r")) {
        unsigned long long nRunNs = 0, nQueuedNs = 0;
        if (std::fscanf(pFile, "%llu %llu", &nRunNs, &nQueuedNs) == 2) {
            times.dRunMs = nRunNs / 1e6;
            times.dQueuedMs = nQueuedNs / 1e6;
        }
        std::fclose(pFile);
    }
    return times;
}

// Longest gap between two runs of a zero-interval timer: how long the
// user-interface thread was busy without returning to its event loop. Of the
// longest gap it keeps how much the thread ran, how long it waited for a
// processor (a loaded machine), and the rest, when it waited on something.
class StallWatch {
public:
    // A non-zero interval lets the thread sleep between ticks as a window
    // does; the stall is then the gap less the interval.
    explicit StallWatch(int nIntervalMs = 0) : m_nIntervalMs(nIntervalMs) {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const double dNow = m_clock.nsecsElapsed() / 1e6 - m_nIntervalMs;
            const ThreadSchedTimes times = ReadThreadSchedTimes();
            if (m_dLast >= 0 && dNow - m_dLast > m_dWorst) {
                m_dWorst = dNow - m_dLast;
                m_dWorstRun = times.dRunMs - m_last.dRunMs;
                m_dWorstQueued = times.dQueuedMs - m_last.dQueuedMs;
            }
            m_dLast = dNow + m_nIntervalMs;
            m_last = times;
        });
        m_clock.start();
        m_timer.start(m_nIntervalMs);
    }
    void Reset() {
        m_dWorst = 0;
        m_dLast = -1;
    }
    double WorstMs() const { return m_dWorst; }
    // "ran R ms, waited Q ms for a processor, B ms blocked"
    std::string WorstBreakdown() const {
        char szText[128];
        std::snprintf(szText, sizeof szText,
                      "ran %.1f ms, waited %.1f ms for a processor, %.1f ms blocked", m_dWorstRun,
                      m_dWorstQueued, std::max(0.0, m_dWorst - m_dWorstRun - m_dWorstQueued));
        return szText;
    }

private:
    const int m_nIntervalMs;
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_dLast = -1;
    double m_dWorst = 0;
    double m_dWorstRun = 0;
    double m_dWorstQueued = 0;
    ThreadSchedTimes m_last;
};

// Times every event the user-interface thread handles and keeps the slowest,
// so that a stall can be traced to the handler that caused it.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* pReceiver, QEvent* pEvent) override {
        QElapsedTimer timer;
        timer.start();
        const int nType = pEvent->type();
        ++m_nDepth;
        const bool bResult = QApplication::notify(pReceiver, pEvent);
        --m_nDepth;
        const double dMs = timer.nsecsElapsed() / 1e6;
        if (m_nDepth == 0 && dMs > 8) {
            m_slow.push_back({dMs, nType, pReceiver->metaObject()->className()});
        }
        return bResult;
    }
    void PrintSlowest(const char* szPhase) {
        std::sort(m_slow.begin(), m_slow.end(),
                  [](const Slow& a, const Slow& b) { return a.dMs > b.dMs; });
        std::printf("  slowest events while %s:", szPhase);
        for (size_t i = 0; i < m_slow.size() && i < 6; ++i) {
            std::printf(" %.1f ms (type %d to %s);", m_slow[i].dMs, m_slow[i].nType,
                        m_slow[i].strClass.c_str());
        }
        std::printf("\n");
        m_slow.clear();
    }

private:
    struct Slow {
        double dMs;
        int nType;
        std::string strClass;
    };
    std::vector<Slow> m_slow;
    int m_nDepth = 0;
};

class SyncPlayProbe {
public:
    bool Prepare() {
        for (int i = 0; i < kCameras; ++i) {
            samplegen::SampleParams params;
            params.container =
                i % 2 == 0 ? samplegen::Container::Recorder : samplegen::Container::Mp4;
            params.width = 704;
            params.height = 576;
            params.frameCount = kFrames;
            params.start = samplegen::StartTime{2024, 3, 1, 12, 0, i};
            const QString strPath =
                m_dir.filePath(QStringLiteral("cam%1.%2").arg(i).arg(i % 2 == 0 ? "imx" : "mp4"));
            std::string error;
            if (!samplegen::WriteSample(strPath.toStdString(), params, &error)) {
                std::fprintf(stderr, "sample: %s\n", error.c_str());
                return false;
            }
            m_paths << strPath;
        }
        return true;
    }

    int Run(int nSeconds) {
        m_dlg.OnInitDialog({QStringLiteral("orlin")});
        m_dlg.resize(1600, 1200);
        m_dlg.show();
        m_dlg.OnCommand(ID_LAYOUT_16);
        for (const QString& strPath : m_paths) m_dlg.AddToPlaylist(strPath);
        m_dlg.GetPlaylist()->GetListBox()->selectAll();
        m_dlg.GetButton(IDC_SYNC)->click();
        StallWatch stalls;
        QElapsedTimer start;
        start.start();
        m_dlg.GetButton(IDC_PLAY_PAUSE)->click();
        const double dStartMs = start.nsecsElapsed() / 1e6;
        if (!Spin([&] { return PaneFrame(0) >= 0; }, 10000)) {
            std::fprintf(stderr, "synchronous play did not start\n");
            return 1;
        }
        std::printf("start of synchronous play: %.1f ms on the user-interface thread\n", dStartMs);
        // Deflicker blends pictures and would smear the frame-number code.
        DlgShowPlaySettings settings = m_dlg.GetDlgShow()->GetPlaySettings();
        settings.bDeflash = false;
        m_dlg.GetDlgShow()->SetPlaySettings(settings);
        m_dlg.GetDlgShow()->ApplySettings();
        MeasureSpread(nSeconds);
        MeasureRepositioning();
        std::printf("longest user-interface stall over the whole run: %.1f ms (goal 50 ms)\n",
                    stalls.WorstMs());
        return 0;
    }

    int RunOpens() {
        m_dlg.OnInitDialog({QStringLiteral("orlin")});
        m_dlg.resize(1600, 1200);
        m_dlg.show();
        m_dlg.OnCommand(ID_LAYOUT_16);
        SpinFor(200);
        const double dFfmpegMs = FfmpegFirstPicturesMs();

        // Sixteen files dropped on the pane area: each opens in a pane of its own.
        CDlgShow* pShow = m_dlg.GetDlgShow();
        const std::vector<uint64_t> before = PresentedCounts();
        StallWatch dropStalls(kWatchIntervalMs);
        QElapsedTimer clock;
        clock.start();
        m_dlg.GetPlaylist()->DropOnPaneArea(m_paths, pShow->mapToGlobal(pShow->rect().center()));
        const bool bDropped = WaitIdly([&] { return AllPanesShowPictures(before); }, 20000);
        const double dDropMs = clock.nsecsElapsed() / 1e6;
        const double dDropStall = dropStalls.WorstMs();
        std::printf(
            "drop of %d files on layout 16: longest stall %.1f ms (goal 16 ms), all playing "
            "after %.0f ms%s; FFmpeg opening them and decoding their first pictures: %.0f ms, "
            "stall/FFmpeg %.3f\n",
            kCameras, dDropStall, dDropMs, bDropped ? "" : " (not all played)", dFfmpegMs,
            dDropStall / dFfmpegMs);
        std::printf("  in the longest stall the window's thread %s\n",
                    dropStalls.WorstBreakdown().c_str());
        static_cast<TimedApplication*>(qApp)->PrintSlowest("the dropped files open");

        // The sixteen dropped again in reverse over the playing panes: each
        // pane closes its file before it opens another.
        QStringList reversed(m_paths.rbegin(), m_paths.rend());
        StallWatch redropStalls(kWatchIntervalMs);
        clock.restart();
        m_dlg.GetPlaylist()->DropOnPaneArea(reversed, pShow->mapToGlobal(pShow->rect().center()));
        // What each pane had presented once it held its new file.
        std::vector<uint64_t> reopened(kCameras, UINT64_MAX);
        const bool bRedropped = WaitIdly(
            [&] {
                for (int i = 0; i < kCameras; ++i) {
                    const CPlayWnd* pPane = pShow->GetPlayWnd(i);
                    if (reopened[i] == UINT64_MAX && pPane->GetFilePath() == reversed[i] &&
                        !pPane->IsOpening()) {
                        reopened[i] = pPane->GetRenderWnd()->PresentedCount();
                    }
                }
                return AllPanesShowPictures(reopened);
            },
            20000);
        std::printf(
            "drop of %d files over %d playing panes: longest stall %.1f ms (goal 16 ms), all "
            "playing after %.0f ms%s\n",
            kCameras, kCameras, redropStalls.WorstMs(), clock.nsecsElapsed() / 1e6,
            bRedropped ? "" : " (not all played)");
        std::printf("  in the longest stall the window's thread %s\n",
                    redropStalls.WorstBreakdown().c_str());
        static_cast<TimedApplication*>(qApp)->PrintSlowest("they open over the playing ones");
        clock.restart();
        m_dlg.OnCommand(ID_LAYOUT_4);
        std::printf("layout 4 in place of 16 playing panes: %.1f ms on the user-interface thread "
                    "(goal 16 ms)\n",
                    clock.nsecsElapsed() / 1e6);
        m_dlg.OnCommand(ID_LAYOUT_16);
        SpinFor(300);

        // Synchronous play of the sixteen.
        m_dlg.GetPlaylist()->GetListBox()->selectAll();
        m_dlg.GetButton(IDC_SYNC)->click();
        StallWatch syncStalls(kWatchIntervalMs);
        SpinFor(300);
        static_cast<TimedApplication*>(qApp)->PrintSlowest("closing them");
        syncStalls.Reset();
        clock.restart();
        m_dlg.GetButton(IDC_PLAY_PAUSE)->click();
        const double dClickMs = clock.nsecsElapsed() / 1e6;
        const bool bSynced = WaitIdly(
            [&] {
                for (int i = 0; i < kCameras; ++i) {
                    if (pShow->GetPlayWnd(i)->GetPlayState() != PLAY_STATE_PLAYING) return false;
                }
                return true;
            },
            20000);
        const double dSyncMs = clock.nsecsElapsed() / 1e6;
        if (!bSynced) {
            for (int i = 0; i < kCameras; ++i) {
                const CPlayWnd* pPane = pShow->GetPlayWnd(i);
                std::printf("  pane %d: state %d, picture %d\n", i, pPane->GetPlayState(),
                            PaneFrame(i));
            }
        }
        const double dSyncStall = std::max(syncStalls.WorstMs(), dClickMs);
        std::printf(
            "synchronous play of %d files: longest stall %.1f ms (goal 16 ms; the play click "
            "itself %.1f ms), all playing after %.0f ms%s; stall/FFmpeg %.3f\n",
            kCameras, dSyncStall, dClickMs, dSyncMs, bSynced ? "" : " (not all played)",
            dSyncStall / dFfmpegMs);
        std::printf("  in the longest stall the window's thread %s\n",
                    syncStalls.WorstBreakdown().c_str());
        static_cast<TimedApplication*>(qApp)->PrintSlowest("synchronous play starts");
        return bDropped && bRedropped && bSynced ? 0 : 1;
    }

private:
    // Every pane plays and has been handed a picture since `before` was
    // taken (the check copies no picture: it must not stall the window itself).
    bool AllPanesShowPictures(const std::vector<uint64_t>& before) {
        for (int i = 0; i < kCameras; ++i) {
            const CPlayWnd* pPane = m_dlg.GetDlgShow()->GetPlayWnd(i);
            if (pPane->GetPlayState() != PLAY_STATE_PLAYING ||
                pPane->GetRenderWnd()->GetContent() != CRenderWnd::Content::Picture ||
                pPane->GetRenderWnd()->PresentedCount() <= before[i]) {
                return false;
            }
        }
        return true;
    }

    std::vector<uint64_t> PresentedCounts() {
        std::vector<uint64_t> counts;
        for (int i = 0; i < kCameras; ++i) {
            counts.push_back(m_dlg.GetDlgShow()->GetPlayWnd(i)->GetRenderWnd()->PresentedCount());
        }
        return counts;
    }

    // Opens every file with FFmpeg alone and decodes its first picture, one
    // after another as a window opening them itself would.
    double FfmpegFirstPicturesMs() const {
        const auto start = bench::Clock::now();
        for (const QString& strPath : m_paths) {
            AVFormatContext* pFormat = nullptr;
            const QByteArray path = strPath.toUtf8();
            if (avformat_open_input(&pFormat, path.constData(), nullptr, nullptr) != 0) continue;
            avformat_find_stream_info(pFormat, nullptr);
            const int nStream =
                av_find_best_stream(pFormat, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
            if (nStream >= 0) {
                const AVCodecParameters* pPar = pFormat->streams[nStream]->codecpar;
                const AVCodec* pCodec = avcodec_find_decoder(pPar->codec_id);
                AVCodecContext* pCtx = avcodec_alloc_context3(pCodec);
                avcodec_parameters_to_context(pCtx, pPar);
                avcodec_open2(pCtx, pCodec, nullptr);
                AVPacket* pPacket = av_packet_alloc();
                AVFrame* pFrame = av_frame_alloc();
                bool bGot = false;
                while (!bGot && av_read_frame(pFormat, pPacket) >= 0) {
                    if (pPacket->stream_index == nStream) {
                        avcodec_send_packet(pCtx, pPacket);
                        bGot = avcodec_receive_frame(pCtx, pFrame) == 0;
                    }
                    av_packet_unref(pPacket);
                }
                av_frame_free(&pFrame);
                av_packet_free(&pPacket);
                avcodec_free_context(&pCtx);
            }
            avformat_close_input(&pFormat);
        }
        return bench::SecondsSince(start) * 1000;
    }

    int PaneFrame(int nPane) {
        const QImage image = m_dlg.GetDlgShow()->GetPlayWnd(nPane)->GetRenderWnd()->LastPicture();
        if (image.isNull()) return -1;
        return samplegen::ReadFrameNumber(image.constBits(), image.width(), image.height(),
                                          static_cast<int>(image.bytesPerLine()));
    }

    // Runs the event loop, which sleeps while it has nothing to do, until
    // `done` holds (checked every few milliseconds) or the time is up.
    bool WaitIdly(const std::function<bool()>& done, int nTimeoutMs) {
        QEventLoop loop;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, [&] {
            if (done()) loop.quit();
        });
        check.start(5);
        QTimer::singleShot(nTimeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
        return done();
    }

    bool Spin(const std::function<bool()>& done, int nTimeoutMs) {
        QElapsedTimer timer;
        timer.start();
        while (!done()) {
            if (timer.elapsed() > nTimeoutMs) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        return true;
    }

    void SpinFor(int nMs) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < nMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }

    // Ten samples a second of every pane that has started its recording: a
    // camera that starts later shows its first picture until the clock gets there.
    void MeasureSpread(int nSeconds) {
        std::vector<double> spreads;
        int nOutside = 0, nUnreadable = 0;
        for (int s = 0; s < nSeconds * 10; ++s) {
            SpinFor(100);
            int nLow = 1 << 30, nHigh = -(1 << 30);
            for (int i = 0; i < kCameras; ++i) {
                const int nFrame = PaneFrame(i);
                if (nFrame < 0) {
                    ++nUnreadable;
                    continue;
                }
                if (nFrame == 0) continue;
                const int nInstant = i * 1000 + nFrame * kFrameMs;
                nLow = std::min(nLow, nInstant);
                nHigh = std::max(nHigh, nInstant);
            }
            if (nHigh < nLow) continue;
            spreads.push_back(nHigh - nLow);
            if (nHigh - nLow > kFrameMs) ++nOutside;
        }
        std::printf(
            "spread of the panes' instants over %zu samples: median %.0f ms, worst %.0f ms; "
            "%d samples over one frame (%d ms); %d unreadable pane pictures\n",
            spreads.size(), Median(spreads), Worst(spreads), nOutside, kFrameMs, nUnreadable);
    }

    // Drags the ruler's cursor a few pixels on the fully zoomed ruler (about two
    // seconds a pixel) with the group paused, and waits until every pane shows
    // exactly the picture recorded at the chosen second.
    void MeasureRepositioning() {
        CSyncLocateDlg* pRuler = m_dlg.GetSyncRuler();
        if (!Spin([&] { return pRuler->IsCursorShown(); }, 5000)) {
            std::printf("repositioning: the ruler shows no cursor\n");
            return;
        }
        m_dlg.GetButton(IDC_PLAY_PAUSE)->click();
        for (int i = 0; i < 59; ++i) {
            const QPoint pt(pRuler->CursorX(), 60);
            QWheelEvent wheel(pt, pRuler->mapToGlobal(pt), QPoint(), QPoint(0, 120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(pRuler, &wheel);
        }
        std::vector<double> settle, release;
        int nMissed = 0;
        for (int r = 0; r < 10; ++r) {
            SpinFor(300);
            const int x = pRuler->CursorX();
            const int nTo = x + (r % 2 == 0 ? -2 : 3);
            QTest::mousePress(pRuler, Qt::LeftButton, Qt::NoModifier, QPoint(x, 8));
            QTest::mouseMove(pRuler, QPoint((x + nTo) / 2, 8));
            QElapsedTimer timer;
            timer.start();
            QTest::mouseRelease(pRuler, Qt::LeftButton, Qt::NoModifier, QPoint(nTo, 8));
            release.push_back(timer.nsecsElapsed() / 1e6);
            const QString strTarget = pRuler->CursorText();
            const int nSecond = strTarget.section(':', 2).toInt();
            const bool bAll = Spin(
                [&] {
                    for (int i = 0; i < kCameras; ++i) {
                        const int nWant = (nSecond - i) * kFps;
                        if (nWant >= 0 && PaneFrame(i) != nWant) return false;
                    }
                    return true;
                },
                5000);
            if (bAll) {
                settle.push_back(timer.nsecsElapsed() / 1e6);
            } else {
                ++nMissed;
                std::printf("  missed %s:", strTarget.toUtf8().constData());
                for (int i = 0; i < kCameras; ++i) {
                    std::printf(" %d/%d", PaneFrame(i), (nSecond - i) * kFps);
                }
                std::printf("\n");
            }
        }
        std::printf(
            "repositioning (ruler drag to all %d paused panes on the chosen second's picture): "
            "median %.0f ms, worst %.0f ms, %d of 10 missed (goal median 300 ms)\n",
            kCameras, Median(settle), Worst(settle), nMissed);
        std::printf(
            "  release handled on the user-interface thread in: median %.1f ms, worst %.1f ms\n",
            Median(release), Worst(release));
    }

    QTemporaryDir m_dir;
    QStringList m_paths;
    COrlinDlg m_dlg;
};

double FfmpegOpenMs(const char* szPath) {
    const auto start = bench::Clock::now();
    AVFormatContext* pFormat = nullptr;
    if (avformat_open_input(&pFormat, szPath, nullptr, nullptr) != 0) return -1;
    avformat_find_stream_info(pFormat, nullptr);
    avformat_close_input(&pFormat);
    return bench::SecondsSince(start) * 1000;
}

int Analyze(int argc, char* argv[]) {
    const int32_t nHandle = PESKIN_CreateHandle();
    for (int i = 2; i < argc; ++i) {
        std::vector<double> analysis, ffmpeg;
        int32_t nResult = 0;
        for (int r = 0; r < 5; ++r) {
            uint8_t record[PESKIN_RECORD_BYTES] = {};
            const auto start = bench::Clock::now();
            nResult = PESKIN_AnalyzeFile(nHandle, argv[i], record);
            analysis.push_back(bench::SecondsSince(start) * 1000);
            ffmpeg.push_back(FfmpegOpenMs(argv[i]));
        }
        const double dOurs = Median(analysis), dTheirs = Median(ffmpeg);
        std::printf(
            "%s: analysis %.2f ms (result %d), FFmpeg open + stream info %.2f ms, ratio %.2f "
            "(goal 50 ms)\n",
            argv[i], dOurs, nResult, dTheirs, dOurs / dTheirs);
    }
    PESKIN_DestroyHandle(nHandle);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string strMode = argc > 1 ? argv[1] : "";
    if (strMode == "analyze" && argc > 2) return Analyze(argc, argv);
    if (strMode != "play" && strMode != "open") {
        std::fprintf(stderr,
                     "usage: sync-probe play [SECONDS] | sync-probe open | "
                     "sync-probe analyze FILE...\n");
        return 2;
    }
    TimedApplication app(argc, argv);
    SyncPlayProbe probe;
    if (!probe.Prepare()) return 1;
    if (strMode == "open") return probe.RunOpens();
    return probe.Run(argc > 2 ? std::max(1, std::atoi(argv[2])) : 20);
}
