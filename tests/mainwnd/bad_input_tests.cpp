// Files the player cannot play, given the ways a user gives them: the status
// line says which file and why, and nothing else happens.

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "mainwnd/command_ids.h"
#include "playlist_fixture.h"

namespace {
class BadInputTest : public PlaylistTest {
protected:
    QString Empty(const QString& strName) {
        const QString strPath = m_dir.filePath(strName);
        QFile file(strPath);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return strPath;
    }
    void DropOnPane(const QStringList& paths) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& strPath : paths) urls.append(QUrl::fromLocalFile(strPath));
        mime.setUrls(urls);
        const QPoint pt = m_pShow->rect().center();
        QDragEnterEvent enter(pt, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_pShow, &enter);
        QDropEvent drop(QPointF(pt), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_pShow, &drop);
    }
    bool ProblemShown(const QString& strText) {
        return WaitFor([&] { return m_dlg.GetPathText() == strText; });
    }
};
}  // namespace

TEST_F(BadInputTest, DroppedFilesThatCannotPlaySayWhyInTheStatusLine) {
    const QString strJunk = Junk(QStringLiteral("not_video.mp4"));
    DropOnPane({strJunk});
    EXPECT_TRUE(ProblemShown(QStringLiteral("not_video.mp4: not a video file")))
        << m_dlg.GetPathText().toStdString();
    DropOnPane({Empty(QStringLiteral("empty.rec"))});
    EXPECT_TRUE(ProblemShown(QStringLiteral("empty.rec: empty file")));
    QDir(m_dir.path()).mkdir(QStringLiteral("folder.mp4"));
    DropOnPane({m_dir.filePath(QStringLiteral("folder.mp4"))});
    EXPECT_TRUE(ProblemShown(QStringLiteral("folder.mp4: a folder, not a file")));

    // Nothing else changed: no box, no entry, the idle pane, the status line's state.
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(m_pList->GetCount(), 0);
    EXPECT_EQ(Pane(0)->GetPlayState(), PLAY_STATE_IDLE);
    EXPECT_EQ(m_dlg.GetStatusText(), QStringLiteral("Ready"));
}

TEST_F(BadInputTest, ADoubleClickedEntryWhoseFileWentAwaySaysSo) {
    const QString strPath = Sample(QStringLiteral("went_away.mp4"));
    ASSERT_TRUE(m_pList->AddPath(strPath));
    ASSERT_TRUE(QFile::remove(strPath));
    const QPoint pt = m_pList->visualItemRect(m_pList->item(0)).center();
    QTest::mouseDClick(m_pList->viewport(), Qt::LeftButton, Qt::NoModifier, pt);
    EXPECT_TRUE(ProblemShown(QStringLiteral("went_away.mp4: file not found")))
        << m_dlg.GetPathText().toStdString();
    EXPECT_EQ(Pane(0)->GetPlayState(), PLAY_STATE_IDLE);

    // The next file that plays takes the line back.
    const QString strGood = Sample(QStringLiteral("good.mp4"), 250);
    ASSERT_TRUE(m_dlg.OpenInPane(strGood));
    EXPECT_TRUE(WaitFor([&] { return m_dlg.GetPathText() == strGood; }, 8000))
        << m_dlg.GetPathText().toStdString();
}

TEST_F(BadInputTest, ProblemTextsComeFromTheCurrentLanguage) {
    m_dlg.OnCommand(ID_LANG_PORTUGUESE);
    DropOnPane({m_dir.filePath(QStringLiteral("nowhere.mp4"))});
    EXPECT_TRUE(ProblemShown(QString::fromUtf8("nowhere.mp4: arquivo não encontrado")))
        << m_dlg.GetPathText().toStdString();
    m_dlg.OnCommand(ID_LANG_ENGLISH);
}
