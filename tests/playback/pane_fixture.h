#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "common/debug_log.h"
#include "playback/dlg_show.h"
#include "playback/main_window_link.h"
#include "playback/orlin_messages.h"
#include "playback/play_wnd.h"
#include "samplegen/samplegen.h"
#include "wait_for.h"

// A main window reduced to what a pane asks of it, with a playlist of real files.
class FakeMainWindow : public QObject, public IMainWindowLink {
public:
    QObject* MessageReceiver() override { return this; }
    PlayOrder GetPlayOrder() const override { return eOrder; }
    int32_t PlaylistIndexOf(const QString& strPath) const override {
        return static_cast<int32_t>(playlist.indexOf(strPath));
    }
    int32_t PlaylistCount() const override { return static_cast<int32_t>(playlist.size()); }
    QString PlaylistPath(int32_t nIndex) const override { return playlist.value(nIndex); }
    int32_t GetVolume() const override { return 0x7FFF; }
    bool IsSoundOn() const override { return true; }
    bool IsCutPanelShown() const override { return bCutPanel; }
    void ShowMessage(const QString& strText) override { messages << strText; }

    bool event(QEvent* pEvent) override {
        if (pEvent->type() == ORLIN_MSG_PLAY_STATE_CHANGED) ++nStateMessages;
        return QObject::event(pEvent);
    }

    PlayOrder eOrder = PLAY_ORDER_SINGLE_PLAY;
    QStringList playlist;
    bool bCutPanel = false;
    int nStateMessages = 0;
    QStringList messages;
};

// One container with its pane 0 and a folder of sample recordings.
class PaneTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        SetDebugLogSink([this](const std::string& line) {
            std::lock_guard lock(m_logMutex);
            m_log.push_back(line);
        });
        m_dlgShow.SetMainWnd(&m_main);
        m_dlgShow.resize(320, 240);
        m_dlgShow.show();
        m_pPane = m_dlgShow.GetPlayWnd(0);
    }

    void TearDown() override {
        m_pPane->Reset();
        m_pPane->Close();
        SetDebugLogSink({});
    }

    // Writes a 160x120, 25 fps recording whose pictures carry their numbers.
    QString Sample(const char* szName, int nFrames = 50, bool bFrames = false) {
        samplegen::SampleParams params;
        params.container = samplegen::Container::Mp4;
        params.width = 160;
        params.height = 120;
        params.frameCount = nFrames;
        params.bFrames = bFrames;
        const QString strPath = m_dir.filePath(QString::fromUtf8(szName));
        std::string error;
        EXPECT_TRUE(samplegen::WriteSample(strPath.toStdString(), params, &error)) << error;
        return strPath;
    }

    int LogCount(const std::string& line) {
        std::lock_guard lock(m_logMutex);
        return static_cast<int>(std::count(m_log.begin(), m_log.end(), line));
    }
    bool LogHasPrefix(const std::string& prefix) {
        std::lock_guard lock(m_logMutex);
        return std::any_of(m_log.begin(), m_log.end(),
                           [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    }

    QTemporaryDir m_dir;
    FakeMainWindow m_main;
    CDlgShow m_dlgShow{nullptr};
    CPlayWnd* m_pPane = nullptr;
    std::mutex m_logMutex;
    std::vector<std::string> m_log;
};
