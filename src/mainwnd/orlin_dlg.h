#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <map>

#include "mainwnd/frame_geometry.h"
#include "mainwnd/main_layout.h"
#include "mainwnd/menu_rule.h"
#include "playback/file_probe.h"
#include "playback/main_window_link.h"
#include "playback/play_state.h"
#include "settings/hot_key_binding.h"
#include "settings/player_set_owner.h"
#include "settings/player_settings.h"
#include "enhance/video_enhance_owner.h"
#include "tools/cut/cut_panel_owner.h"

class CBitmapSlider;
class CDlgShow;
class CFileCutDlg;
class CFloatDlg;
class CMainMenus;
class CMyStatic;
class CPlaylistController;
class CSkinButton;
class CSplitterBar;
class CWaterMarkDlg;
class QKeyEvent;
class CSyncLocateDlg;
class CVideoEnhance;
class QLabel;
class QWidget;

// The main window. It owns the settings record and the pane container for
// the whole run, receives the panes' messages, and drives the status line
// from its 500 ms timer. It is frameless and draws its own caption and
// borders; every control lives in the client area below the caption.
//
// Split by concern: orlin_dlg.cpp (messages, playlist answers),
// orlin_dlg_init.cpp (start-up, shutdown), orlin_dlg_controls.cpp (controls,
// layout, tooltips), orlin_dlg_frame.cpp (caption and borders),
// orlin_dlg_commands.cpp (commands), orlin_dlg_status.cpp (play-state
// refresh, timer 2, progress), orlin_dlg_keys.cpp (hot keys),
// orlin_dlg_window_modes.cpp (full screen, size and top-most modes, floating panel),
// orlin_dlg_settings.cpp (the player settings dialog's owner side),
// orlin_dlg_info.cpp (file information and watermark windows).
class COrlinDlg : public QDialog,
                  public IMainWindowLink,
                  public ICutPanelOwner,
                  public IPlayerSetOwner,
                  public IVideoEnhanceOwner {
    Q_OBJECT
public:
    static constexpr int TIMER2_MS = 500;
    static constexpr int START_WIDTH = 800;
    static constexpr int START_HEIGHT = 600;
    static constexpr int32_t DEFAULT_VOLUME = 0x7FFF;
    static constexpr int32_t DEFAULT_COLOUR_VALUE = 64;
    // How long a file problem keeps the status line from a playing pane's path.
    static constexpr int FILE_PROBLEM_MS = 5000;

    explicit COrlinDlg(QWidget* pParent = nullptr);
    ~COrlinDlg() override;

    // The initialisation steps in their fixed order; `arguments` is the
    // process's argument list (program name first).
    bool OnInitDialog(const QStringList& arguments);

    // Opens one path in the selected pane and plays it; false in synchronous mode.
    bool OpenInPane(const QString& strPath);
    // Plays the paths as one synchronised group and shows the ruler (orlin_dlg_sync.cpp).
    bool PlaySync(const QStringList& paths);
    bool IsSyncMode() const;
    CSyncLocateDlg* GetSyncRuler() const { return m_pSyncLocate; }
    bool IsSyncRulerShown() const { return m_bSyncRulerShown; }
    // Adds a probed path to the playlist; false while there is no playlist.
    bool AddToPlaylist(const QString& strPath);
    void ShowAboutBox();
    // Says in the status line why a file the user gave cannot be played; the
    // text stays while the selected pane is idle, and a few seconds otherwise.
    void ShowFileProblem(const QString& strPath, const MediaFileCheck& check);
    QString GetFileProblemText() const { return m_strFileProblem; }
    // The playlist: its list, drag state and drops (playlist_controller.h).
    CPlaylistController* GetPlaylist() const { return m_pPlaylist; }
    bool IsPlaylistVisible() const { return m_bPlaylistVisible; }
    // Buttons 1076 and 1089: show or hide the playlist and lay out again.
    void TogglePlaylist();
    // Button 1075: the play-order menu at ptScreen.
    void ShowPlayOrderMenu(QPoint ptScreen);

    // IMainWindowLink
    QObject* MessageReceiver() override { return this; }
    PlayOrder GetPlayOrder() const override { return m_ePlayOrder; }
    int32_t PlaylistIndexOf(const QString& strPath) const override;
    int32_t PlaylistCount() const override;
    QString PlaylistPath(int32_t nIndex) const override;
    int32_t GetVolume() const override { return m_nVolume; }
    bool IsSoundOn() const override { return m_bSoundOn; }
    bool IsCutPanelShown() const override { return m_bCutPanelShown; }
    void ShowMessage(const QString& strText) override;

    // ICutPanelOwner
    CDlgShow* CutPanelPanes() const override { return m_pDlgShow; }
    void CutPanelPlayPause() override;
    void CutPanelClosed() override { m_bCutPanelShown = false; }
    CFileCutDlg* GetCutPanel() const;

    // IVideoEnhanceOwner (orlin_dlg_enhance.cpp), on the selected pane.
    std::optional<VideoEnhanceParams> SelectedVieParams() const override;
    void SetSelectedVieModules(int32_t nModules, bool bEnable) override;
    void SetSelectedVieParams(const VideoEnhanceParams& block) override;
    void RefreshEnhanceIndicators() override;
    QObject* EnhanceCloseReceiver() override { return this; }
    CVideoEnhance* GetVideoEnhance() const { return m_pVideoEnhance; }

    // Menu commands (ids of command_ids.h) and control-bar buttons (control_ids.h).
    void OnCommand(int nId);
    void OnControl(int nId);
    // Applies language 1, 2 or 6 to every text of the window.
    void ApplyLanguage(LanguageCode nCode);
    // Copies the playback settings into the pane container and applies them.
    void ApplyPlayerSettings() override;
    // The state the menu rule reads.
    MenuRuleInput MenuState() const;

    CDlgShow* GetDlgShow() const { return m_pDlgShow; }
    CMainMenus* GetMenus() const { return m_pMenus; }
    QWidget* GetClientArea() const { return m_pClient; }
    // A control of the client area by its id; null for an unknown id.
    QWidget* GetControl(int nId) const;
    CSkinButton* GetButton(int nId) const;
    CBitmapSlider* GetProgressSlider() const { return m_pProgress; }
    CBitmapSlider* GetVolumeSlider() const { return m_pVolume; }
    CWaterMarkDlg* GetWaterMarkDlg() const { return m_pWaterMarkDlg; }
    int32_t GetPlaylistWidth() const { return m_nPlaylistWidth; }
    QString GetPathText() const;
    // The splitter moved nDx pixels from where its drag started.
    void DragSplitter(int nDx, bool bFinished);
    const PlayerSettings& GetSettings() const { return m_stSettings; }
    // The record the settings dialog edits; it reaches the file at exit.
    PlayerSettings& Settings() override { return m_stSettings; }
    // Synchronous mode is on: the pane container plays one group.
    bool IsSyncPlay() const override;

    // Window modes (orlin_dlg_window_modes.cpp).
    void ToggleFullScreen();
    // Size mode 1 normal, 2 double, 3 half, 4 quarter; only in the one-pane
    // layout while the selected pane plays or pauses.
    void SetWindowSizeMode(int32_t nMode);
    // Top-most mode 0 never, 1 only while playing, 2 always.
    void SetTopMostMode(int32_t nMode);
    bool IsFullScreen() const { return m_bFullScreen; }
    int32_t GetWindowSizeMode() const { return m_nWindowSizeMode; }
    int32_t GetTopMostMode() const { return m_nTopMostMode; }
    bool IsTopMost() const;
    CFloatDlg* GetFloatDlg() const { return m_pFloatDlg; }
    int32_t GetSpeedLevel() const override { return m_nSpeedLevel; }

    // The player settings dialog, modal, on page 1..8 (orlin_dlg_settings.cpp).
    void OpenPlayerSettings(int nPage);
    // IPlayerSetOwner, the rest of it.
    PlayState GetSelPlayState() const override { return SelState(); }
    ColourValues GetColour() const override;
    void SetColour(const ColourValues& stColour) override;
    bool StepSpeed(bool bFaster) override;
    bool SetSelTimePos(uint32_t nSeconds) override;
    bool SetSelFramePos(uint32_t nFrame) override;
    uint32_t GetSelTotalFrames() const override;
    uint32_t GetSelFileTime() const override;
    void RefreshPlayState() override;
    QString GetStatusText() const;
    QString GetTimeText() const;
    bool IsTimer2Running() const { return m_timer2.isActive(); }
    void SetPlayOrder(PlayOrder eOrder) { m_ePlayOrder = eOrder; }

protected:
    bool event(QEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    // The frame (orlin_dlg_frame.cpp).
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

private:
    // Controls and layout (orlin_dlg_controls.cpp).
    void CreateControls();
    CSkinButton* AddButton(int nId, const char* szSkin);
    MainLayoutInput LayoutInput() const;
    void LayoutControls();
    void ReloadToolTips();
    void SetPlaylistTitle();
    void UpdateMinimumSize();
    // Frame (orlin_dlg_frame.cpp).
    void SetFrameLook(CaptionButton eHover, CaptionButton ePressed);
    void ShowSystemMenu(QPoint ptScreen);
    // Status (orlin_dlg_status.cpp).
    void ReloadStatusTexts();
    void OnTimer2();
    void OnSliderMoved(int nControlId, int nPos);
    void FlushSliderMoves();
    // Keys (orlin_dlg_keys.cpp).
    bool FilterKeyPress(QObject* pWatched, const QKeyEvent* pEvent);
    void OnKeyDown(int nQtKey, Qt::KeyboardModifiers modifiers);
    void RunHotKeyAction(HotKeyAction eAction);
    // Window modes (orlin_dlg_window_modes.cpp).
    void ShowNormalControls();
    void ApplyTopMostMode();
    void PlaceFloatPanel();
    void RefreshFloatPanel();
    // Texts and controls of the enhancement panel, when it is shown.
    void RefreshEnhancePanel();
    // Commands (orlin_dlg_commands.cpp).
    void PlayOrPause();
    void StopPlay();
    void CloseAllFiles();
    void FrameForward();
    void FrameBackward();
    void ToggleReverse();
    void ChangeSpeed(bool bFaster);
    void ChangeVolume(bool bUp);
    void ToggleSound();
    // Sound on or off for the selected pane at the slider's volume, with the
    // mute button and its tooltip following; the menu reads the flag.
    void SetSoundOn(bool bOn);
    // The selected pane sounds at the stored volume, or is silent while muted.
    void ApplySound();
    // Copies the playback settings into the pane container and applies them.
    void CopyPlaySettings();
    void Snapshot();
    void ToggleContinuousCapture();
    void TogglePartZoom();
    void ChangeLayout(int32_t nLayout);
    void ToggleHighQuality();
    void ToggleIvs();
    void OpenCutPanel();
    void MergeFiles();
    void ConvertFiles();
    void VideoEnhance();
    // File information and watermark windows (orlin_dlg_info.cpp).
    void ShowFileInfo();
    void CreateWaterMarkDlg();
    void ShowWaterMarkDlg();
    bool IsPlayable() const;
    PlayState SelState() const;
    // Every playable file named on the command line is listed; the first plays in pane 0.
    void OpenCommandLineFiles(const QStringList& arguments);
    void OnDestroy();
    // Synchronous mode (orlin_dlg_sync.cpp).
    void CreateSyncRuler();
    void ShowSyncRuler(bool bShow);
    void ToggleSyncMode();
    void ShowSyncButtonLook(bool bSync);
    // Hands the group's files and span to the ruler again.
    void RefreshSyncRuler();
    // The synchronised group is formed and plays: sound, ruler and colour.
    void OnSyncStarted();
    void OnTimer2Sync();

    // ---- State; the persisted fields live in m_stSettings ----
    PlayerSettings m_stSettings;
    bool m_bSoundOn = true;
    bool m_bPlaylistVisible = true;
    int32_t m_nSpeedLevel = 0;
    int32_t m_nVolume = DEFAULT_VOLUME;
    int32_t m_nBrightness = DEFAULT_COLOUR_VALUE;
    int32_t m_nContrast = DEFAULT_COLOUR_VALUE;
    int32_t m_nSaturation = DEFAULT_COLOUR_VALUE;
    int32_t m_nHue = DEFAULT_COLOUR_VALUE;
    PlayOrder m_ePlayOrder = PLAY_ORDER_PLAYLIST_PLAY;
    int32_t m_nTopMostMode = 0;
    int32_t m_nPlaylistWidth = 192;
    bool m_bSplitterDragging = false;
    bool m_bCutPanelShown = false;
    QPointer<CFileCutDlg> m_pCutPanel;
    int32_t m_nOsMajorVersion = 0;
    int32_t m_nWindowSizeMode = 1;
    bool m_bFullScreen = false;
    // Where the window was before full screen, and whether it was maximised.
    QRect m_rcSavedPlacement;
    bool m_bSavedMaximized = false;

    CDlgShow* m_pDlgShow = nullptr;
    CPlaylistController* m_pPlaylist = nullptr;
    CFloatDlg* m_pFloatDlg = nullptr;
    CVideoEnhance* m_pVideoEnhance = nullptr;
    CSyncLocateDlg* m_pSyncLocate = nullptr;
    bool m_bSyncRulerShown = false;
    bool m_bDlgShowCreated = false;
    QWidget* m_pClient = nullptr;          // everything below the caption, inside the borders
    QWidget* m_pPlaylistBar = nullptr;     // 1069
    QLabel* m_pPlaylistTitle = nullptr;    // 1070
    QWidget* m_pLogo = nullptr;            // 1099
    CSplitterBar* m_pSplitter = nullptr;   // 1180
    CBitmapSlider* m_pProgress = nullptr;  // 1093
    CBitmapSlider* m_pVolume = nullptr;    // 1091
    std::map<int, CSkinButton*> m_buttons;
    CMainMenus* m_pMenus = nullptr;
    CWaterMarkDlg* m_pWaterMarkDlg = nullptr;  // created hidden at start-up
    int32_t m_nSplitterStartWidth = 0;
    QSize m_lastClientSize;
    bool m_bIvsOn = false;
    // Slider positions waiting for the coalesced handler, by control id.
    std::map<int, int> m_pendingSlider;
    bool m_bSliderFlushQueued = false;
    CaptionButton m_eHover = CaptionButton::None;
    CaptionButton m_ePressed = CaptionButton::None;
    bool m_bPressedWhileMaximized = false;
    QWidget* m_pTopBar = nullptr;       // 1063
    QWidget* m_pControlBar = nullptr;   // 1077
    CMyStatic* m_pStatus = nullptr;     // 1092
    CMyStatic* m_pLeftTime = nullptr;   // 1095
    CMyStatic* m_pRightTime = nullptr;  // 1096
    QTimer m_timer2;
    bool m_bDestroyed = false;
    QString m_strFileProblem;  // shown in label 1095, see ShowFileProblem
    QElapsedTimer m_fileProblemAge;

    // Status texts, reloaded with the language.
    QString m_strReady, m_strPause, m_strStop;
};
