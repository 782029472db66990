// Merging against FFmpeg doing the same work in the same run.
//
//   merge-bench OUT_DIR FILE...
//
// Joins FILE... by stream copy with libkelsa.so and with
// `ffmpeg -f concat -safe 0 -i LIST -c copy`, alternately, twice each, and
// prints the best time of each and their ratio. Then runs the same merge from
// the merge dialog (offscreen) and reports the longest time the user-interface
// thread went without handling its events.

#include <dlfcn.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_util.h"
#include "controls/orlin_message_box.h"
#include "kelsa.h"
#include "tools/merge/file_merge_dlg.h"

using namespace bench;
namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& path) {
    std::string quoted = "'";
    for (const char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

double KelsaSeconds(const std::vector<std::string>& files, const std::string& output) {
    const auto start = Clock::now();
    const int32_t handle = KELSA_CreateHandle();
    for (const std::string& file : files) {
        if (KELSA_AddToMergeList(handle, file.c_str(), 0, 0) != KELSA_OK) {
            std::fprintf(stderr, "libkelsa refused %s\n", file.c_str());
            return 0;
        }
    }
    const int32_t result = KELSA_MergeFileInList(handle, output.c_str());
    KELSA_DestroyHandle(handle);
    if (result != KELSA_OK) {
        std::fprintf(stderr, "libkelsa merge failed: %d\n", result);
        return 0;
    }
    return SecondsSince(start);
}

double FfmpegSeconds(const std::vector<std::string>& files, const std::string& list,
                     const std::string& output) {
    {
        std::ofstream out(list);
        for (const std::string& file : files) out << "file " << Quoted(fs::absolute(file)) << "\n";
    }
    const std::string command = "ffmpeg -nostdin -v error -y -f concat -safe 0 -i " + Quoted(list) +
                                " -c copy " + Quoted(output);
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "ffmpeg failed: %s\n", command.c_str());
        return 0;
    }
    return SecondsSince(start);
}

// The merge from the dialog: OK, then the event loop until the result message,
// timing every gap between 5 ms ticks of the user-interface thread.
void DialogStalls(const std::vector<std::string>& files, const std::string& output) {
    void* pKelsa = dlopen(
        QDir(QCoreApplication::applicationDirPath()).filePath("libkelsa.so").toUtf8().constData(),
        RTLD_NOW | RTLD_LOCAL);
    CFileMergeDlg dlg(nullptr, pKelsa);
    for (const std::string& file : files) dlg.AppendFile(QString::fromStdString(file), 0);
    dlg.SetSavePathPicker([&](QWidget*) { return QString::fromStdString(output); });
    dlg.OnBrowse();
    dlg.show();

    QString strResult;
    SetOrlinMessageBoxSink([&](const QString& text) {
        strResult = text;
        QCoreApplication::quit();
    });
    qint64 nLongestGapMs = 0;
    qint64 nOkMs = 0;
    QElapsedTimer sinceTick;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { nLongestGapMs = std::max(nLongestGapMs, sinceTick.restart()); });
    QTimer::singleShot(0, [&] {
        sinceTick.start();
        ticker.start(5);
        QElapsedTimer ok;
        ok.start();
        dlg.OnOK();
        nOkMs = ok.elapsed();
    });
    const auto start = Clock::now();
    QCoreApplication::exec();
    SetOrlinMessageBoxSink(nullptr);
    std::printf(
        "dialog merge: %.2f s, \"%s\"; OK handler %lld ms on the UI thread; longest gap "
        "between 5 ms ticks %lld ms (goal: at most 50)\n",
        SecondsSince(start), strResult.toUtf8().constData(), static_cast<long long>(nOkMs),
        static_cast<long long>(nLongestGapMs));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: merge-bench OUT_DIR FILE FILE...\n");
        return 2;
    }
    const std::string outDir = argv[1];
    const std::vector<std::string> files(argv + 2, argv + argc);
    fs::create_directories(outDir);
    uintmax_t totalBytes = 0;
    for (const std::string& file : files) totalBytes += fs::file_size(file);
    const std::string kelsaOut = outDir + "/kelsa.mp4";
    const std::string ffmpegOut = outDir + "/ffmpeg.mp4";

    // Read once so that neither side pays for the first read from disk.
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::vector<char> block(1 << 20);
        while (in.read(block.data(), block.size())) {
        }
    }
    double bestKelsa = 1e9;
    double bestFfmpeg = 1e9;
    for (int round = 0; round < 2; ++round) {
        const double kelsa = KelsaSeconds(files, kelsaOut);
        const double ffmpeg = FfmpegSeconds(files, outDir + "/list.txt", ffmpegOut);
        if (kelsa <= 0 || ffmpeg <= 0) return 1;
        std::printf("round %d: libkelsa %.2f s, ffmpeg %.2f s\n", round + 1, kelsa, ffmpeg);
        bestKelsa = std::min(bestKelsa, kelsa);
        bestFfmpeg = std::min(bestFfmpeg, ffmpeg);
    }
    const double mib = totalBytes / 1048576.0;
    std::printf(
        "merge %zu files, %.0f MiB: libkelsa %.2f s (%.0f MiB/s), ffmpeg concat %.2f s "
        "(%.0f MiB/s); speed ratio libkelsa/ffmpeg %.2f (goal: at least 0.8)\n",
        files.size(), mib, bestKelsa, mib / bestKelsa, bestFfmpeg, mib / bestFfmpeg,
        bestFfmpeg / bestKelsa);
    std::printf("output sizes: libkelsa %ju bytes, ffmpeg %ju bytes\n",
                static_cast<uintmax_t>(fs::file_size(kelsaOut)),
                static_cast<uintmax_t>(fs::file_size(ffmpegOut)));
    fs::remove(ffmpegOut);
    DialogStalls(files, kelsaOut);
    fs::remove(kelsaOut);
    return 0;
}
