#include "mainwnd/ih_list_box.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QUrl>
#include <algorithm>

#include "mainwnd/drag_move_event.h"
#include "mainwnd/dropped_files.h"
#include "mainwnd/playlist_owner.h"

namespace {
// Room the list view keeps around an item's text.
constexpr int kTextPadding = 8;
}  // namespace

CIHListBox::CIHListBox(QWidget* pParent) : QListWidget(pParent) {
    setObjectName(QStringLiteral("list1071"));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    // Drops arrive at the viewport, which takes them only when it accepts drops itself.
    viewport()->setAcceptDrops(true);
    setMouseTracking(true);
    m_tipTimer.setSingleShot(true);
    m_tipTimer.setInterval(TIP_DELAY_MS);
    connect(&m_tipTimer, &QTimer::timeout, this, &CIHListBox::ShowToolTip);
    m_pProber = new CFileProber(this);
}

bool CIHListBox::AddPath(const QString& strPath) {
    if (!m_table.Add(strPath)) return false;
    const QString strText = CPlaylistTable::DisplayText(strPath);
    auto* pItem = new QListWidgetItem(strText, this);
    // Only the new entry is measured: the extent can only grow by an addition.
    const int nTextWidth = fontMetrics().horizontalAdvance(strText);
    pItem->setSizeHint(QSize(nTextWidth + kTextPadding, ITEM_HEIGHT));
    if (nTextWidth > m_nHorizontalExtent) {
        m_nHorizontalExtent = nTextWidth;
        updateGeometries();
    }
    return true;
}

void CIHListBox::AddProbedFiles(const QStringList& paths, ProbeLimit eLimit, Accepted then) {
    QStringList toProbe;
    int32_t nMaxAccepted = CFileProber::NO_LIMIT;
    if (eLimit == ProbeLimit::FreeSlots) {
        for (const QString& strPath : paths) {
            if (m_table.IndexOf(strPath) < 0 && !toProbe.contains(strPath)) toProbe.append(strPath);
        }
        nMaxAccepted = m_table.FreeSlots();
    } else {
        toProbe = paths;
    }
    m_pProber->Probe(toProbe, nMaxAccepted, [this, then](const CFileProber::Answer& answer) {
        for (const QString& strPath : answer.accepted) AddPath(strPath);
        if (m_pOwner != nullptr) {
            for (const CFileProber::Rejected& rejected : answer.rejected) {
                m_pOwner->FileRefused(rejected.strPath, rejected.check);
            }
        }
        if (then) then(answer.accepted);
    });
}

QList<int32_t> CIHListBox::GetSelectedIndexes() const {
    QList<int32_t> indexes;
    for (int32_t i = 0; i < count(); ++i) {
        if (item(i)->isSelected()) indexes.append(i);
    }
    return indexes;
}

void CIHListBox::RemoveEntry(int32_t nIndex) {
    delete takeItem(nIndex);
    m_table.RemoveAt(nIndex);
}

void CIHListBox::DeleteSelected() {
    // From the last entry up, so that the indexes still to visit stay valid.
    for (int32_t i = count() - 1; i >= 0; --i) {
        if (!item(i)->isSelected()) continue;
        const QString strPath = m_table.Path(i);
        RemoveEntry(i);
        if (m_pOwner != nullptr) m_pOwner->ClosePanesShowing(strPath);
    }
    m_nPressIndex = -1;
    RecomputeExtent();
}

void CIHListBox::Clear(bool bSyncMode) {
    if (m_pOwner != nullptr) {
        if (bSyncMode) {
            m_pOwner->CloseAllFiles();
        } else {
            for (int32_t i = 0; i < m_table.Count(); ++i)
                m_pOwner->ClosePanesShowing(m_table.Path(i));
        }
    }
    for (int32_t i = count() - 1; i >= 0; --i) RemoveEntry(i);
    m_table.Clear();
    m_nPressIndex = -1;
    RecomputeExtent();
}

void CIHListBox::RecomputeExtent() {
    int nWidest = 0;
    const QFontMetrics metrics = fontMetrics();
    for (int32_t i = 0; i < count(); ++i) {
        nWidest = std::max(nWidest, metrics.horizontalAdvance(item(i)->text()));
    }
    m_nHorizontalExtent = nWidest;
    updateGeometries();
}

void CIHListBox::updateGeometries() {
    QListWidget::updateGeometries();
    // The list scrolls sideways over the widest name, however the view itself
    // measured its contents.
    const int nViewport = viewport()->width();
    const int nOverflow = m_nHorizontalExtent + kTextPadding - nViewport;
    QScrollBar* pBar = horizontalScrollBar();
    pBar->setRange(0, m_nHorizontalExtent > 0 ? std::max(0, nOverflow) : 0);
    pBar->setPageStep(std::max(1, nViewport));
}

int32_t CIHListBox::EntryAt(QPoint ptViewport) const {
    if (!viewport()->rect().contains(ptViewport)) return -1;
    const QModelIndex index = indexAt(ptViewport);
    return index.isValid() ? index.row() : -1;
}

void CIHListBox::mousePressEvent(QMouseEvent* pEvent) {
    m_bPressPassedOn = false;
    if (pEvent->button() != Qt::LeftButton) {
        m_bPressPassedOn = true;
        QListWidget::mousePressEvent(pEvent);
        return;
    }
    const int32_t nRow = EntryAt(pEvent->position().toPoint());
    m_nPressIndex = nRow;
    if (nRow < 0) return;
    if (pEvent->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
        m_bPendingDrag = false;
        m_bPressPassedOn = true;
        QListWidget::mousePressEvent(pEvent);
        return;
    }
    // The press is kept from the list view so that a multiple selection
    // survives it and can be dragged as a whole.
    if (!item(nRow)->isSelected()) setCurrentRow(nRow, QItemSelectionModel::ClearAndSelect);
    m_bPendingDrag = true;
}

void CIHListBox::mouseMoveEvent(QMouseEvent* pEvent) {
    if (!(pEvent->buttons() & Qt::LeftButton)) {
        UpdateToolTip(pEvent->position().toPoint());
        QListWidget::mouseMoveEvent(pEvent);
        return;
    }
    if (!m_bPendingDrag) {
        if (m_bPressPassedOn) QListWidget::mouseMoveEvent(pEvent);
        return;
    }
    const QList<int32_t> dragged = GetSelectedIndexes();
    if (m_pOwner == nullptr || dragged.isEmpty()) return;
    m_pOwner->SetDraggedEntries(dragged);
    QCoreApplication::postEvent(m_pOwner->DragMessageReceiver(),
                                new CDragMoveEvent(pEvent->globalPosition().toPoint()));
}

void CIHListBox::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) {
        QListWidget::mouseReleaseEvent(pEvent);
        return;
    }
    if (m_bPendingDrag) {
        const int32_t nRow = EntryAt(pEvent->position().toPoint());
        if (nRow >= 0) setCurrentRow(nRow, QItemSelectionModel::ClearAndSelect);
    }
    m_bPendingDrag = false;
    if (m_bPressPassedOn) QListWidget::mouseReleaseEvent(pEvent);
    m_bPressPassedOn = false;
    if (m_pOwner != nullptr && m_pOwner->IsDraggingEntries()) {
        m_pOwner->EndEntryDrag(pEvent->globalPosition().toPoint());
    }
}

void CIHListBox::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) return;
    const int32_t nRow = EntryAt(pEvent->position().toPoint());
    if (nRow >= 0 && m_pOwner != nullptr) m_pOwner->EntryDoubleClicked(nRow);
}

void CIHListBox::UpdateToolTip(QPoint ptViewport) {
    const int32_t nRow = EntryAt(ptViewport);
    const QString strText = nRow >= 0 ? item(nRow)->text() : QString();
    if (QString::compare(strText, m_strTipText, Qt::CaseInsensitive) == 0) return;
    m_strTipText = strText;
    QToolTip::hideText();
    if (!m_strTipText.isEmpty()) m_tipTimer.start();
}

void CIHListBox::ShowToolTip() {
    if (m_strTipText.isEmpty() || !underMouse()) return;
    QToolTip::showText(
        QCursor::pos(),
        QStringLiteral("<span style=\"color:#0000ff\">%1</span>").arg(m_strTipText.toHtmlEscaped()),
        viewport());
}

void CIHListBox::dragEnterEvent(QDragEnterEvent* pEvent) {
    if (!DroppedLocalFiles(pEvent->mimeData()).isEmpty()) pEvent->acceptProposedAction();
}

void CIHListBox::dragMoveEvent(QDragMoveEvent* pEvent) {
    if (!DroppedLocalFiles(pEvent->mimeData()).isEmpty()) pEvent->acceptProposedAction();
}

void CIHListBox::dropEvent(QDropEvent* pEvent) {
    const QStringList paths = DroppedLocalFiles(pEvent->mimeData());
    if (paths.isEmpty()) return;
    pEvent->acceptProposedAction();
    AddProbedFiles(paths);
}
