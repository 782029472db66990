#pragma once

#include <QLineEdit>
#include <cstdint>

// A hot-key field: the next key pressed with its modifiers becomes the hot key,
// shown as text ("Ctrl + Shift + A"). Space, Escape and Enter are taken as hot
// keys on their own instead of acting on the dialog. Codes are virtual keys with
// HOTKEYF_* modifiers (controls/virtual_key.h).
class MyHotKeyCtrl : public QLineEdit {
    Q_OBJECT

public:
    explicit MyHotKeyCtrl(QWidget* pParent = nullptr);

    void SetHotKey(uint16_t wVirtualKey, uint16_t wModifiers);
    void GetHotKey(uint16_t& wVirtualKey, uint16_t& wModifiers) const;
    uint16_t VirtualKey() const { return m_wVirtualKey; }
    uint16_t Modifiers() const { return m_wModifiers; }

    // "Ctrl + Shift + A"; "None" without a key.
    static QString HotKeyText(uint16_t wVirtualKey, uint16_t wModifiers);

signals:
    void hotKeyChanged(uint16_t wVirtualKey, uint16_t wModifiers);

protected:
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void keyReleaseEvent(QKeyEvent* pEvent) override;

private:
    void ShowPending(Qt::KeyboardModifiers modifiers);

    uint16_t m_wVirtualKey = 0;
    uint16_t m_wModifiers = 0;
};
