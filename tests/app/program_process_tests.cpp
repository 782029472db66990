// The installed program run as a user runs it: a separate process, ended by
// the signals a terminal, a session manager or `kill` sends.

#include <gtest/gtest.h>
#include <signal.h>

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "samplegen/samplegen.h"

namespace {
const QString kProgram = QStringLiteral(ORLIN_PROGRAM);

QStringList SettingsFilesUnder(const QString& strFolder) {
    QStringList files;
    QDirIterator it(strFolder, {QStringLiteral("*.xml")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next();
    return files;
}

// Waits until the process has written `strLine` to its standard error.
bool WaitForLine(QProcess& process, QByteArray& output, const QByteArray& line, int nTimeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < nTimeoutMs) {
        process.waitForReadyRead(100);
        output += process.readAllStandardError();
        if (output.contains(line)) return true;
        if (process.state() == QProcess::NotRunning) return false;
    }
    return false;
}
}  // namespace

TEST(ProgramProcess, QuitSignalsWhilePlayingSoundEndItCleanlyAndSaveTheSettings) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    samplegen::SampleParams params;
    params.container = samplegen::Container::Mp4;
    params.width = 160;
    params.height = 120;
    params.frameCount = 500;  // twenty seconds: still playing when the signal comes
    params.audio = true;
    const QString strSample = dir.filePath(QStringLiteral("signal_sound_500_frames.mp4"));
    ASSERT_TRUE(samplegen::WriteSample(strSample.toStdString(), params));

    for (int nSignal : {SIGTERM, SIGINT, SIGHUP}) {
        const QString strConfig = dir.filePath(QStringLiteral("config%1").arg(nSignal));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), strConfig);
        env.insert(QStringLiteral("ORLIN_DEBUG"), QStringLiteral("1"));
        // A sound device on every machine, so that the sound library is started.
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(kProgram, {strSample});
        ASSERT_TRUE(process.waitForStarted(5000));
        QByteArray output;
        ASSERT_TRUE(WaitForLine(process, output, "File Ref Created", 20000)) << output.data();
        // The sound is running by now; give its device a moment to start.
        QThread::msleep(200);
        ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), nSignal), 0);
        const bool bEnded = process.waitForFinished(10000);
        if (!bEnded) process.kill();
        output += process.readAllStandardError();
        ASSERT_TRUE(bEnded) << "signal " << nSignal << " ignored";
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << nSignal;
        EXPECT_EQ(process.exitCode(), 0) << nSignal;
        EXPECT_EQ(SettingsFilesUnder(strConfig).size(), 1) << nSignal;
    }
}

TEST(ProgramProcess, HelpAndVersionPrintAndExitWithoutADisplay) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const char* szArg : {"--help", "--version"}) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(kProgram, {QString::fromUtf8(szArg)});
        ASSERT_TRUE(process.waitForFinished(10000)) << szArg;
        EXPECT_EQ(process.exitCode(), 0) << szArg;
        const QByteArray out = process.readAllStandardOutput();
        EXPECT_TRUE(out.startsWith(szArg == std::string("--help") ? "Usage: " : "Orlin 6.2.0.1"))
            << out.data();
    }
}

TEST(ProgramProcess, DebugLinesStayOffTheTerminalUnlessAskedFor) {
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    env.remove(QStringLiteral("ORLIN_DEBUG"));
    QProcess process;
    process.setProcessEnvironment(env);
    // A file that fails to open would log its engine failure.
    process.start(kProgram, {dir.filePath(QStringLiteral("missing.rec"))});
    ASSERT_TRUE(process.waitForStarted(5000));
    QThread::msleep(1500);
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(10000));
    const QByteArray err = process.readAllStandardError();
    EXPECT_FALSE(err.contains("CQuitSignals")) << err.data();
    EXPECT_FALSE(err.contains("COrlinDlg")) << err.data();
}
