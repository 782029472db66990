#pragma once

#include <QDialog>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>

#include "playback/main_window_link.h"
#include "settings/player_settings.h"

class CDlgShow;
class CPlaylistController;
class QLabel;
class QWidget;

// The main window. It owns the settings record and the pane container for
// the whole run, receives the panes' messages, and drives the status line
// from its 500 ms timer.
class COrlinDlg : public QDialog, public IMainWindowLink {
    Q_OBJECT
public:
    static constexpr int TIMER2_MS = 500;
    static constexpr int START_WIDTH = 800;
    static constexpr int START_HEIGHT = 600;
    static constexpr int32_t DEFAULT_VOLUME = 0x7FFF;
    static constexpr int32_t DEFAULT_COLOUR_VALUE = 64;

    explicit COrlinDlg(QWidget* pParent = nullptr);
    ~COrlinDlg() override;

    // The initialisation steps in their fixed order; `arguments` is the
    // process's argument list (program name first).
    bool OnInitDialog(const QStringList& arguments);

    // Opens one path in the selected pane and plays it; false in synchronous mode.
    bool OpenInPane(const QString& strPath);
    // Adds a probed path to the playlist; false while there is no playlist.
    bool AddToPlaylist(const QString& strPath);
    void ShowAboutBox();
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

    CDlgShow* GetDlgShow() const { return m_pDlgShow; }
    const PlayerSettings& GetSettings() const { return m_stSettings; }
    int32_t GetSpeedLevel() const { return m_nSpeedLevel; }
    QString GetStatusText() const;
    QString GetTimeText() const;
    bool IsTimer2Running() const { return m_timer2.isActive(); }
    void SetPlayOrder(PlayOrder eOrder) { m_ePlayOrder = eOrder; }

protected:
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void ApplyLanguage(LanguageCode nCode);
    void LayoutControls();
    void ReloadStatusTexts();
    void RefreshPlayState();
    void OnTimer2();
    void OpenCommandLineFile(const QStringList& arguments);
    void OnDestroy();

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
    int32_t m_nOsMajorVersion = 0;
    QRect m_rcCaptionIcon{QPoint(5, 5), QPoint(20, 20)};
    int32_t m_nWindowSizeMode = 1;
    bool m_bFullScreen = false;

    CDlgShow* m_pDlgShow = nullptr;
    CPlaylistController* m_pPlaylist = nullptr;
    bool m_bDlgShowCreated = false;
    QWidget* m_pTopBar = nullptr;      // 1063
    QWidget* m_pControlBar = nullptr;  // 1077
    QLabel* m_pStatus = nullptr;       // 1092
    QLabel* m_pLeftTime = nullptr;     // 1095
    QLabel* m_pRightTime = nullptr;    // 1096
    QTimer m_timer2;
    bool m_bDestroyed = false;

    // Status texts, reloaded with the language.
    QString m_strReady, m_strPlaying, m_strSpeedUp, m_strSpeedDown, m_strPause, m_strStop;
};
