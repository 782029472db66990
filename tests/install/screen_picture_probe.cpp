// Looks at the X display the way a person would: finds a playing sample
// recording on the screen and reads the frame number it shows.
//   orlin_screen_probe [--timeout SECONDS] [--save FILE.png [--crop X,Y,W,H]]
// Two grabs a moment apart: the sample's background drifts every picture, so the
// pixels that changed outline the picture; the frame number is read from there.
// Prints "frame N", the time it waited and the wall-clock time, and exits 0 once a number is read;
// exits 1 when none shows before the timeout. With --save it only writes the
// screen (or the part --crop names, in screen pixels) to FILE.png.

#include <QDateTime>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <QThread>
#include <cstdio>
#include <optional>
#include <vector>

#include "samplegen/samplegen.h"

namespace {

QImage GrabScreen() {
    QScreen* pScreen = QGuiApplication::primaryScreen();
    if (pScreen == nullptr) return {};
    return pScreen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

bool Differs(QRgb a, QRgb b) {
    return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)) > 24;
}

// The longest run of indexes whose count reaches `threshold`: [first, last].
std::optional<std::pair<int, int>> LongestRun(const std::vector<int>& counts, int threshold) {
    std::optional<std::pair<int, int>> best;
    int start = -1;
    for (int i = 0; i <= static_cast<int>(counts.size()); ++i) {
        const bool in = i < static_cast<int>(counts.size()) && counts[i] >= threshold;
        if (in && start < 0) start = i;
        if (!in && start >= 0) {
            if (!best || i - 1 - start > best->second - best->first) best = {{start, i - 1}};
            start = -1;
        }
    }
    return best;
}

// The frame number shown in `after`, or -1.
int ReadShownFrame(const QImage& before, const QImage& after) {
    if (before.size() != after.size() || after.isNull()) return -1;
    const int width = after.width(), height = after.height();
    std::vector<int> columns(width, 0);
    for (int y = 0; y < height; ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(after.constScanLine(y));
        for (int x = 0; x < width; ++x) columns[x] += Differs(a[x], b[x]) ? 1 : 0;
    }
    const auto xs = LongestRun(columns, 16);
    if (!xs || xs->second - xs->first + 1 < 64) return -1;
    std::vector<int> rows(height, 0);
    for (int y = 0; y < height; ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(after.constScanLine(y));
        for (int x = xs->first; x <= xs->second; ++x) rows[y] += Differs(a[x], b[x]) ? 1 : 0;
    }
    const int pictureWidth = xs->second - xs->first + 1;
    const auto ys = LongestRun(rows, pictureWidth / 50 + 1);
    if (!ys) return -1;
    // The top row of the number's blocks never changes within a short play, so
    // the picture's top lies at or above the first changed row; a top found
    // there must read the same number over a few neighbouring rows.
    const uint8_t* pixels = after.constBits();
    const int stride = static_cast<int>(after.bytesPerLine());
    int previous = -1, agreeing = 0;
    for (int top = ys->first; top >= 0 && top >= ys->first - pictureWidth / 2; --top) {
        const int pictureHeight = ys->second - top + 1;
        if (pictureHeight < 48) continue;
        const int number = samplegen::ReadFrameNumber(pixels + top * stride + xs->first * 4,
                                                      pictureWidth, pictureHeight, stride);
        agreeing = number >= 0 && number == previous ? agreeing + 1 : 0;
        if (agreeing >= 2) return number;
        previous = number;
    }
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    double timeoutSeconds = 30;
    QString savePath;
    QRect crop;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--timeout") timeoutSeconds = args[i + 1].toDouble();
        if (args[i] == "--save") savePath = args[i + 1];
        if (args[i] == "--crop") {
            const QStringList parts = args[i + 1].split(',');
            if (parts.size() == 4) {
                crop =
                    QRect(parts[0].toInt(), parts[1].toInt(), parts[2].toInt(), parts[3].toInt());
            }
            if (crop.isEmpty()) {
                std::fprintf(stderr, "--crop wants X,Y,W,H\n");
                return 2;
            }
        }
    }
    if (!savePath.isEmpty()) {
        const QImage screen = GrabScreen();
        return (crop.isEmpty() ? screen : screen.copy(crop)).save(savePath) ? 0 : 1;
    }

    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutSeconds * 1000) {
        const QImage before = GrabScreen();
        QThread::msleep(120);
        const int frame = ReadShownFrame(before, GrabScreen());
        if (frame >= 0) {
            // The wall clock too, for callers timing from before the probe started.
            std::printf("frame %d after %.2f s, at %.3f\n", frame, clock.elapsed() / 1000.0,
                        QDateTime::currentMSecsSinceEpoch() / 1000.0);
            return 0;
        }
    }
    std::fprintf(stderr, "no playing picture on the screen within %.0f s\n", timeoutSeconds);
    return 1;
}
