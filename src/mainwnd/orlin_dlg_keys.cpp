// Key dispatch: every key press addressed to the main window or one of its
// controls, and every key a pane forwards (message 4401), runs through the
// user's hot-key table here. No key reaches the focused control, so Enter and
// Escape never end the dialog and the arrows do not move the playlist.

#include <QGuiApplication>
#include <QKeyEvent>

#include "common/debug_log.h"
#include "controls/virtual_key.h"
#include "mainwnd/hot_key_match.h"
#include "mainwnd/orlin_dlg.h"
#include "mainwnd/playlist_controller.h"
#include "playback/dlg_show.h"
#include "playback/play_wnd.h"

bool COrlinDlg::FilterKeyPress(QObject* pWatched, const QKeyEvent* pEvent) {
    if (!pWatched->isWidgetType()) return false;
    auto* pWidget = static_cast<QWidget*>(pWatched);
    // Other top-level windows (dialogs, menus, message boxes) keep their keys.
    if (pWidget->window() != this) return false;
    // Examined from the addressed control upwards: a pane forwards its keys
    // itself (message 4401), and the pane container keeps Space, Escape and F1.
    for (QWidget* pUp = pWidget; pUp != nullptr && pUp != this; pUp = pUp->parentWidget()) {
        if (qobject_cast<CPlayWnd*>(pUp) != nullptr) return false;
    }
    if (pWidget == m_pDlgShow) {
        const int nKey = pEvent->key();
        if (nKey == Qt::Key_Space || nKey == Qt::Key_Escape || nKey == Qt::Key_F1) return false;
    }
    OnKeyDown(pEvent->key(), pEvent->modifiers());
    return true;
}

void COrlinDlg::OnKeyDown(int nQtKey, Qt::KeyboardModifiers modifiers) {
    const uint16_t wKey = VirtualKeyFromQtKey(nQtKey);
    if (wKey == VK_ESCAPE_KEY) {
        if (m_bFullScreen) ToggleFullScreen();
        return;
    }
    if (wKey == 0) return;
    // Ctrl and Shift as they were when the key went down; Alt as it is now.
    const bool bAlt = QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier;
    const uint16_t wModifiers =
        PressedModifiers(modifiers & Qt::ControlModifier, modifiers & Qt::ShiftModifier, bAlt);
    const int nIndex = MatchHotKey(m_stSettings.stHotKeys, wKey, wModifiers);
    if (nIndex < 0) return;
    DebugLog("OnKeyDown nHotKeyIndex=%d", nIndex);
    RunHotKeyAction(static_cast<HotKeyAction>(nIndex));
}

void COrlinDlg::RunHotKeyAction(HotKeyAction eAction) {
    if (m_pDlgShow == nullptr) return;
    if (!HotKeyActionAllowed(eAction, IsSyncPlay(), SelState())) return;
    switch (eAction) {
        case HotKeyAction::PlayOrPause:
            PlayOrPause();
            break;
        case HotKeyAction::Stop:
            StopPlay();
            break;
        case HotKeyAction::FrameBackward:
            FrameBackward();
            break;
        case HotKeyAction::FrameForward:
            FrameForward();
            break;
        case HotKeyAction::VolumeUp:
            ChangeVolume(true);
            break;
        case HotKeyAction::VolumeDown:
            ChangeVolume(false);
            break;
        case HotKeyAction::GotoStart:
            m_pDlgShow->GoToStart();
            break;
        case HotKeyAction::GotoEnd:
            m_pDlgShow->GoToEnd();
            break;
        case HotKeyAction::AddFiles:
            m_pPlaylist->AddFilesFromDialog(this);
            break;
    }
}

bool COrlinDlg::IsSyncPlay() const { return m_pDlgShow != nullptr && m_pDlgShow->IsSyncMode(); }
