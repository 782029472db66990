#include <QCoreApplication>

#include "playback/orlin_messages.h"
#include "playlist_fixture.h"

namespace {
struct EndCase {
    PlayOrder eOrder;
    int32_t nEnded;
    int32_t nNext;  // entry playing afterwards; -1: the ended file stays stopped
};
}  // namespace

class PlayOrderTest : public PlaylistTest {
protected:
    void SetUp() override {
        PlaylistTest::SetUp();
        for (const char* szName : {"first.mp4", "middle.mp4", "last.mp4"}) {
            m_paths.append(Sample(QString::fromUtf8(szName), 250));
            ASSERT_TRUE(m_dlg.AddToPlaylist(m_paths.last()));
        }
    }
    QStringList m_paths;
};

TEST_F(PlayOrderTest, FileEndFollowsEachOrderAtTheFirstMiddleAndLastEntry) {
    const EndCase cases[] = {
        {PLAY_ORDER_SINGLE_PLAY, 0, -1},    {PLAY_ORDER_SINGLE_PLAY, 2, -1},
        {PLAY_ORDER_SINGLE_REPEAT, 0, 0},   {PLAY_ORDER_SINGLE_REPEAT, 1, 1},
        {PLAY_ORDER_SINGLE_REPEAT, 2, 2},   {PLAY_ORDER_PLAYLIST_PLAY, 0, 1},
        {PLAY_ORDER_PLAYLIST_PLAY, 1, 2},   {PLAY_ORDER_PLAYLIST_PLAY, 2, -1},
        {PLAY_ORDER_PLAYLIST_REPEAT, 0, 1}, {PLAY_ORDER_PLAYLIST_REPEAT, 1, 2},
        {PLAY_ORDER_PLAYLIST_REPEAT, 2, 0},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "order " << c.eOrder << ", ended entry " << c.nEnded);
        m_dlg.SetPlayOrder(c.eOrder);
        ASSERT_TRUE(m_dlg.OpenInPane(m_paths[c.nEnded]));
        ASSERT_TRUE(IsPlaying(0, m_paths[c.nEnded]));
        QCoreApplication::postEvent(Pane(0), new QEvent(ORLIN_MSG_FILE_END));
        QCoreApplication::processEvents();
        if (c.nNext < 0) {
            EXPECT_EQ(Pane(0)->GetPlayState(), PLAY_STATE_STOPPED);
            EXPECT_EQ(Pane(0)->GetFilePath(), m_paths[c.nEnded]);
        } else {
            EXPECT_TRUE(IsPlaying(0, m_paths[c.nNext]));
        }
    }
}

TEST_F(PlayOrderTest, AFileOutsideThePlaylistStopsUnderPlaylistRepeat) {
    const QString strOther = Sample(QStringLiteral("other.mp4"), 250);
    m_dlg.SetPlayOrder(PLAY_ORDER_PLAYLIST_REPEAT);
    ASSERT_TRUE(m_dlg.OpenInPane(strOther));
    ASSERT_TRUE(IsPlaying(0, strOther));
    Pane(0)->PlayEndMessage();
    EXPECT_EQ(Pane(0)->GetPlayState(), PLAY_STATE_STOPPED);
    EXPECT_EQ(Pane(0)->GetFilePath(), strOther);
}

TEST_F(PlayOrderTest, ADroppedFileContinuesWithTheEntryAfterItNotAfterTheSelection) {
    // The middle entry is short, so that it really ends while the test waits.
    const QString strShort = Sample(QStringLiteral("short.mp4"), 10);
    m_pList->Clear(false);
    for (const QString& strPath : {m_paths[0], strShort, m_paths[2]}) {
        ASSERT_TRUE(m_dlg.AddToPlaylist(strPath));
    }
    m_pList->setCurrentRow(0);
    m_dlg.SetPlayOrder(PLAY_ORDER_PLAYLIST_PLAY);
    m_dlg.GetPlaylist()->DropOnPaneArea({strShort}, PaneCentre(0));
    WaitForProbes();
    ASSERT_TRUE(IsPlaying(0, strShort));
    EXPECT_EQ(m_pList->GetSelectedIndexes(), (QList<int32_t>{0}));
    EXPECT_TRUE(WaitFor([&] { return IsPlaying(0, m_paths[2]); }, 10000));
    EXPECT_EQ(m_pList->GetSelectedIndexes(), (QList<int32_t>{0}));
}
