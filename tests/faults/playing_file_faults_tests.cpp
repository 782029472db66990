// A file that changes under a playing pane: cut short, deleted, overwritten
// with noise or made unreadable. The pane must come to its end or stop, tell
// the main window, and keep a port that plays the next file.

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <filesystem>
#include <fstream>
#include <random>

#include "pane_fixture.h"
#include "playback/render_wnd.h"

namespace {

enum class Fault { Truncate, Delete, RandomBytes, Unreadable };

struct FaultCase {
    Fault eFault;
    samplegen::Container eContainer;
    const char* szName;
};

void Inflict(Fault eFault, const QString& strPath) {
    const std::string path = QFile::encodeName(strPath).toStdString();
    switch (eFault) {
        case Fault::Truncate:
            std::filesystem::resize_file(path, std::filesystem::file_size(path) / 3);
            break;
        case Fault::Delete:
            std::filesystem::remove(path);
            break;
        case Fault::RandomBytes: {
            // Overwritten in place, so the pane's open file sees the noise.
            const auto nSize = std::filesystem::file_size(path);
            std::mt19937 random(7);
            std::string noise(nSize, '\0');
            for (char& c : noise) c = static_cast<char>(random());
            std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
            file.write(noise.data(), static_cast<std::streamsize>(noise.size()));
            break;
        }
        case Fault::Unreadable:
            ::chmod(path.c_str(), 0);
            break;
    }
}

int FrameShown(const CPlayWnd* pPane) {
    const QImage image = pPane->GetRenderWnd()->LastPicture();
    if (image.isNull()) return -1;
    return samplegen::ReadFrameNumber(image.constBits(), image.width(), image.height(),
                                      static_cast<int>(image.bytesPerLine()));
}

class PlayingFileFaultTest : public PaneTest, public testing::WithParamInterface<FaultCase> {
protected:
    // 8 s of pictures, with a key frame every second and sound.
    QString Recording(const char* szName, samplegen::Container eContainer) {
        samplegen::SampleParams params;
        params.container = eContainer;
        params.width = 160;
        params.height = 120;
        params.frameCount = 200;
        params.audio = eContainer != samplegen::Container::RawH264;
        const QString strPath = m_dir.filePath(QString::fromUtf8(szName));
        std::string error;
        EXPECT_TRUE(samplegen::WriteSample(strPath.toStdString(), params, &error)) << error;
        return strPath;
    }

    // Runs `action` and fails when it holds the user-interface thread too long.
    template <typename Action>
    void Promptly(const char* szWhat, Action action) {
        QElapsedTimer timer;
        timer.start();
        action();
        EXPECT_LT(timer.elapsed(), 2000) << szWhat << " held the window";
    }
};

TEST_P(PlayingFileFaultTest, PaneStopsAndThenPlaysTheNextFile) {
    const FaultCase fault = GetParam();
    const QString strVictim = Recording(fault.szName, fault.eContainer);
    const QString strNext = Sample("next_50_frames.mp4");
    ASSERT_TRUE(m_pPane->Open(strVictim));
    ASSERT_TRUE(m_pPane->Play());
    ASSERT_TRUE(m_pPane->Fast());
    ASSERT_TRUE(m_pPane->Fast());  // 4x: the whole file in two seconds
    SpinFor(300);
    ASSERT_EQ(m_pPane->GetPlayState(), PLAY_STATE_PLAYING);

    Inflict(fault.eFault, strVictim);
    // Steps and seeks over the damage must fail or work, never hang.
    Promptly("seek", [&] { m_pPane->SetFramePos(150); });
    Promptly("play", [&] { m_pPane->Play(); });

    const int nStateMessages = m_main.nStateMessages;
    ASSERT_TRUE(WaitFor([&] { return m_pPane->GetPlayState() == PLAY_STATE_STOPPED; }, 15000))
        << "the pane never came to an end; state " << m_pPane->GetPlayState();
    QCoreApplication::processEvents();
    EXPECT_GT(m_main.nStateMessages, nStateMessages) << "the main window was not told";
    Promptly("step", [&] { m_pPane->FrameForward(true); });
    Promptly("back step", [&] { m_pPane->FrameForward(false); });

    // The same pane shows the next file's pictures.
    ASSERT_TRUE(m_pPane->Open(strNext));
    EXPECT_GE(m_pPane->GetPort(), 0);
    ASSERT_TRUE(m_pPane->Play());
    ASSERT_TRUE(m_pPane->Pause());
    ASSERT_TRUE(WaitFor([&] { return m_pPane->IsFileRefDone(); }));
    ASSERT_TRUE(m_pPane->SetFramePos(20));
    EXPECT_TRUE(WaitFor([&] { return FrameShown(m_pPane) == 20; }));

    // A file that is gone or locked cannot be opened again (root reads through
    // any permission); one that is damaged opens only while it is still media.
    const bool bGone =
        fault.eFault == Fault::Delete || (fault.eFault == Fault::Unreadable && ::geteuid() != 0);
    bool bOpened = false;
    Promptly("reopen", [&] { bOpened = m_pPane->Open(strVictim); });
    if (bGone) {
        EXPECT_FALSE(bOpened);
    }
    if (bOpened && m_pPane->Play()) {
        m_pPane->Fast();
        m_pPane->Fast();
        EXPECT_TRUE(WaitFor([&] { return m_pPane->GetPlayState() == PLAY_STATE_STOPPED; }, 15000));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PlayingFileFaultTest,
    testing::Values(FaultCase{Fault::Truncate, samplegen::Container::Mp4, "cut_short.mp4"},
                    FaultCase{Fault::Truncate, samplegen::Container::Recorder, "cut_short.imx"},
                    FaultCase{Fault::Delete, samplegen::Container::Mp4, "deleted.mp4"},
                    FaultCase{Fault::Delete, samplegen::Container::MpegTs, "deleted.ts"},
                    FaultCase{Fault::RandomBytes, samplegen::Container::Mp4, "noise.mp4"},
                    FaultCase{Fault::RandomBytes, samplegen::Container::Recorder, "noise.imx"},
                    FaultCase{Fault::RandomBytes, samplegen::Container::RawH264, "noise.264"},
                    FaultCase{Fault::Unreadable, samplegen::Container::Mp4, "locked.mp4"},
                    FaultCase{Fault::Unreadable, samplegen::Container::MpegTs, "locked.ts"}),
    [](const testing::TestParamInfo<FaultCase>& info) {
        std::string name = info.param.szName;
        for (char& c : name) {
            if (c == '.') c = '_';
        }
        return name;
    });

}  // namespace
