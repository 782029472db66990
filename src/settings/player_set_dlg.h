#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "settings/player_set_owner.h"

class CBitmapSlider;
class MyHotKeyCtrl;
class QLabel;

// The modal "Player Settings" dialog: eight pages chosen from a list on the
// left. It edits a working copy of the settings record and writes it back on
// OK; colour changes reach the panes at once, speed changes on OK, and the
// locate page moves the selected pane while the dialog stays open.
//
// Split by concern: player_set_dlg.cpp (opening, pages, OK and Cancel),
// player_set_dlg_controls.cpp (the controls and their captions),
// player_set_dlg_actions.cpp (colour, speed, locate, folders).
class CPlayerSetDlg : public QDialog {
    Q_OBJECT
public:
    enum Page : int {
        PAGE_BASIC = 1,
        PAGE_HOTKEY = 2,
        PAGE_LOCATE = 3,
        PAGE_SPEED = 4,
        PAGE_IMAGE_CONTROL = 5,
        PAGE_COLOUR = 6,
        PAGE_CAPTURE = 7,
        PAGE_CON_CAPTURE = 8,
    };
    static constexpr int HOTKEY_ROWS = 9;

    CPlayerSetDlg(IPlayerSetOwner* pOwner, int nStartPage, QWidget* pParent = nullptr);

    int GetCurPage() const { return m_nCurPage; }
    // A control by its template id; null for an unknown id.
    QWidget* GetControl(int nId) const;
    MyHotKeyCtrl* GetHotKeyCtrl(int nRow) const;
    CBitmapSlider* GetColourSlider(int nId) const;
    int32_t GetSpeedLevel() const { return m_nSpeedLevel; }

protected:
    bool event(QEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    // Controls (player_set_dlg_controls.cpp).
    void CreateControls();
    void CreatePageList();
    void CreateBasicPage();
    void CreateHotKeyPage();
    void CreateLocatePage();
    void CreateSpeedPage();
    void CreateImagePage();
    void CreateColourPage();
    void CreateCapturePages();
    void SetCaptions();
    void FetchWarnings();
    template <typename T>
    T* Add(int nId, T* pControl, const QRect& rc, std::vector<int> pages);

    // Pages (player_set_dlg.cpp).
    void ShowPage(int nPage);
    void ShowValues();
    void OnOK();

    // Actions (player_set_dlg_actions.cpp).
    void OnColourMoved();
    void OnColourReset();
    void OnSpeedDirection(bool bSpeedUp);
    void OnSpeedSlider(int nPos);
    void OnLocate(bool bTime);
    void OnBrowse();

    IPlayerSetOwner* const m_pOwner;
    int m_nCurPage = PAGE_BASIC;

    std::map<int, QWidget*> m_controls;
    // The page each control shows on (the folder captions show on two).
    std::map<int, std::vector<int>> m_pagesOf;
    std::map<int, QLabel*> m_pageLabels;  // by page
    std::vector<QLabel*> m_groupHeaders;
    std::array<QLabel*, HOTKEY_ROWS> m_hotKeyLabels{};
    std::array<MyHotKeyCtrl*, HOTKEY_ROWS> m_hotKeyCtrls{};

    // The working copy.
    LanguageCode m_nLanguage = LANGUAGE_ENGLISH;
    uint32_t m_nLastFrame = 0;
    int32_t m_nLastTime = 0;
    ColourValues m_stColour;
    bool m_bHighQuality = true;
    bool m_bDeflash = true;
    int32_t m_nPriority = 0;
    int32_t m_nThrowB = 0;
    int32_t m_nPlayerTimerPrecision = 1;
    int32_t m_nResolution = 1;
    int32_t m_nSpeedLevel = 0;
    int32_t m_nSpeedLevelAtOpen = 0;
    QString m_strCaptureFolder;
    int32_t m_nCaptureType = 0;
    QString m_strConCaptureFolder;
    int32_t m_nConCaptureType = 0;
    bool m_bSpeedUp = true;

    // Warnings, fetched on opening and again before each locate and reset.
    QString m_strWarnInputFrame, m_strWarnValidFrame, m_strWarnPlayFirst;
    QString m_strWarnInputTime, m_strWarnValidTime, m_strWarnSelectFolder;
};
