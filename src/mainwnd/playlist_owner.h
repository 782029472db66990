#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <cstdint>

#include "playback/file_probe.h"

// What the playlist asks of the window that owns it. Called on the
// user-interface thread only.
class IPlaylistOwner {
public:
    virtual ~IPlaylistOwner() = default;

    // An entry left the list: every pane showing its path closes.
    virtual void ClosePanesShowing(const QString& strPath) = 0;
    // Clearing in synchronous mode: every file closes at once.
    virtual void CloseAllFiles() = 0;
    // A file given to the list cannot be played, for the reason in `check`.
    virtual void FileRefused(const QString& strPath, const MediaFileCheck& check) = 0;
    // The user double-clicked entry nIndex.
    virtual void EntryDoubleClicked(int32_t nIndex) = 0;

    // Entry dragging: the list records the dragged entries (list order) and
    // posts CDragMoveEvent to DragMessageReceiver() on every move.
    virtual QObject* DragMessageReceiver() = 0;
    virtual void SetDraggedEntries(const QList<int32_t>& indexes) = 0;
    virtual bool IsDraggingEntries() const = 0;
    // The left button came up while dragging, the cursor at ptScreen.
    virtual void EndEntryDrag(QPoint ptScreen) = 0;
};
