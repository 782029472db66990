#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "common/debug_log.h"
#include "controls/orlin_message_box.h"
#include "mainwnd/orlin_dlg.h"
#include "playback/dlg_show.h"
#include "playback/play_wnd.h"
#include "playback/render_wnd.h"
#include "samplegen/samplegen.h"
#include "settings/settings_file.h"
#include "wait_for.h"

// A started main window, a 160 x 120 recording of 50 numbered frames, the
// debug log and the message boxes shown.
class StartedMainWindow : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        SetDebugLogSink([this](const std::string& line) {
            std::lock_guard lock(m_logMutex);
            m_log.push_back(line);
        });
        SetOrlinMessageBoxSink([this](const QString& strText) { m_messages << strText; });
        QFile::remove(SettingsFilePath());
        m_dlg.OnInitDialog({QStringLiteral("orlin")});
        m_dlg.show();
        samplegen::SampleParams params;
        params.container = samplegen::Container::Mp4;
        params.width = 160;
        params.height = 120;
        params.frameCount = 50;
        m_strSample = m_dir.filePath(QStringLiteral("numbered_160x120_50_frames.mp4"));
        std::string error;
        ASSERT_TRUE(samplegen::WriteSample(m_strSample.toStdString(), params, &error)) << error;
    }
    void TearDown() override {
        SetOrlinMessageBoxSink({});
        SetDebugLogSink({});
    }

    // Plays the sample and pauses it once the frame index is built, so that
    // the file cannot end under the test.
    void OpenPaused() {
        ASSERT_TRUE(m_dlg.OpenInPane(m_strSample));
        ASSERT_TRUE(WaitFor([&] { return Sel()->IsFileRefDone() && FrameShown() >= 0; }));
        ASSERT_TRUE(m_dlg.GetDlgShow()->Pause());
        ASSERT_TRUE(WaitFor([&] { return m_dlg.GetStatusText() == QStringLiteral("Pause"); }));
    }
    int LogCount(const std::string& line) {
        std::lock_guard lock(m_logMutex);
        return static_cast<int>(std::count(m_log.begin(), m_log.end(), line));
    }
    CPlayWnd* Sel() { return m_dlg.GetDlgShow()->GetSelPlayWnd(); }
    // One camera of an event: 250 pictures from 12:00:nStartSecond on 1 March 2024.
    QString Camera(int nStartSecond, samplegen::Container container, const char* szName) {
        samplegen::SampleParams params;
        params.container = container;
        params.width = 160;
        params.height = 120;
        params.frameCount = 250;
        params.start = samplegen::StartTime{2024, 3, 1, 12, 0, nStartSecond};
        const QString strPath = m_dir.filePath(QString::fromUtf8(szName));
        EXPECT_TRUE(samplegen::WriteSample(strPath.toStdString(), params));
        return strPath;
    }
    // The frame number painted into the picture the selected pane shows; -1 for none.
    int FrameShown() {
        const QImage image = Sel()->GetRenderWnd()->LastPicture();
        if (image.isNull()) return -1;
        return samplegen::ReadFrameNumber(image.constBits(), image.width(), image.height(),
                                          static_cast<int>(image.bytesPerLine()));
    }

    QTemporaryDir m_dir;
    COrlinDlg m_dlg;
    QString m_strSample;
    QStringList m_messages;
    std::mutex m_logMutex;
    std::vector<std::string> m_log;
};
