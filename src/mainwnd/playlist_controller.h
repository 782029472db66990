#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "mainwnd/drag_list_item_dlg.h"
#include "mainwnd/drop_plan.h"
#include "mainwnd/ih_list_box.h"
#include "mainwnd/playlist_owner.h"
#include "playback/dlg_show.h"

class COrlinDlg;
class QWidget;

// The main window's side of the playlist: it creates the list and the drag
// preview, keeps the drag state, and turns double clicks, dragged entries and
// files dropped on the pane area into files opened in panes.
class CPlaylistController : public QObject, public IPlaylistOwner {
    Q_OBJECT
public:
    using SyncPlayHandler = std::function<void(const QStringList& paths)>;
    using MessageHandler = std::function<void(const QString& strText)>;

    explicit CPlaylistController(COrlinDlg* pMainWnd);
    ~CPlaylistController() override;

    CIHListBox* GetListBox() const { return m_pList; }
    CDragListItemDlg* GetDragPreview() const { return m_pPreview; }
    // Files dropped on the pane area are accepted from now on.
    void AttachPaneArea(CDlgShow* pDlgShow);
    // Plays paths in synchronous mode; without one such drops open nothing.
    void SetSyncPlayHandler(SyncPlayHandler fn) { m_fnSyncPlay = std::move(fn); }
    // Shows a warning; a message box unless replaced.
    void SetMessageHandler(MessageHandler fn) { m_fnMessage = std::move(fn); }

    // Adds files chosen in the file-open dialog; nothing is opened.
    void AddFilesFromDialog(QWidget* pParent);
    // Files dropped on the pane area at ptScreen: probed, listed and opened.
    void DropOnPaneArea(const QStringList& paths, QPoint ptScreen);
    // The selected entries' paths in list order, and the last of them.
    QStringList SelectedPaths() const;
    QString LastSelectedPath() const;
    bool IsDraggingEntries() const override { return m_bDragging; }
    QList<int32_t> GetDraggedEntries() const { return m_dragged; }

    // IPlaylistOwner
    void ClosePanesShowing(const QString& strPath) override;
    void CloseAllFiles() override;
    void FileRefused(const QString& strPath, const MediaFileCheck& check) override;
    void EntryDoubleClicked(int32_t nIndex) override;
    QObject* DragMessageReceiver() override { return this; }
    void SetDraggedEntries(const QList<int32_t>& indexes) override;
    void EndEntryDrag(QPoint ptScreen) override;

protected:
    bool event(QEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void OnDragMessage(QPoint ptScreen);
    bool IsInPaneArea(QPoint ptScreen) const;
    void Carry(PaneDropSource eSource, const QStringList& paths, QPoint ptScreen);
    void ShowMessage(const QString& strText) const;

    COrlinDlg* const m_pMainWnd;
    // The main window deletes the container before its children; the list
    // and the preview are its children too.
    QPointer<CDlgShow> m_pDlgShow;
    QPointer<CIHListBox> m_pList;
    QPointer<CDragListItemDlg> m_pPreview;
    bool m_bDragging = false;
    QList<int32_t> m_dragged;
    QList<int32_t> m_filled;  // the entries the preview's cells show
    SyncPlayHandler m_fnSyncPlay;
    MessageHandler m_fnMessage;
};
