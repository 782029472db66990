#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "playback/play_state.h"
#include "playback/vie_params.h"
#include "vidmux.h"

class CBackgroundOpen;
class CDlgShow;
class COpenAnswerEvent;
class CRenderWnd;
class IMainWindowLink;

// One video pane: owns one engine port from its first open until it is
// destroyed, plays one file into its render child window, keeps the play
// state, speed, reverse and zoom state, draws a one-line message over the
// video and tells the main window when the play state changes.
//
// Everything runs on the user-interface thread except the engine callbacks
// (play_wnd_callbacks.cpp), which only read or write the fields marked as
// shared below and post messages.
class CPlayWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int MSG_TIMER_MS = 3000;    // how long a message text stays
    static constexpr int CON_CAPTURE_MS = 1000;  // continuous capture period
    static constexpr int32_t WATERMARK_BLOCK_BYTES = 64;

    // Results of CapPic.
    enum CaptureResult : int32_t { CAPTURE_FAIL = 0, CAPTURE_OK = 1, CAPTURE_DISK_FULL = 2 };

    CPlayWnd(int32_t nSubWndIndex, bool bSync, CDlgShow* pDlgShow, QWidget* pParent);
    ~CPlayWnd() override;
    CPlayWnd(const CPlayWnd&) = delete;
    CPlayWnd& operator=(const CPlayWnd&) = delete;

    void SetMainWnd(IMainWindowLink* pMainWnd);

    // ---- File and play control (play_wnd.cpp) ----
    bool Open(const QString& strPath);
    // Opens like Open, but the engine's open (probe and first picture) runs
    // off the user-interface thread while the pane looks busy. `fnOpened`
    // runs on this thread with the engine's answer once the pane is opened
    // (or failed to open); never when the pane is closed, opened again or
    // destroyed before the answer. False when the open could not start.
    bool OpenInBackground(const QString& strPath, std::function<void(bool)> fnOpened);
    // An open started by OpenInBackground still waits for the engine.
    bool IsOpening() const { return m_pOpening != nullptr; }
    bool Close();
    bool Play();
    bool PlayNotSync();
    bool Pause();
    // Marks a playing pane paused and hands back the engine call that pauses
    // it, for a caller that runs engine calls off this thread; none otherwise.
    std::function<void()> PauseCall();
    // The user's stop: reset, stop the engine, tell the main window.
    bool Stop();
    // Speed level back to normal, index flag, zoom, continuous capture and
    // reverse flag cleared.
    void Reset();
    bool Fast();
    bool Slow();
    bool FrameForward(bool bForward);
    bool BackPlay(bool bOn);
    bool GoToStart();
    bool GoToEnd();
    bool SetFramePos(uint32_t nFrame);
    bool SetTimePos(uint32_t nSeconds);
    // Shows the picture nMilliseconds after the file's first one.
    bool SetPlayedTimeMs(uint32_t nMilliseconds);
    bool CheckKeyFramePos(uint32_t nMilliseconds, VemorFramePos* pPos);
    bool CheckNextKeyFramePos(uint32_t nMilliseconds, VemorFramePos* pPos);
    bool SetVolume(bool bOn, int32_t nVolume);
    bool SetSyncGroup();
    bool GetCurGlobalTime(VemorSystemTime* pGlobalTime);
    bool GetImageSize(int32_t* pWidth, int32_t* pHeight);
    // Registers the plain or the analysis draw callback (the container's draw mode).
    void ApplyDrawMode(bool bPlainDraw);

    // ---- Enhancement pass-through ----
    bool SetVIEModule(int32_t nModuleSet, bool bEnable);
    bool SetVIEDynamicParam(const VideoEnhanceParams* pParams);
    const VideoEnhanceParams& GetVIEParams() const { return m_byVieParams; }

    // ---- Zoom (play_wnd_zoom.cpp) ----
    bool EnableZoom(bool bOn);
    bool IsZoomOn() const;
    int32_t GetZoomPercent() const;
    // Shows the current zoom region; false without a port or picture size.
    bool SetDisplayRegion();

    // ---- Snapshots (play_wnd_capture.cpp) ----
    int32_t CapPic(int32_t nImageType, const QString& strFolder, QString* pstrPath = nullptr);
    int32_t Capture(int32_t nImageType, const QString& strFolder);
    int32_t ContinuousCapture(bool bOn, int32_t nImageType, const QString& strFolder);
    bool IsConCapturing() const { return m_bConCapturing; }

    // ---- Queries ----
    int32_t GetSubWndIndex() const { return m_nSubWndIndex; }
    int32_t GetPort() const { return m_lPort.load(); }
    PlayState GetPlayState() const { return static_cast<PlayState>(m_nPlayState.load()); }
    int32_t GetSpeedLevel() const { return m_nSpeedLevel; }
    bool IsBackPlay() const { return m_bBackPlay; }
    // The index of the pane's open file is built (a file still being opened
    // in the background is not the pane's yet).
    bool IsFileRefDone() const { return m_bFileRefDone.load() && !IsOpening(); }
    bool IsInSyncGroup() const { return m_bInGroup; }
    bool IsSync() const { return m_bSync.load(); }
    void SetSync(bool bSync) { m_bSync = bSync; }
    QString GetFilePath() const { return m_strFilePath; }
    int32_t GetFrameRate() const { return m_nFrameRate.load(); }
    int32_t GetDisplayWidth() const { return m_nDisplayWidth.load(); }
    int32_t GetDisplayHeight() const { return m_nDisplayHeight.load(); }
    std::array<uint8_t, WATERMARK_BLOCK_BYTES> GetWatermark() const;
    QString GetMessageText() const;
    CRenderWnd* GetRenderWnd() const { return m_pRenderWnd; }

    // What the render window shows for the play state and the layout: the
    // picture while a file plays or pauses, the idle picture as the only pane
    // of layout 1 without a file, black otherwise.
    void UpdateRenderContent();

    // File end (message 4805), on the user-interface thread.
    void PlayEndMessage();
    // Only the selected pane sounds, when the main window's sound is on.
    void ApplySoundRule();

protected:
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;

private:
    // Engine callbacks (play_wnd_callbacks.cpp); the user value is the pane.
    static void DisplayCallBack(const VemorDisplayInfo* pstDisplayInfo);
    static void DrawCallBack(int32_t nPort, VemorDrawContext* hDc, void* pUser);
    static void IVSDrawCallBack(int32_t nPort, VemorDrawContext* hDc, void* pIvsData,
                                int32_t nIvsDataLen, void* pUser);
    static void FileRefCallBack(int32_t nPort, void* pUser);
    static void WatermarkCallBack(int32_t nPort, const uint8_t** ppWatermark, void* pUser);
    static void DecCallBack(int32_t nPort, const uint8_t* pBuf, int32_t nSize,
                            const VemorFrameInfo* pFrameInfo, void* pUser, int32_t nReserved);
    static void FileEndCallBack(int32_t nPort, void* pUser);
    static void EncTypeChangeCallBack(int32_t nPort, void* pUser);
    void RegisterCallBacks();
    // Clears every callback registration; returns once none still runs.
    void UnregisterCallBacks();
    void DrawMessageText(VemorDrawContext* hDc) const;

    void EngineStop();
    void SetState(PlayState eState);
    void PostPlayStateChanged() const;
    void SetMessageText(const QString& strText);
    void ShowSpeedMessage();
    // Open steps shared by both ways of opening: before and after the engine's open.
    bool PrepareOpen(const QString& strPath);
    void FinishOpen();
    void OnOpenAnswer(const COpenAnswerEvent& answer);
    // Leaves a background open to finish and clean up on its own; the pane
    // takes a fresh port when `bTakeNewPort`.
    void AbandonOpening(bool bTakeNewPort);
    void PlayFileFromEnd(const QString& strPath);
    bool IsSelectedPane() const;
    void OnConCaptureTick();

    const int32_t m_nSubWndIndex;
    std::atomic<int32_t> m_lPort{-1};  // shared: the display callback re-issues the region
    CDlgShow* const m_pDlgShow;
    IMainWindowLink* m_pMainWnd = nullptr;
    std::atomic<QObject*> m_pMessageReceiver{nullptr};  // shared: posted to by callbacks
    QString m_strFilePath;
    std::atomic<int32_t> m_nPlayState{PLAY_STATE_IDLE};  // shared: read by the file-end callback
    int32_t m_nSpeedLevel = 0;
    std::atomic<bool> m_bSync;
    bool m_bInGroup = false;
    bool m_bBackPlay = false;
    std::atomic<bool> m_bFileRefDone{false};  // shared: set by the index callback

    mutable std::mutex m_messageMutex;  // shared: the draw callback reads the text
    QString m_strMessage;
    QTimer m_msgTimer;  // 9527

    bool m_bConCapturing = false;
    QString m_strConCapFolder;
    int32_t m_nConCapType = 0;
    QTimer m_conCapTimer;  // 9528
    std::unique_ptr<uint8_t[]> m_pCapBuf;
    uint32_t m_nCapBufSize = 0;

    int32_t m_nPicWidth = 0;
    int32_t m_nPicHeight = 0;

    // Zoom state; shared: the display callback resets it when the resolution changes.
    mutable std::mutex m_zoomMutex;
    bool m_bZoom = false;
    int32_t m_nZoomCx = 0;
    int32_t m_nZoomCy = 0;
    int32_t m_nZoom = 100;
    int32_t m_nZoomPicHeight = 0;
    int32_t m_nZoomPicWidth = 0;
    bool m_bDragging = false;  // user-interface thread only
    int32_t m_nLastMouseX = 0;
    int32_t m_nLastMouseY = 0;

    std::atomic<int32_t> m_nDisplayWidth{0};   // shared: display callback
    std::atomic<int32_t> m_nDisplayHeight{0};  // shared: display callback
    std::atomic<int32_t> m_nFrameRate{0};      // shared: decode callback
    mutable std::mutex m_watermarkMutex;       // shared: watermark callback
    std::array<uint8_t, WATERMARK_BLOCK_BYTES> m_byWatermark{};
    VideoEnhanceParams m_byVieParams = DefaultVieParams();

    CRenderWnd* m_pRenderWnd = nullptr;

    // The open waiting for the engine's answer, and what runs when it comes.
    std::shared_ptr<CBackgroundOpen> m_pOpening;
    std::function<void(bool)> m_fnOpened;
};
