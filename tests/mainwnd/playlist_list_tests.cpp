#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QUrl>
#include <algorithm>

#include "controls/my_static.h"
#include "mainwnd/drag_list_item_dlg.h"
#include "playlist_fixture.h"

namespace {
QMimeData* FileUrls(const QStringList& paths) {
    auto* pMime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& strPath : paths) urls.append(QUrl::fromLocalFile(strPath));
    pMime->setUrls(urls);
    return pMime;
}
}  // namespace

class PlaylistListTest : public PlaylistTest {
protected:
    // A drop is delivered to the widget that accepted the drag's entry.
    void DropOnList(const QStringList& paths) {
        std::unique_ptr<QMimeData> pMime(FileUrls(paths));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, pMime.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(m_pList->viewport(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, pMime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_pList->viewport(), &drop);
    }
    QPoint EntryCentre(int32_t nIndex) const {
        return m_pList->visualItemRect(m_pList->item(nIndex)).center();
    }
    // Sends one mouse event to the list at a point in its viewport.
    void Mouse(QEvent::Type eType, QPoint ptLocal, Qt::MouseButton eButton,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* pViewport = m_pList->viewport();
        QMouseEvent event(eType, QPointF(ptLocal), QPointF(pViewport->mapToGlobal(ptLocal)),
                          eButton, buttons, modifiers);
        QCoreApplication::sendEvent(pViewport, &event);
    }
    QPoint ToList(QPoint ptScreen) const { return m_pList->viewport()->mapFromGlobal(ptScreen); }
    void Select(std::initializer_list<int32_t> rows) {
        m_pList->clearSelection();
        for (int32_t nRow : rows) m_pList->item(nRow)->setSelected(true);
    }
};

TEST_F(PlaylistListTest, ListsOnlyFilesTheEngineOpensOncePerExactPath) {
    const QString strLower = Sample(QStringLiteral("cam.mp4"));
    const QString strUpper = Sample(QStringLiteral("CAM.mp4"));
    QStringList accepted;
    m_pList->AddProbedFiles({strLower, Junk(QStringLiteral("junk.mp4")), strLower, strUpper,
                             m_dir.filePath(QStringLiteral("missing.mp4"))},
                            CIHListBox::ProbeLimit::FreeSlots,
                            [&](const QStringList& paths) { accepted = paths; });
    EXPECT_TRUE(m_pList->IsProbing());
    WaitForProbes();
    EXPECT_EQ(accepted, (QStringList{strLower, strUpper}));
    ASSERT_EQ(m_pList->GetCount(), 2);
    EXPECT_EQ(m_pList->item(0)->text(), QStringLiteral("cam.mp4"));
    EXPECT_EQ(m_pList->GetPath(1), strUpper);
    EXPECT_EQ(m_dlg.PlaylistIndexOf(strUpper), 1);
    EXPECT_EQ(m_pList->visualItemRect(m_pList->item(1)).height(), CIHListBox::ITEM_HEIGHT);

    const QFontMetrics metrics = m_pList->fontMetrics();
    EXPECT_EQ(m_pList->GetHorizontalExtent(),
              std::max(metrics.horizontalAdvance(QStringLiteral("cam.mp4")),
                       metrics.horizontalAdvance(QStringLiteral("CAM.mp4"))));
    m_pList->Clear(false);
    EXPECT_EQ(m_pList->GetHorizontalExtent(), 0);
    EXPECT_EQ(m_dlg.PlaylistCount(), 0);
}

TEST_F(PlaylistListTest, ALongNameGetsAHorizontalScrollBarThatGoesWithIt) {
    const QString strLong = m_dir.filePath(
        QStringLiteral("camera_07_parking_garage_level_minus_two_2024-05-06_07-08-09.mp4"));
    ASSERT_TRUE(m_pList->AddPath(m_dir.filePath(QStringLiteral("a.mp4"))));
    EXPECT_EQ(m_pList->horizontalScrollBar()->maximum(), 0);
    ASSERT_TRUE(m_pList->AddPath(strLong));
    QCoreApplication::processEvents();
    const int nWidest = m_pList->fontMetrics().horizontalAdvance(QFileInfo(strLong).fileName());
    EXPECT_EQ(m_pList->GetHorizontalExtent(), nWidest);
    EXPECT_GE(m_pList->horizontalScrollBar()->maximum(), nWidest - m_pList->viewport()->width());
    EXPECT_GT(m_pList->horizontalScrollBar()->maximum(), 0);

    m_pList->item(1)->setSelected(true);
    m_pList->DeleteSelected();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_pList->horizontalScrollBar()->maximum(), 0);
}

TEST_F(PlaylistListTest, DropOnANearlyFullListFillsTheFreeSlotsWithAcceptedFiles) {
    for (int i = 0; i < CPlaylistTable::MAX_ENTRIES - 2; ++i) {
        ASSERT_TRUE(m_pList->AddPath(QStringLiteral("/nowhere/%1.mp4").arg(i)));
    }
    const QString strA = Sample(QStringLiteral("a.mp4"));
    const QString strB = Sample(QStringLiteral("b.mp4"));
    const QString strC = Sample(QStringLiteral("c.mp4"));
    // A rejected file does not use up a free slot.
    DropOnList({Junk(QStringLiteral("junk.264")), strA, strB, strC});
    WaitForProbes();
    EXPECT_EQ(m_pList->GetCount(), CPlaylistTable::MAX_ENTRIES);
    EXPECT_EQ(m_pList->GetPath(998), strA);
    EXPECT_EQ(m_pList->GetPath(999), strB);
    EXPECT_EQ(m_pList->IndexOfPath(strC), -1);
    EXPECT_EQ(m_pShow->GetPlayWnd(0)->GetPlayState(), PLAY_STATE_IDLE);
}

TEST_F(PlaylistListTest, DroppedPathsLongerThan520CharactersAreListed) {
    QString strFolder = m_dir.path();
    while (strFolder.size() < 600) {
        strFolder += QLatin1Char('/') + QString(120, QLatin1Char('d'));
        ASSERT_TRUE(QDir().mkpath(strFolder));
    }
    const QString strPath = Sample(strFolder.mid(m_dir.path().size() + 1) + "/long.mp4");
    ASSERT_GT(strPath.size(), 520);
    DropOnList({strPath});
    WaitForProbes();
    ASSERT_EQ(m_pList->GetCount(), 1);
    EXPECT_EQ(m_pList->GetPath(0), strPath);
    EXPECT_EQ(m_pList->item(0)->text(), QStringLiteral("long.mp4"));
}

TEST_F(PlaylistListTest, DeletingSelectedEntriesClosesOnlyTheirPanes) {
    ASSERT_TRUE(m_pShow->SetLayout(4));
    QStringList paths;
    for (const char* szName : {"one.mp4", "two.mp4", "three.mp4"}) {
        paths.append(Sample(QString::fromUtf8(szName), 250));
        ASSERT_TRUE(m_pList->AddPath(paths.last()));
    }
    for (int32_t i = 0; i < 3; ++i) {
        m_pShow->SelectPaneByIndex(i);
        ASSERT_TRUE(m_dlg.OpenInPane(paths[i]));
        ASSERT_TRUE(IsPlaying(i, paths[i]));
    }
    Select({0, 2});
    m_pList->DeleteSelected();
    EXPECT_EQ(m_pList->GetCount(), 1);
    EXPECT_EQ(m_pList->GetPath(0), paths[1]);
    EXPECT_EQ(m_pList->item(0)->text(), QStringLiteral("two.mp4"));
    EXPECT_EQ(Pane(0)->GetPlayState(), PLAY_STATE_IDLE);
    EXPECT_TRUE(IsPlaying(1, paths[1]));
    EXPECT_EQ(Pane(2)->GetPlayState(), PLAY_STATE_IDLE);

    m_pList->Clear(false);
    EXPECT_EQ(Pane(1)->GetPlayState(), PLAY_STATE_IDLE);
    EXPECT_EQ(m_pList->count(), 0);
}

TEST_F(PlaylistListTest, PressKeepsAMultipleSelectionAndAClickSelectsOneEntry) {
    for (const char* szName : {"a.mp4", "b.mp4", "c.mp4"}) {
        ASSERT_TRUE(m_pList->AddPath(m_dir.filePath(QString::fromUtf8(szName))));
    }
    Select({0, 2});
    Mouse(QEvent::MouseButtonPress, EntryCentre(2), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(m_pList->GetSelectedIndexes(), (QList<int32_t>{0, 2}));
    EXPECT_TRUE(m_pList->IsDragPending());
    EXPECT_EQ(m_pList->GetPressIndex(), 2);
    Mouse(QEvent::MouseButtonRelease, EntryCentre(2), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(m_pList->GetSelectedIndexes(), (QList<int32_t>{2}));
    EXPECT_FALSE(m_pList->IsDragPending());

    // Ctrl adds to the selection the list's own way and arms no drag.
    Mouse(QEvent::MouseButtonPress, EntryCentre(0), Qt::LeftButton, Qt::LeftButton,
          Qt::ControlModifier);
    EXPECT_FALSE(m_pList->IsDragPending());
    Mouse(QEvent::MouseButtonRelease, EntryCentre(0), Qt::LeftButton, Qt::NoButton,
          Qt::ControlModifier);
    EXPECT_EQ(m_pList->GetSelectedIndexes(), (QList<int32_t>{0, 2}));

    // Below the last entry a press is ignored.
    const QPoint ptBelow(5, m_pList->visualItemRect(m_pList->item(2)).bottom() + 30);
    Mouse(QEvent::MouseButtonPress, ptBelow, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(m_pList->GetPressIndex(), -1);
    EXPECT_FALSE(m_pList->IsDragPending());
    EXPECT_EQ(m_pList->GetSelectedIndexes(), (QList<int32_t>{0, 2}));
    Mouse(QEvent::MouseButtonRelease, ptBelow, Qt::LeftButton, Qt::NoButton);

    Mouse(QEvent::MouseMove, EntryCentre(1), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(m_pList->GetToolTipText(), QStringLiteral("b.mp4"));
    Mouse(QEvent::MouseMove, ptBelow, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(m_pList->GetToolTipText(), QString());
}

TEST_F(PlaylistListTest, DraggingSeveralEntriesOpensThemInPanesFromTheFirst) {
    ASSERT_TRUE(m_pShow->SetLayout(4));
    QStringList paths;
    for (const char* szName : {"a.mp4", "b.mp4", "c.mp4", "d.mp4"}) {
        paths.append(Sample(QString::fromUtf8(szName), 250));
        ASSERT_TRUE(m_pList->AddPath(paths.last()));
    }
    Select({1, 2, 3});
    Mouse(QEvent::MouseButtonPress, EntryCentre(2), Qt::LeftButton, Qt::LeftButton);
    const QPoint ptOver = PaneCentre(3);
    Mouse(QEvent::MouseMove, ToList(ptOver), Qt::NoButton, Qt::LeftButton);
    QCoreApplication::processEvents();

    CDragListItemDlg* pPreview = m_dlg.GetPlaylist()->GetDragPreview();
    EXPECT_TRUE(m_dlg.GetPlaylist()->IsDraggingEntries());
    ASSERT_TRUE(pPreview->isVisible());
    EXPECT_EQ(pPreview->GetShownCells(), 3);
    EXPECT_EQ(pPreview->GetCell(1)->GetText(), QStringLiteral("c.mp4"));
    const int nWidth = m_pList->width();
    EXPECT_EQ(pPreview->geometry(),
              QRect(ptOver.x() - nWidth / 2, ptOver.y() - 11, nWidth, 3 * 22));

    Mouse(QEvent::MouseButtonRelease, ToList(ptOver), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(m_dlg.GetPlaylist()->IsDraggingEntries());
    EXPECT_FALSE(pPreview->isVisible());
    EXPECT_TRUE(IsPlaying(0, paths[1]));
    EXPECT_TRUE(IsPlaying(1, paths[2]));
    EXPECT_TRUE(IsPlaying(2, paths[3]));
    EXPECT_EQ(Pane(3)->GetPlayState(), PLAY_STATE_IDLE);
    // The selection is the dragged one still.
    EXPECT_EQ(m_pList->GetSelectedIndexes(), (QList<int32_t>{1, 2, 3}));

    // One entry goes to the pane under the cursor.
    Select({0});
    Mouse(QEvent::MouseButtonPress, EntryCentre(0), Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, ToList(ptOver), Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, ToList(ptOver), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(m_pShow->GetSelIndex(), 3);
    EXPECT_TRUE(IsPlaying(3, paths[0]));
}

TEST_F(PlaylistListTest, DraggedEntriesReleasedOutsideThePanesOpenNothing) {
    const QString strPath = Sample(QStringLiteral("a.mp4"));
    ASSERT_TRUE(m_pList->AddPath(strPath));
    Mouse(QEvent::MouseButtonPress, EntryCentre(0), Qt::LeftButton, Qt::LeftButton);
    const QPoint ptAway = m_pList->viewport()->rect().bottomRight() - QPoint(2, 2);
    Mouse(QEvent::MouseMove, ptAway, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, ptAway, Qt::LeftButton, Qt::NoButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_dlg.GetPlaylist()->GetDragPreview()->isVisible());
    EXPECT_EQ(Pane(0)->GetPlayState(), PLAY_STATE_IDLE);
}

TEST_F(PlaylistListTest, DoubleClickOpensTheEntryOutsideSynchronousMode) {
    QStringList paths;
    for (const char* szName : {"a.mp4", "b.mp4"}) {
        paths.append(Sample(QString::fromUtf8(szName), 250));
        ASSERT_TRUE(m_pList->AddPath(paths.last()));
    }
    Select({0, 1});
    Mouse(QEvent::MouseButtonDblClick, EntryCentre(1), Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(IsPlaying(0, paths[1]));
    EXPECT_EQ(m_pList->GetSelectedIndexes(), (QList<int32_t>{1}));
    EXPECT_TRUE(m_messages.isEmpty());

    m_pShow->SetSyncMode(true);
    Mouse(QEvent::MouseButtonDblClick, EntryCentre(0), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(
        m_messages,
        QStringList{QStringLiteral("In synchronous mode please press play button to play files!")});
    EXPECT_EQ(Pane(0)->GetPlayState(), PLAY_STATE_IDLE);
    m_pShow->SetSyncMode(false);
}

TEST_F(PlaylistListTest, AListDestroyedWhileProbingNeitherWaitsLongNorAnswers) {
    const QString strPath = Sample(QStringLiteral("a.mp4"));
    bool bAnswered = false;
    auto* pList = new CIHListBox;
    pList->AddProbedFiles(QStringList(400, strPath), CIHListBox::ProbeLimit::AllFiles,
                          [&](const QStringList&) { bAnswered = true; });
    QElapsedTimer timer;
    timer.start();
    delete pList;
    // One probe at most is finished after the request to stop.
    EXPECT_LT(timer.elapsed(), 1000);
    SpinFor(50);
    EXPECT_FALSE(bAnswered);
}
