#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <string>

#include "mainwnd/ih_list_box.h"
#include "mainwnd/orlin_dlg.h"
#include "mainwnd/playlist_controller.h"
#include "playback/dlg_show.h"
#include "playback/play_wnd.h"
#include "samplegen/samplegen.h"
#include "wait_for.h"

// A started main window with its playlist, and a folder of recordings.
class PlaylistTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_dlg.OnInitDialog({QStringLiteral("orlin")});
        m_dlg.show();
        m_pList = m_dlg.GetPlaylist()->GetListBox();
        m_pShow = m_dlg.GetDlgShow();
        m_dlg.GetPlaylist()->SetMessageHandler(
            [this](const QString& strText) { m_messages.append(strText); });
    }

    void TearDown() override { m_pShow->CloseAllPanes(); }

    // A 160x120, 25 fps MP4 recording of nFrames pictures.
    QString Sample(const QString& strName, int nFrames = 25) {
        samplegen::SampleParams params;
        params.container = samplegen::Container::Mp4;
        params.width = 160;
        params.height = 120;
        params.frameCount = nFrames;
        const QString strPath = m_dir.filePath(strName);
        std::string error;
        EXPECT_TRUE(samplegen::WriteSample(strPath.toStdString(), params, &error)) << error;
        return strPath;
    }

    // A file no demuxer recognises.
    QString Junk(const QString& strName) {
        const QString strPath = m_dir.filePath(strName);
        QFile file(strPath);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, '\x5a'));
        return strPath;
    }

    // Files are probed off the user-interface thread; waits for the answers.
    void WaitForProbes() {
        ASSERT_TRUE(WaitFor([this] { return !m_pList->IsProbing(); }));
    }

    CPlayWnd* Pane(int32_t nIndex) const { return m_pShow->GetPlayWnd(nIndex); }
    QPoint PaneCentre(int32_t nIndex) const {
        CPlayWnd* pPane = Pane(nIndex);
        return pPane->mapToGlobal(pPane->rect().center());
    }
    // Panes open in the background: waits for an open under way to answer.
    bool IsPlaying(int32_t nIndex, const QString& strPath) const {
        WaitFor([&] { return !Pane(nIndex)->IsOpening(); });
        return Pane(nIndex)->GetPlayState() == PLAY_STATE_PLAYING &&
               Pane(nIndex)->GetFilePath() == strPath;
    }

    QTemporaryDir m_dir;
    COrlinDlg m_dlg;
    CIHListBox* m_pList = nullptr;
    CDlgShow* m_pShow = nullptr;
    QStringList m_messages;
};
