// Cut throughput against the standard tools doing the same work in the same run:
//   cut-bench bytes SOURCE START END FOLDER   byte copy of [START, END) against dd
//   cut-bench stream SOURCE FROM_MS TO_MS FOLDER   stream copy against ffmpeg -c copy
// Each side runs three times, alternating, on a warm page cache and after a
// sync; the best run counts.
// The byte copy runs the way the cut panel runs it: on a work thread that
// posts its progress to a progress bar on the user-interface thread, whose
// longest pause between 5 ms timer ticks is reported.

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "bench_util.h"
#include "controls/text_progress_ctrl.h"
#include "tools/cut/cut_job.h"
#include "vidmux.h"

namespace {

using bench::Clock;
using bench::SecondsSince;

struct RunResult {
    double seconds = 0;
    double worstUiGapMs = 0;
    double worstHandlerMs = 0;  // the longest the progress bar's update took
    CutMessage result = CutMessage::None;
};

// Runs the cut on a work thread while the user-interface thread keeps a 5 ms
// timer and a progress bar fed by posted events.
RunResult RunCut(const CutJobRequest& request) {
    CTextProgressCtrl progressBar;
    progressBar.resize(300, 20);
    progressBar.show();
    RunResult run;
    std::atomic<bool> cancel{false};
    QEventLoop loop;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        run.worstUiGapMs = std::max(run.worstUiGapMs, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    const auto start = Clock::now();
    sinceTick.start();
    ticker.start();
    std::thread worker([&] {
        run.result = RunCutJob(request, cancel, [&](int nPercent) {
            QMetaObject::invokeMethod(
                &progressBar,
                [&, nPercent] {
                    QElapsedTimer handler;
                    handler.start();
                    progressBar.SetPos(nPercent);
                    run.worstHandlerMs = std::max(run.worstHandlerMs, handler.nsecsElapsed() / 1e6);
                },
                Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    run.seconds = SecondsSince(start);
    QApplication::processEvents();
    return run;
}

// The longest pause between 5 ms timer ticks of an idle user-interface thread:
// what the machine itself costs, to set the pauses during a cut against.
double IdleUiGapMs(int nMilliseconds) {
    double worst = 0;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        worst = std::max(worst, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    QEventLoop loop;
    QTimer::singleShot(nMilliseconds, &loop, &QEventLoop::quit);
    sinceTick.start();
    ticker.start();
    loop.exec();
    return worst;
}

constexpr int kRounds = 3;

// Every side starts with no dirty pages of an earlier run still being written.
void CleanStart() { ::sync(); }

double TimeCommand(const std::string& command) {
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
    return SecondsSince(start);
}

int64_t FileSize(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? -1 : static_cast<int64_t>(size);
}

int Bytes(const std::string& source, int64_t nStart, int64_t nEnd, const std::string& folder) {
    const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 1;
    CutJobRequest request;
    request.strSource = source;
    request.nSourceFd = fd;
    request.strTarget = folder + "/cut-bytes.rec";
    request.nHeadLength = Vemor_GetFileHeadLength();
    request.range.nStart = nStart;
    request.range.nEnd = nEnd;
    const double mib = (nEnd - nStart) / 1048576.0;
    const std::string range = " skip=" + std::to_string(nStart) +
                              " count=" + std::to_string(nEnd - nStart) + " status=none";
    const std::string dd = "dd if=" + source + " of=" + folder +
                           "/dd-bytes.rec bs=1M iflag=skip_bytes,count_bytes" + range;
    TimeCommand("cat " + source + " > /dev/null");
    double best = 1e9, bestDd = 1e9, bestDdNoSync = 1e9, worstGap = 0, worstHandler = 0;
    for (int i = 0; i < kRounds; ++i) {
        CleanStart();
        const RunResult run = RunCut(request);
        if (run.result != CutMessage::CutSucc) std::fprintf(stderr, "cut failed\n");
        best = std::min(best, run.seconds);
        worstGap = std::max(worstGap, run.worstUiGapMs);
        worstHandler = std::max(worstHandler, run.worstHandlerMs);
        CleanStart();
        bestDd = std::min(bestDd, TimeCommand(dd + " conv=fsync"));
        CleanStart();
        bestDdNoSync = std::min(bestDdNoSync, TimeCommand(dd));
    }
    ::close(fd);
    std::printf(
        "byte copy of %.0f MiB: cut %.2f s (%.0f MiB/s, clip %lld bytes), "
        "dd conv=fsync %.2f s (%.0f MiB/s), dd without fsync %.2f s\n",
        mib, best, mib / best, static_cast<long long>(FileSize(request.strTarget)), bestDd,
        mib / bestDd, bestDdNoSync);
    std::printf(
        "ratio cut/dd throughput: %.2f (against dd without fsync: %.2f); "
        "longest user-interface pause during the cut: %.1f ms (idle: %.1f ms), "
        "longest progress update: %.2f ms\n",
        bestDd / best, bestDdNoSync / best, worstGap, IdleUiGapMs(8000), worstHandler);
    return 0;
}

int Stream(const std::string& source, uint32_t fromMs, uint32_t toMs, const std::string& folder) {
    int32_t port = -1;
    std::atomic<bool> indexed{false};
    if (!Vemor_GetPort(&port)) return 1;
    Vemor_SetFileRefCallBack(
        port, [](int32_t, void* user) { static_cast<std::atomic<bool>*>(user)->store(true); },
        &indexed);
    const auto indexStart = Clock::now();
    if (!Vemor_OpenFile(port, source.c_str())) return 1;
    while (!indexed) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double indexSeconds = SecondsSince(indexStart);
    VemorFramePos from{}, to{};
    if (!Vemor_GetKeyFramePos(port, fromMs, 2, &from) ||
        !Vemor_GetNextKeyFramePos(port, toMs, 2, &to)) {
        std::fprintf(stderr, "key frame look-up failed\n");
        return 1;
    }
    Vemor_FreePort(port);

    const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    CutJobRequest request;
    request.strSource = source;
    request.nSourceFd = fd;
    request.strTarget = folder + "/cut-stream.mp4";
    request.range.nStart = from.nFilePos;
    request.range.nEnd = to.nFilePos;
    request.range.nStartMs = from.nFrameTime;
    request.range.nEndMs = to.nFrameTime;
    char times[96];
    std::snprintf(times, sizeof(times), " -ss %.3f -to %.3f", from.nFrameTime / 1000.0,
                  to.nFrameTime / 1000.0);
    const std::string out = folder + "/ffmpeg-stream.mp4";
    const std::string ffmpeg =
        std::string("ffmpeg -v error -y") + times + " -i " + source + " -c copy " + out;
    TimeCommand("cat " + source + " > /dev/null");
    double best = 1e9, bestFf = 1e9, bestFfSync = 1e9, worstGap = 0;
    for (int i = 0; i < kRounds; ++i) {
        CleanStart();
        const RunResult run = RunCut(request);
        if (run.result != CutMessage::CutSucc) std::fprintf(stderr, "cut failed\n");
        best = std::min(best, run.seconds);
        worstGap = std::max(worstGap, run.worstUiGapMs);
        CleanStart();
        bestFf = std::min(bestFf, TimeCommand(ffmpeg));
        CleanStart();
        bestFfSync = std::min(bestFfSync, TimeCommand(ffmpeg + " && sync " + out));
    }
    ::close(fd);
    std::printf(
        "stream copy %.1f s .. %.1f s (%.0f MiB of source): index %.2f s; cut %.2f s "
        "(clip %.0f MiB), ffmpeg -c copy %.2f s (clip %.0f MiB), ffmpeg + sync %.2f s\n",
        from.nFrameTime / 1000.0, to.nFrameTime / 1000.0, (to.nFilePos - from.nFilePos) / 1048576.0,
        indexSeconds, best, FileSize(request.strTarget) / 1048576.0, bestFf,
        FileSize(out) / 1048576.0, bestFfSync);
    std::printf(
        "ratio cut/ffmpeg speed: %.2f (against ffmpeg + sync: %.2f); "
        "longest user-interface pause: %.1f ms (idle: %.1f ms)\n",
        bestFf / best, bestFfSync / best, worstGap, IdleUiGapMs(8000));
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s bytes|stream SOURCE START END FOLDER\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    if (mode == "bytes") return Bytes(argv[2], std::atoll(argv[3]), std::atoll(argv[4]), argv[5]);
    if (mode == "stream") {
        return Stream(argv[2], static_cast<uint32_t>(std::atoll(argv[3])),
                      static_cast<uint32_t>(std::atoll(argv[4])), argv[5]);
    }
    return 2;
}
