#include "mainwnd/playlist_controller.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>

#include "common/debug_log.h"
#include "mainwnd/add_files_dialog.h"
#include "mainwnd/drag_list_item_dlg.h"
#include "mainwnd/drag_move_event.h"
#include "mainwnd/dropped_files.h"
#include "mainwnd/ih_list_box.h"
#include "mainwnd/orlin_dlg.h"
#include "playback/dlg_show.h"
#include "playback/lang_text.h"

CPlaylistController::CPlaylistController(COrlinDlg* pMainWnd)
    : QObject(pMainWnd), m_pMainWnd(pMainWnd) {
    m_pList = new CIHListBox(pMainWnd);
    m_pList->SetOwner(this);
    m_pPreview = new CDragListItemDlg(pMainWnd);
    m_pPreview->hide();
}

CPlaylistController::~CPlaylistController() {
    if (m_pDlgShow != nullptr) m_pDlgShow->removeEventFilter(this);
    if (m_pList != nullptr) m_pList->SetOwner(nullptr);
}

void CPlaylistController::AttachPaneArea(CDlgShow* pDlgShow) {
    if (m_pDlgShow != nullptr) m_pDlgShow->removeEventFilter(this);
    m_pDlgShow = pDlgShow;
    if (m_pDlgShow == nullptr) return;
    // Drops on a pane travel up to the container, which takes them here.
    m_pDlgShow->setAcceptDrops(true);
    m_pDlgShow->installEventFilter(this);
}

void CPlaylistController::AddFilesFromDialog(QWidget* pParent) {
    const QStringList paths = ChooseFilesToAdd(pParent);
    if (!paths.isEmpty()) m_pList->AddProbedFiles(paths);
}

void CPlaylistController::DropOnPaneArea(const QStringList& paths, QPoint ptScreen) {
    if (m_pMainWnd->IsCutPanelShown()) {
        ShowMessage(LangText("IDS_MainWnd_CutFileConflict",
                             "Being cut file!Please cancel cutting and operate again!"));
        return;
    }
    // A file already listed, or one that no longer fits, is opened all the same.
    const QPointer<CPlaylistController> self(this);
    m_pList->AddProbedFiles(paths, CIHListBox::ProbeLimit::AllFiles,
                            [self, ptScreen](const QStringList& accepted) {
                                if (self != nullptr) {
                                    self->Carry(PaneDropSource::FileDrop, accepted, ptScreen);
                                }
                            });
}

void CPlaylistController::Carry(PaneDropSource eSource, const QStringList& paths, QPoint ptScreen) {
    if (m_pDlgShow == nullptr || paths.isEmpty()) return;
    PaneDropContext ctx;
    ctx.bSyncMode = m_pDlgShow->IsSyncMode();
    ctx.bEnlarged = m_pDlgShow->IsEnlarged();
    ctx.nPaneCount = m_pDlgShow->GetLayout();
    ctx.bCursorInPaneArea = IsInPaneArea(ptScreen);
    const PaneDropPlan plan = PlanPaneDrop(eSource, static_cast<int32_t>(paths.size()), ctx);
    if (plan.bReturnToGrid) m_pDlgShow->ToggleEnlarged();
    if (plan.bSyncPlay) {
        if (m_fnSyncPlay) m_fnSyncPlay(paths);
        return;
    }
    if (plan.bSelectUnderCursor) {
        if (eSource == PaneDropSource::FileDrop) DebugLog("Cursor in DlgShow");
        m_pDlgShow->SelectPaneAtPoint(m_pDlgShow->mapFromGlobal(ptScreen));
    }
    for (const PaneOpen& open : plan.opens) {
        if (open.nPane != PaneOpen::SELECTED_PANE) m_pDlgShow->SelectPaneByIndex(open.nPane);
        m_pMainWnd->OpenInPane(paths.at(open.nFile));
    }
}

bool CPlaylistController::IsInPaneArea(QPoint ptScreen) const {
    return m_pDlgShow != nullptr && m_pDlgShow->isVisible() &&
           m_pDlgShow->rect().contains(m_pDlgShow->mapFromGlobal(ptScreen));
}

QStringList CPlaylistController::SelectedPaths() const {
    QStringList paths;
    for (int32_t nIndex : m_pList->GetSelectedIndexes()) paths.append(m_pList->GetPath(nIndex));
    return paths;
}

QString CPlaylistController::LastSelectedPath() const {
    const QList<int32_t> indexes = m_pList->GetSelectedIndexes();
    return indexes.isEmpty() ? QString() : m_pList->GetPath(indexes.last());
}

void CPlaylistController::ClosePanesShowing(const QString& strPath) {
    if (m_pDlgShow != nullptr) m_pDlgShow->ClosePanesShowingFile(strPath);
}

void CPlaylistController::CloseAllFiles() {
    if (m_pDlgShow != nullptr) m_pDlgShow->CloseFile();
}

void CPlaylistController::FileRefused(const QString& strPath, const MediaFileCheck& check) {
    m_pMainWnd->ShowFileProblem(strPath, check);
}

void CPlaylistController::EntryDoubleClicked(int32_t nIndex) {
    if (m_pDlgShow != nullptr && m_pDlgShow->IsSyncMode()) {
        ShowMessage(LangText("IDS_MainWnd_SyncModePleasePressPlay",
                             "In synchronous mode please press play button to play files!"));
        return;
    }
    if (m_pMainWnd->IsCutPanelShown()) {
        ShowMessage(LangText("IDS_MainWnd_CutFileConflict",
                             "Being cut file!Please cancel cutting and operate again!"));
        return;
    }
    m_pList->setCurrentRow(nIndex, QItemSelectionModel::ClearAndSelect);
    m_pMainWnd->OpenInPane(m_pList->GetPath(nIndex));
}

void CPlaylistController::SetDraggedEntries(const QList<int32_t>& indexes) {
    m_dragged = indexes;
    m_bDragging = true;
}

void CPlaylistController::EndEntryDrag(QPoint ptScreen) {
    m_bDragging = false;
    m_pPreview->hide();
    QStringList paths;
    for (int32_t nIndex : m_dragged) {
        const QString strPath = m_pList->GetPath(nIndex);
        if (!strPath.isEmpty()) paths.append(strPath);
    }
    m_dragged.clear();
    Carry(PaneDropSource::ListDrag, paths, ptScreen);
}

void CPlaylistController::OnDragMessage(QPoint ptScreen) {
    if (!m_bDragging) {
        m_pPreview->hide();
        return;
    }
    const int nWidth = m_pList->width();
    // The cells change only when another drag starts; later moves only move the preview.
    if (!m_pPreview->isVisible() || m_filled != m_dragged) {
        QStringList texts;
        for (int32_t nIndex : m_dragged) texts.append(m_pList->item(nIndex)->text());
        if (!m_pPreview->Fill(texts, nWidth)) return;
        m_filled = m_dragged;
    }
    m_pPreview->setGeometry(ptScreen.x() - nWidth / 2, ptScreen.y() - 11, nWidth,
                            CDragListItemDlg::CELL_HEIGHT * m_pPreview->GetShownCells());
    m_pPreview->show();
}

bool CPlaylistController::event(QEvent* pEvent) {
    if (pEvent->type() == ORLIN_MSG_DRAG_LIST_ITEM) {
        OnDragMessage(static_cast<CDragMoveEvent*>(pEvent)->ScreenPos());
        return true;
    }
    return QObject::event(pEvent);
}

bool CPlaylistController::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched != m_pDlgShow) return QObject::eventFilter(pWatched, pEvent);
    switch (pEvent->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* pDrag = static_cast<QDragMoveEvent*>(pEvent);
            if (!DroppedLocalFiles(pDrag->mimeData()).isEmpty()) pDrag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* pDrop = static_cast<QDropEvent*>(pEvent);
            const QStringList paths = DroppedLocalFiles(pDrop->mimeData());
            if (paths.isEmpty()) return true;
            pDrop->acceptProposedAction();
            // Handled after the drop has returned, so that the program the files
            // came from is not kept waiting by a message box.
            const QPoint ptScreen = m_pDlgShow->mapToGlobal(pDrop->position().toPoint());
            QTimer::singleShot(0, this,
                               [this, paths, ptScreen] { DropOnPaneArea(paths, ptScreen); });
            return true;
        }
        default:
            return QObject::eventFilter(pWatched, pEvent);
    }
}

void CPlaylistController::ShowMessage(const QString& strText) const {
    if (m_fnMessage) {
        m_fnMessage(strText);
        return;
    }
    QMessageBox::warning(m_pMainWnd, QStringLiteral("Orlin"), strText);
}
