#pragma once

#include <QList>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>

#include "mainwnd/file_prober.h"
#include "mainwnd/playlist_table.h"

class IPlaylistOwner;

// The playlist (control 1071): the added files by name, several selectable at
// once. A left press without Shift or Ctrl keeps a multiple selection and
// arms a drag of the selected entries; moving the mouse then drags them
// towards the pane area through the owner. Files dropped here are probed and
// listed into the free slots.
class CIHListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr int ITEM_HEIGHT = 20;
    static constexpr int TIP_DELAY_MS = 100;

    explicit CIHListBox(QWidget* pParent = nullptr);

    void SetOwner(IPlaylistOwner* pOwner) { m_pOwner = pOwner; }

    // Lists a path the engine has already accepted; false when it is refused
    // (already listed exactly so, or the list is full).
    bool AddPath(const QString& strPath);
    // Which probed files a request may list: as many as the list had free
    // slots when asked (files already listed are not probed), or all of them.
    enum class ProbeLimit { FreeSlots, AllFiles };
    // Probes the files off this thread, then lists the accepted ones in order
    // while there is room and hands every accepted file to `then`.
    // Refused files are reported to the owner with the reason.
    using Accepted = std::function<void(const QStringList& accepted)>;
    void AddProbedFiles(const QStringList& paths, ProbeLimit eLimit = ProbeLimit::FreeSlots,
                        Accepted then = {});
    bool IsProbing() const { return m_pProber->IsBusy(); }
    QString GetPath(int32_t nIndex) const { return m_table.Path(nIndex); }
    int32_t IndexOfPath(const QString& strPath) const { return m_table.IndexOf(strPath); }
    int32_t GetCount() const { return m_table.Count(); }
    // Selected entries in list order.
    QList<int32_t> GetSelectedIndexes() const;
    // Removes every selected entry, closing the panes that show it.
    void DeleteSelected();
    // Removes every entry. Outside synchronous mode each entry's panes close
    // first; in synchronous mode every file closes at once.
    void Clear(bool bSyncMode);

    // The widest display text in pixels; 0 for an empty list.
    int GetHorizontalExtent() const { return m_nHorizontalExtent; }
    bool IsDragPending() const { return m_bPendingDrag; }
    int32_t GetPressIndex() const { return m_nPressIndex; }
    QString GetToolTipText() const { return m_strTipText; }

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dragMoveEvent(QDragMoveEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    void updateGeometries() override;

private:
    int32_t EntryAt(QPoint ptViewport) const;
    void RemoveEntry(int32_t nIndex);
    void RecomputeExtent();
    void UpdateToolTip(QPoint ptViewport);
    void ShowToolTip();

    CPlaylistTable m_table;
    CFileProber* m_pProber = nullptr;
    IPlaylistOwner* m_pOwner = nullptr;
    int m_nHorizontalExtent = 0;
    int32_t m_nPressIndex = -1;
    bool m_bPendingDrag = false;
    bool m_bPressPassedOn = false;
    QString m_strTipText;
    QTimer m_tipTimer;
};
