#pragma once

#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>

class CSkinButton;
class QLabel;

// What the floating panel shows: the window's modes and the selected pane's zoom.
struct FloatPanelState {
    bool bFullScreen = false;
    int nTopMostMode = 0;  // 0 never, 1 only while playing, 2 always
    bool bPartZoom = false;
    int32_t nVieModules = 0;  // enhancement modules on in the selected pane
};

// The strip of four buttons above the pane area: full screen, top-most mode,
// player settings and part zoom, followed by an indicator for each video
// enhancement module that is on in the selected pane. It knows nothing of
// the main window beyond the callback its buttons report their control id to.
class CFloatDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int HEIGHT = 26;
    static constexpr int IDC_FULL_SCREEN = 1064;
    static constexpr int IDC_TOP_MOST = 1067;
    static constexpr int IDC_PLAYER_SETTING = 1068;
    static constexpr int IDC_PART_ZOOM = 1302;
    // Module indicators 1303..1310 for module bits 0x01..0x80.
    static constexpr int IDC_FIRST_VIE_INDICATOR = 1303;
    static constexpr int VIE_INDICATORS = 8;

    CFloatDlg(QWidget* pParent, std::function<void(int)> onButton);

    // A 26-pixel strip directly above the pane area and as wide as it, in the
    // parent's coordinates; hidden in full screen.
    void Place(const QRect& rcPaneArea, bool bFullScreen);
    // Tooltips (in the current language) and pictures for the state.
    void Refresh(const FloatPanelState& state);

    CSkinButton* GetButton(int nId) const;
    QLabel* GetIndicator(int nId) const;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    CSkinButton* AddButton(int nId, int nX);

    std::function<void(int)> m_onButton;
    std::map<int, CSkinButton*> m_buttons;
    QLabel* m_indicators[VIE_INDICATORS] = {};
    // The background picture stretched to the strip's size in pixels.
    QPixmap m_background;
};
