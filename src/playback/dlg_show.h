#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "playback/play_state.h"
#include "playback/sync_file_info.h"
#include "vidmux.h"

class CPlayWnd;
class IMainWindowLink;
class SyncRepositioner;

// Playback options the main window copies in from the settings store.
struct DlgShowPlaySettings {
    bool bHighQuality = true;
    bool bDeflash = true;
    int32_t nPriority = 0;  // stored, not used by the container
    int32_t nThrowB = 0;
    int32_t nTimerType = 1;
    int32_t nDisplayType = 1;
    bool bSoundOn = true;     // copied in, not read by the container
    int32_t nSpeedLevel = 0;  // copied in, not read by the container
};

// What the file-information window shows of the selected pane.
struct PaneFileInfo {
    QString strPath;
    int32_t nFrameRate = 0;
    int32_t nWidth = 0;
    int32_t nHeight = 0;
};

// The pane container: fills the main window's video area, owns the panes,
// keeps which one is selected, routes the main window's playback commands to
// the selected pane (or, in synchronous mode, to every active pane) and posts
// the play-state message after each command.
//
// Split by concern: dlg_show.cpp (panes, layout, selection, sound),
// dlg_show_commands.cpp (playback commands), dlg_show_settings.cpp (settings,
// colour, draw mode, queries), dlg_show_sync.cpp (synchronous play).
class CDlgShow : public QWidget {
    Q_OBJECT
public:
    static constexpr int32_t MAX_PANES = 16;

    explicit CDlgShow(QWidget* pParent);
    ~CDlgShow() override;

    void SetMainWnd(IMainWindowLink* pMainWnd);

    CPlayWnd* GetPlayWnd(int32_t nIndex) const;
    CPlayWnd* GetSelPlayWnd() const { return GetPlayWnd(m_nSelIndex); }
    int32_t GetSelIndex() const { return m_nSelIndex; }
    int32_t GetLayout() const { return m_nLayout; }
    bool IsEnlarged() const { return m_bEnlarged; }
    bool GetDrawMode() const { return m_bDrawMode; }
    bool IsSyncMode() const { return m_bSync; }
    bool IsSyncActive(int32_t nIndex) const;
    void SetSyncActive(int32_t nIndex, bool bActive);
    // Entering or leaving synchronous mode closes every open pane; posts the
    // play-state message.
    bool SetSyncMode(bool bSync);

    // ---- Synchronous play (dlg_show_sync.cpp) ----
    // Opens up to one path per visible pane as one synchronised group and
    // plays it; false only without paths. Nothing waits on this thread: the
    // files' times are analysed first, and files without time, or that do
    // not all overlap, are then refused with a message and change nothing
    // (`fnDone` gets false). Otherwise the panes open, looking busy
    // meanwhile; once every pane has its answer the opened ones join the
    // group and play, and `fnDone` gets true. Stop, close, a layout or mode
    // change, or another start before that abandons the start: every pane
    // it opened is closed and `fnDone` never runs.
    bool StartSyncPlay(const QStringList& paths, std::function<void(bool)> fnDone = {});
    // A start still analysing its files or waiting for its panes' opens.
    bool IsSyncStarting() const { return m_pSyncStart != nullptr; }
    // Repositions every synchronised pane to a fraction of the timeline. The
    // panes pause at once; their pictures are found off this thread and a
    // group that was playing plays on when every pane has its picture.
    bool SetSyncPlayPrecent(double dPrecent);
    // True while panes are still being moved by SetSyncPlayPrecent.
    bool IsSyncRepositioning() const;
    // The group's position: the earliest current time among the active panes.
    bool GetSyncPlayPrecent(double* pPrecent, VemorSystemTime* pTime) const;
    // Appends the group's files to `pEntries` and copies the earliest-start
    // and latest-end records.
    bool CopySyncData(std::vector<SyncFileEntry>* pEntries, FileTimeInfo* pEarliest,
                      FileTimeInfo* pLatest) const;
    // Registers the plain (true) or the analysis (false) draw callback on every pane.
    bool SetDrawMode(bool bPlainDraw);

    // Selection; each posts the play-state message when the selection is taken.
    void SelectPane(CPlayWnd* pPane);
    void SelectPaneByIndex(int32_t nIndex);
    // Selects the grid cell under a point in container coordinates.
    void SelectPaneAtPoint(QPoint point);
    // 1, 4, 9 or 16 and different from the current layout; closes every open pane.
    bool SetLayout(int32_t nLayout);
    // Redraws the selection frames, moves the sound to the selected pane and
    // gives it the keyboard focus.
    void RefreshSelection();
    void ToggleEnlarged();

    // Commands from the main window.
    bool PlayPause();
    bool Play();
    bool Pause();
    bool Stop();
    bool CloseFile();
    bool Fast();
    bool Slow();
    bool BackOneFrame();
    bool BackPlay(bool bOn);
    bool GoToStart();
    bool GoToEnd();
    bool SetFramePos(uint32_t nFrame);
    bool SetTimePos(uint32_t nSeconds);
    // Opens the path in the selected pane and plays it whatever the open gave.
    // The engine's open runs in the background: the pane plays, and then
    // `fnPlaying` runs with it, once the answer arrives.
    bool OpenAndPlay(const QString& strPath, std::function<void(CPlayWnd*)> fnPlaying = {});
    int32_t Capture(int32_t nImageType, const QString& strFolder);
    int32_t ContinuousCapture(bool bOn, int32_t nImageType, const QString& strFolder);
    // On: the selected pane sounds at `nVolume`; off: every pane is silenced.
    void SetVolume(int32_t nVolume, bool bOn);
    // The selected pane's state; in synchronous mode the state of the group.
    PlayState GetSelState() const;
    // Resets and closes every open pane (shutdown, mode changes).
    void CloseAllPanes();
    // Closes every pane that shows `strPath`; a file leaving the playlist.
    bool ClosePanesShowingFile(const QString& strPath);

    // Settings and colour for the open panes (dlg_show_settings.cpp).
    void SetPlaySettings(const DlgShowPlaySettings& stSettings) { m_stSettings = stSettings; }
    const DlgShowPlaySettings& GetPlaySettings() const { return m_stSettings; }
    bool ApplySettings();
    bool SetColour(int32_t nBrightness, int32_t nContrast, int32_t nSaturation, int32_t nHue);

    // Queries on the selected pane.
    QString GetSelFilePath() const;
    uint32_t GetSelTotalFrames() const;
    uint32_t GetSelFileTime() const;
    bool GetSelFileInfo(PaneFileInfo* pInfo) const;
    bool GetSelNextKeyFramePos(uint32_t nMilliseconds, VemorFramePos* pPos) const;

protected:
    bool event(QEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    bool Guarded() const;
    void Relayout();
    CPlayWnd* SelPaneForQuery() const;
    void PostPlayStateChanged() const;
    void StopSoundShare(CPlayWnd* pPane) const;
    // The engine call that moves one synchronised file to `stTime`, or none.
    std::function<void()> SyncSeekCall(size_t nEntry, const VemorSystemTime& stTime);
    // Lets a repositioning in flight finish before any other command touches
    // the panes, and drops its pending resume: the user's command decides.
    void SettleSyncReposition();
    void OnSyncRepositioned(uint32_t nGeneration);
    // The steps of a synchronous start (dlg_show_sync_start.cpp): the
    // analysis's answer, each pane's open answer, the group formed, and
    // giving a start up.
    bool HandleSyncStartEvent(QEvent* pEvent);
    void OnSyncFilesAnalysed(uint64_t nStart);
    void OnSyncPaneOpened(int32_t nIndex, bool bOpened);
    void FinishSyncStart();
    void AbandonSyncStart();
    static void PlaySyncPane(CPlayWnd* pPane);
    template <typename Fn>
    void ForEachPaneInLayout(Fn fn) const;

    IMainWindowLink* m_pMainWnd = nullptr;
    std::array<CPlayWnd*, MAX_PANES> m_pPlayWnd{};
    int32_t m_nLayout = 1;
    int32_t m_nSelIndex = 0;
    bool m_bEnlarged = false;
    bool m_bSync = false;
    bool m_bDrawMode = true;
    std::array<uint8_t, MAX_PANES> m_bySyncActive{};
    FileTimeInfo m_stEarliestStart = EmptyFileTimeInfo();
    FileTimeInfo m_stLatestEnd = EmptyFileTimeInfo();
    std::vector<SyncFileEntry> m_vecSyncFiles;
    DlgShowPlaySettings m_stSettings;
    std::unique_ptr<SyncRepositioner> m_pRepositioner;
    uint32_t m_nRepositionGeneration = 0;
    bool m_bResumeAfterReposition = false;
    // A synchronous start analysing its files or waiting for its panes' opens.
    struct SyncFilesTimes;
    struct PendingSyncStart {
        uint64_t nStart = 0;  // tells its analysis's answer from older ones
        QStringList paths;
        std::shared_ptr<SyncFilesTimes> pTimes;  // written by the analysis
        std::array<bool, MAX_PANES> bOpened{};
        int32_t nPending = 0;
        bool bPlay = true;  // a pause meanwhile leaves the group paused
        std::function<void(bool)> fnDone;
    };
    std::unique_ptr<PendingSyncStart> m_pSyncStart;
    uint64_t m_nSyncStarts = 0;
    std::unique_ptr<SyncRepositioner> m_pSyncAnalysis;  // runs the files' analyses
};

template <typename Fn>
void CDlgShow::ForEachPaneInLayout(Fn fn) const {
    for (int32_t i = 0; i < m_nLayout && i < MAX_PANES; ++i) {
        if (m_pPlayWnd[i] != nullptr) fn(i, m_pPlayWnd[i]);
    }
}
