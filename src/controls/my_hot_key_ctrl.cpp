#include "controls/my_hot_key_ctrl.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QStringList>

#include "common/debug_log.h"
#include "controls/virtual_key.h"

namespace {

uint16_t HotKeyModifiers(Qt::KeyboardModifiers modifiers) {
    uint16_t wModifiers = 0;
    if (modifiers & Qt::ShiftModifier) wModifiers |= HOTKEYF_SHIFT;
    if (modifiers & Qt::ControlModifier) wModifiers |= HOTKEYF_CONTROL;
    if (modifiers & Qt::AltModifier) wModifiers |= HOTKEYF_ALT;
    return wModifiers;
}

bool IsModifierKey(int nKey) {
    return nKey == Qt::Key_Shift || nKey == Qt::Key_Control || nKey == Qt::Key_Alt ||
           nKey == Qt::Key_Meta || nKey == Qt::Key_AltGr;
}

QStringList ModifierNames(uint16_t wModifiers) {
    QStringList names;
    if (wModifiers & HOTKEYF_CONTROL) names << QStringLiteral("Ctrl");
    if (wModifiers & HOTKEYF_SHIFT) names << QStringLiteral("Shift");
    if (wModifiers & HOTKEYF_ALT) names << QStringLiteral("Alt");
    return names;
}

}  // namespace

MyHotKeyCtrl::MyHotKeyCtrl(QWidget* pParent) : QLineEdit(pParent) {
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    setText(HotKeyText(0, 0));
}

void MyHotKeyCtrl::SetHotKey(uint16_t wVirtualKey, uint16_t wModifiers) {
    m_wVirtualKey = wVirtualKey;
    m_wModifiers = wVirtualKey == 0 ? 0 : wModifiers;
    setText(HotKeyText(m_wVirtualKey, m_wModifiers));
    emit hotKeyChanged(m_wVirtualKey, m_wModifiers);
}

void MyHotKeyCtrl::GetHotKey(uint16_t& wVirtualKey, uint16_t& wModifiers) const {
    wVirtualKey = m_wVirtualKey;
    wModifiers = m_wModifiers;
}

QString MyHotKeyCtrl::HotKeyText(uint16_t wVirtualKey, uint16_t wModifiers) {
    if (wVirtualKey == 0) return QStringLiteral("None");
    QStringList parts = ModifierNames(wModifiers);
    const int nQtKey = QtKeyFromVirtualKey(wVirtualKey);
    parts << (nQtKey != 0 ? QKeySequence(nQtKey).toString(QKeySequence::PortableText)
                          : QStringLiteral("#%1").arg(wVirtualKey));
    return parts.join(QStringLiteral(" + "));
}

void MyHotKeyCtrl::ShowPending(Qt::KeyboardModifiers modifiers) {
    const QStringList names = ModifierNames(HotKeyModifiers(modifiers));
    setText(names.isEmpty() ? HotKeyText(m_wVirtualKey, m_wModifiers)
                            : names.join(QStringLiteral(" + ")) + QStringLiteral(" + "));
}

bool MyHotKeyCtrl::event(QEvent* pEvent) {
    // Dialogs act on Enter and Escape through shortcut overrides; claim those
    // keys (and Space) first so that they arrive here as key presses.
    if (pEvent->type() == QEvent::ShortcutOverride) {
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        if (nKey == Qt::Key_Escape || nKey == Qt::Key_Return || nKey == Qt::Key_Enter ||
            nKey == Qt::Key_Space) {
            pEvent->accept();
            return true;
        }
    }
    return QLineEdit::event(pEvent);
}

void MyHotKeyCtrl::keyPressEvent(QKeyEvent* pEvent) {
    const int nKey = pEvent->key();
    const uint16_t wVirtualKey = VirtualKeyFromQtKey(nKey);
    const int nFlags = int(pEvent->nativeScanCode() & 0xFF) |
                       (IsExtendedVirtualKey(wVirtualKey) ? 0x100 : 0) |
                       (pEvent->isAutoRepeat() ? 0x4000 : 0);
    DebugLog("nChar=%d, nRepCnt=%d, nFlags=%d", int(wVirtualKey), pEvent->count(), nFlags);

    if (nKey == Qt::Key_Escape || nKey == Qt::Key_Return || nKey == Qt::Key_Enter ||
        nKey == Qt::Key_Space) {
        SetHotKey(wVirtualKey, 0);
        pEvent->accept();
        return;
    }
    if (nKey == Qt::Key_Tab || nKey == Qt::Key_Backtab) {
        QLineEdit::keyPressEvent(pEvent);  // focus moves on as in any field
        return;
    }
    if (IsModifierKey(nKey)) {
        ShowPending(pEvent->modifiers());
        pEvent->accept();
        return;
    }
    if (wVirtualKey == 0) {
        pEvent->accept();  // a key without a code cannot be a hot key
        return;
    }
    uint16_t wModifiers = HotKeyModifiers(pEvent->modifiers());
    if (IsExtendedVirtualKey(wVirtualKey)) wModifiers |= HOTKEYF_EXT;
    SetHotKey(wVirtualKey, wModifiers);
    pEvent->accept();
}

void MyHotKeyCtrl::keyReleaseEvent(QKeyEvent* pEvent) {
    if (IsModifierKey(pEvent->key())) ShowPending(pEvent->modifiers());
    pEvent->accept();
}
