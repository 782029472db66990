#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <algorithm>
#include <ctime>
#include <utility>

#include "pane_fixture.h"
#include "playback/capture_file_name.h"
#include "playback/render_wnd.h"

namespace {
// A tmpfs of `nBytes` mounted for one test; needs root, otherwise not mounted.
class SmallFileSystem {
public:
    SmallFileSystem(const QString& strPath, size_t nBytes) : m_strPath(strPath) {
        QDir().mkpath(strPath);
        const std::string options = "size=" + std::to_string(nBytes);
        m_bMounted = geteuid() == 0 &&
                     mount("tmpfs", strPath.toUtf8().constData(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallFileSystem() {
        if (m_bMounted) umount(m_strPath.toUtf8().constData());
    }
    bool Mounted() const { return m_bMounted; }

private:
    QString m_strPath;
    bool m_bMounted = false;
};

QStringList PicturesIn(const QString& strFolder) {
    return QDir(strFolder).entryList({QStringLiteral("picture*")}, QDir::Files, QDir::Name);
}

int FrameInFile(const QString& strPath) {
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray data = file.readAll();
    return samplegen::ReadFrameNumberFromImage(reinterpret_cast<const uint8_t*>(data.constData()),
                                               static_cast<size_t>(data.size()));
}
}  // namespace

TEST(CaptureFileName, NamesCarryDateTimeAndCounter) {
    std::tm stTime{};
    stTime.tm_year = 2024 - 1900;
    stTime.tm_mon = 2;
    stTime.tm_mday = 9;
    stTime.tm_hour = 7;
    stTime.tm_min = 5;
    stTime.tm_sec = 3;
    EXPECT_EQ(CaptureFileName("/data/snaps", &stTime, 42, false),
              QStringLiteral("/data/snaps/picture20240309_070503_000042.bmp"));
    EXPECT_EQ(CaptureFileName("/data/snaps", &stTime, 1234567, true),
              QStringLiteral("/data/snaps/picture20240309_070503_1234567.jpeg"));
    EXPECT_EQ(CaptureFileName("/x", nullptr, 0, false),
              QStringLiteral("/x/picture00000000_-1-1-1_000000.bmp"));
}

TEST(CaptureFileName, BufferSizesFollowThePictureSize) {
    EXPECT_EQ(CaptureBufferSize(704, 288), 2027520u);
    EXPECT_EQ(CaptureBufferSize(704, 240), 1689600u);
    EXPECT_EQ(CaptureBufferSize(704, 576), 704u * 576u * 5u);
    EXPECT_EQ(CaptureBufferSize(0, 576), 0u);
    EXPECT_EQ(CaptureBufferSize(-2, 576), 0u);
    EXPECT_EQ(CaptureBufferSize(65536, 65536), 0u);  // beyond 32 bits
}

TEST_F(PaneTest, SnapshotsOfAPausedPaneDecodeToTheShownFrame) {
    const QString strFolder = m_dir.filePath("snapshots");
    QDir().mkpath(strFolder);
    ASSERT_TRUE(m_pPane->Open(Sample("capture_50_frames.mp4")));
    EXPECT_EQ(m_pPane->Capture(0, strFolder), 0);  // opened: nothing happens
    EXPECT_TRUE(m_pPane->GetMessageText().isEmpty());
    ASSERT_TRUE(m_pPane->Play());
    ASSERT_TRUE(m_pPane->Pause());
    ASSERT_TRUE(m_pPane->SetFramePos(17));
    SpinFor(200);

    // Counters are per type and never reset: within one second names differ only by them.
    ASSERT_EQ(m_pPane->Capture(0, strFolder), CPlayWnd::CAPTURE_OK);
    EXPECT_TRUE(m_pPane->GetMessageText().startsWith(QStringLiteral("Capture Success : ")));
    ASSERT_EQ(m_pPane->Capture(1, strFolder), CPlayWnd::CAPTURE_OK);
    ASSERT_EQ(m_pPane->Capture(0, strFolder), CPlayWnd::CAPTURE_OK);
    ASSERT_EQ(m_pPane->Capture(1, strFolder), CPlayWnd::CAPTURE_OK);
    const QStringList names = PicturesIn(strFolder);
    ASSERT_EQ(names.size(), 4);
    QStringList bmp = names.filter(QStringLiteral(".bmp"));
    QStringList jpeg = names.filter(QStringLiteral(".jpeg"));
    ASSERT_EQ(bmp.size(), 2);
    ASSERT_EQ(jpeg.size(), 2);
    auto counter = [](const QString& strName) {
        return strName.section(QLatin1Char('_'), 2).section(QLatin1Char('.'), 0, 0).toInt();
    };
    EXPECT_EQ(counter(bmp[1]) - counter(bmp[0]), 1);
    EXPECT_EQ(counter(jpeg[1]) - counter(jpeg[0]), 1);
    for (const QString& strName : names) {
        EXPECT_EQ(FrameInFile(strFolder + QLatin1Char('/') + strName), 17) << strName.toStdString();
    }

    // A folder that does not exist cannot be asked for its free space.
    EXPECT_EQ(m_pPane->Capture(0, m_dir.filePath("no/such/folder")), CPlayWnd::CAPTURE_FAIL);
    EXPECT_EQ(m_pPane->GetMessageText(), QStringLiteral("Capture Fail!"));
    EXPECT_EQ(LogCount("CapOnePic fail 2"), 1);

    m_pPane->Stop();
    EXPECT_EQ(m_pPane->Capture(0, strFolder), 0);
    EXPECT_EQ(PicturesIn(strFolder).size(), 4);
}

namespace {
bool IsMessageYellow(QColor c) { return c.red() > 220 && c.green() > 220 && c.blue() < 80; }
bool IsDark(QColor c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; }

// Yellow pixels of the message in the top band of the picture, and how many
// of them have no dark pixel within three pixels (text that white would swallow).
std::pair<int, int> MessagePixels(const QImage& image) {
    int nYellow = 0;
    int nBare = 0;
    for (int y = 0; y < std::min(image.height(), 60); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!IsMessageYellow(image.pixelColor(x, y))) continue;
            ++nYellow;
            bool bOutlined = false;
            for (int dy = -3; dy <= 3 && !bOutlined; ++dy) {
                for (int dx = -3; dx <= 3 && !bOutlined; ++dx) {
                    const QPoint pt(x + dx, y + dy);
                    bOutlined = image.rect().contains(pt) && IsDark(image.pixelColor(pt));
                }
            }
            nBare += bOutlined ? 0 : 1;
        }
    }
    return {nYellow, nBare};
}
}  // namespace

TEST_F(PaneTest, APausedPaneShowsTheCaptureMessageAtOnceWithADarkOutline) {
    ASSERT_TRUE(m_pPane->Open(Sample("paused_message_50_frames.mp4")));
    ASSERT_TRUE(m_pPane->Play());
    ASSERT_TRUE(WaitFor([&] { return !m_pPane->GetRenderWnd()->LastPicture().isNull(); }));
    ASSERT_TRUE(m_pPane->Pause());
    SpinFor(100);
    EXPECT_EQ(MessagePixels(m_pPane->GetRenderWnd()->LastPicture()).first, 0);

    ASSERT_EQ(m_pPane->Capture(0, m_dir.path()), CPlayWnd::CAPTURE_OK);
    // Still paused: the picture is drawn again with the text on it.
    ASSERT_TRUE(WaitFor(
        [&] { return MessagePixels(m_pPane->GetRenderWnd()->LastPicture()).first > 20; }, 2000));
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_PAUSED);
    EXPECT_EQ(MessagePixels(m_pPane->GetRenderWnd()->LastPicture()).second, 0);
}

TEST_F(PaneTest, FullDiskGivesDiskFullAndWritesNothing) {
    const QString strFolder = m_dir.filePath("tiny");
    SmallFileSystem fs(strFolder, 64 * 1024);  // less than 160 x 120 x 5 bytes
    if (!fs.Mounted()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    ASSERT_TRUE(m_pPane->Open(Sample("full_disk_50_frames.mp4")));
    ASSERT_TRUE(m_pPane->Play());
    ASSERT_TRUE(m_pPane->Pause());
    EXPECT_EQ(m_pPane->Capture(0, strFolder), CPlayWnd::CAPTURE_DISK_FULL);
    EXPECT_EQ(m_pPane->GetMessageText(), QStringLiteral("Disk space not enough!"));
    EXPECT_EQ(LogCount("CapOnePic fail 3"), 1);
    EXPECT_TRUE(PicturesIn(strFolder).isEmpty());
}

TEST_F(PaneTest, ContinuousCaptureStopsWhenTheDiskFills) {
    const QString strFolder = m_dir.filePath("small");
    // 160 x 120 BMPs take 57654 bytes and each capture needs 96000 free:
    // 256 KiB holds three captures before the check refuses the fourth.
    SmallFileSystem fs(strFolder, 256 * 1024);
    if (!fs.Mounted()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    ASSERT_TRUE(m_pPane->Open(Sample("continuous_250_frames.mp4", 250)));
    ASSERT_TRUE(m_pPane->Play());
    EXPECT_EQ(m_pPane->ContinuousCapture(true, 0, strFolder), 1);
    EXPECT_EQ(m_pPane->GetMessageText(),
              QStringLiteral("Continuous capturing,please attention disk space!"));
    EXPECT_EQ(m_pPane->ContinuousCapture(true, 0, strFolder), 1);  // restarts the timer
    ASSERT_TRUE(WaitFor([&] { return !m_pPane->IsConCapturing(); }, 8000));
    EXPECT_EQ(PicturesIn(strFolder).size(), 3);
    EXPECT_EQ(m_pPane->GetMessageText(), QStringLiteral("Disk space not enough!"));
}

TEST_F(PaneTest, AFailedWriteLeavesNoPartialPicture) {
    const QString strFolder = m_dir.filePath("limited");
    QDir().mkpath(strFolder);
    ASSERT_TRUE(m_pPane->Open(Sample("partial_50_frames.mp4")));
    ASSERT_TRUE(m_pPane->Play());
    ASSERT_TRUE(m_pPane->Pause());
    // A file size limit makes the write stop part-way, as a failing disk would.
    signal(SIGXFSZ, SIG_IGN);
    rlimit stOld{};
    getrlimit(RLIMIT_FSIZE, &stOld);
    rlimit stLimit = stOld;
    stLimit.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &stLimit), 0);
    const int32_t nResult = m_pPane->Capture(0, strFolder);
    setrlimit(RLIMIT_FSIZE, &stOld);
    EXPECT_EQ(nResult, CPlayWnd::CAPTURE_FAIL);
    EXPECT_EQ(LogCount("CapOnePic fail 6"), 1);
    EXPECT_TRUE(PicturesIn(strFolder).isEmpty());
}
