#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <mutex>
#include <vector>

#include "common/debug_log.h"
#include "playlist_fixture.h"

class DropPaneAreaTest : public PlaylistTest {
protected:
    void SetUp() override {
        PlaylistTest::SetUp();
        for (const char* szName : {"a.mp4", "b.mp4", "c.mp4"}) {
            m_paths.append(Sample(QString::fromUtf8(szName), 250));
        }
    }
    QStringList m_paths;
};

TEST_F(DropPaneAreaTest, ThreeFilesFillPanesZeroToTwoInTheFourPaneLayout) {
    ASSERT_TRUE(m_pShow->SetLayout(4));
    const QString strJunk = Junk(QStringLiteral("junk.mp4"));
    m_dlg.GetPlaylist()->DropOnPaneArea({m_paths[0], strJunk, m_paths[1], m_paths[2]},
                                        PaneCentre(3));
    WaitForProbes();
    EXPECT_TRUE(IsPlaying(0, m_paths[0]));
    EXPECT_TRUE(IsPlaying(1, m_paths[1]));
    EXPECT_TRUE(IsPlaying(2, m_paths[2]));
    EXPECT_EQ(Pane(3)->GetPlayState(), PLAY_STATE_IDLE);
    EXPECT_EQ(m_pList->GetCount(), 3);
    EXPECT_EQ(m_pList->IndexOfPath(strJunk), -1);
}

TEST_F(DropPaneAreaTest, OneFileOpensInThePaneUnderTheCursorEvenWhenListed) {
    std::mutex logMutex;
    std::vector<std::string> log;
    SetDebugLogSink([&](const std::string& line) {
        std::lock_guard lock(logMutex);
        log.push_back(line);
    });
    ASSERT_TRUE(m_pShow->SetLayout(4));
    ASSERT_TRUE(m_dlg.AddToPlaylist(m_paths[1]));
    m_dlg.GetPlaylist()->DropOnPaneArea({m_paths[1]}, PaneCentre(2));
    WaitForProbes();
    SetDebugLogSink({});
    EXPECT_EQ(m_pShow->GetSelIndex(), 2);
    EXPECT_TRUE(IsPlaying(2, m_paths[1]));
    EXPECT_EQ(m_pList->GetCount(), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), std::string("Cursor in DlgShow")), 1);
}

TEST_F(DropPaneAreaTest, ADropEventOnThePaneAreaIsHandledOnceItHasReturned) {
    ASSERT_TRUE(m_pShow->SetLayout(4));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(m_paths[2])});
    const QPoint ptInShow = m_pShow->mapFromGlobal(PaneCentre(1));
    QDragEnterEvent enter(ptInShow, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_pShow, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(ptInShow), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_pShow, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(Pane(1)->GetPlayState(), PLAY_STATE_IDLE);
    EXPECT_TRUE(WaitFor([&] { return IsPlaying(1, m_paths[2]); }));
    EXPECT_EQ(m_pList->GetPath(0), m_paths[2]);
}
