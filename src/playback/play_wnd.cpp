#include "playback/play_wnd.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <algorithm>
#include <cstring>

#include "common/debug_log.h"
#include "playback/background_open.h"
#include "playback/dlg_show.h"
#include "playback/engine_api.h"
#include "playback/lang_text.h"
#include "playback/main_window_link.h"
#include "playback/orlin_messages.h"
#include "playback/port_ends.h"
#include "playback/render_wnd.h"
#include "playback/speed_text.h"
#include "playback/zoom_region.h"
#include "settings/player_settings.h"

namespace {
constexpr uint32_t kDropBFramesWhenFast = 2;
constexpr uint32_t kMaxVolume = 0xFFFF;
}  // namespace

CPlayWnd::CPlayWnd(int32_t nSubWndIndex, bool bSync, CDlgShow* pDlgShow, QWidget* pParent)
    : QWidget(pParent),
      m_nSubWndIndex(nSubWndIndex),
      m_pDlgShow(pDlgShow),
      m_bSync(bSync),
      m_strConCapFolder(PlayerSettings::DefaultSnapshotFolder()) {
    setAutoFillBackground(false);
    setFocusPolicy(Qt::ClickFocus);
    m_pRenderWnd = new CRenderWnd(this);
    m_pRenderWnd->setGeometry(1, 1, std::max(0, width() - 2), std::max(0, height() - 2));
    m_pRenderWnd->show();

    m_msgTimer.setSingleShot(true);
    m_msgTimer.setInterval(MSG_TIMER_MS);
    connect(&m_msgTimer, &QTimer::timeout, this, [this] { SetMessageText(QString()); });
    m_conCapTimer.setInterval(CON_CAPTURE_MS);
    connect(&m_conCapTimer, &QTimer::timeout, this, &CPlayWnd::OnConCaptureTick);
    UpdateRenderContent();
}

CPlayWnd::~CPlayWnd() {
    if (IsOpening()) AbandonOpening(false);
    if (GetPlayState() != PLAY_STATE_IDLE) {
        Reset();
        Close();
    }
    // The port stops calling back into this pane once it is freed.
    if (m_lPort >= 0) Engine().FreePort(m_lPort);
    m_lPort = -1;
    m_pCapBuf.reset();
    m_nCapBufSize = 0;
}

void CPlayWnd::SetMainWnd(IMainWindowLink* pMainWnd) {
    m_pMainWnd = pMainWnd;
    m_pMessageReceiver = pMainWnd != nullptr ? pMainWnd->MessageReceiver() : nullptr;
}

bool CPlayWnd::PrepareOpen(const QString& strPath) {
    if (m_pDlgShow == nullptr) return false;
    if (IsOpening()) AbandonOpening(true);
    if (m_lPort < 0) {
        int32_t lPort = -1;
        if (!Engine().GetPort(&lPort)) {
            QMessageBox::warning(this, QStringLiteral("Orlin"),
                                 LangText("IDS_PlayWnd_GetPortFail", "Get port fail!"));
            return false;
        }
        m_lPort = lPort;
    }
    if (GetPlayState() != PLAY_STATE_IDLE) {
        Reset();
        Close();
    }
    // The new file's index is not built yet, whatever an abandoned open's was.
    m_bFileRefDone = false;
    RegisterCallBacks();
    m_strFilePath = strPath;
    // A new file may have another picture size; snapshots read it again.
    m_nPicWidth = 0;
    m_nPicHeight = 0;
    // The last file's watermark must not pass for this file's.
    {
        std::lock_guard lock(m_watermarkMutex);
        m_byWatermark.fill(0);
    }
    return true;
}

void CPlayWnd::FinishOpen() {
    int32_t nModuleSet = 0;
    memcpy(&nModuleSet, m_byVieParams.data(), sizeof nModuleSet);
    if (nModuleSet != 0) {
        SetVIEModule(nModuleSet, true);
        SetVIEDynamicParam(&m_byVieParams);
    }
    SetState(PLAY_STATE_OPENED);
}

bool CPlayWnd::Open(const QString& strPath) {
    if (!PrepareOpen(strPath)) return false;
    const QByteArray utf8Path = strPath.toUtf8();
    if (!Engine().OpenFile(m_lPort, utf8Path.constData())) {
        DebugLog("Vemor_OpenFile() Fail GetLastError()=%d", Engine().GetLastError(m_lPort));
        return false;
    }
    FinishOpen();
    return true;
}

bool CPlayWnd::OpenInBackground(const QString& strPath, std::function<void(bool)> fnOpened) {
    if (!PrepareOpen(strPath)) return false;
    m_fnOpened = std::move(fnOpened);
    m_pOpening = CBackgroundOpen::Start(m_lPort, strPath.toUtf8(), this);
    setCursor(Qt::BusyCursor);
    UpdateRenderContent();
    return true;
}

void CPlayWnd::OnOpenAnswer(const COpenAnswerEvent& answer) {
    if (!IsOpening() || answer.Ticket() != m_pOpening->Ticket()) return;
    m_pOpening.reset();
    unsetCursor();
    const std::function<void(bool)> fnOpened = std::move(m_fnOpened);
    m_fnOpened = {};
    if (answer.Opened()) {
        FinishOpen();
    } else {
        DebugLog("Vemor_OpenFile() Fail GetLastError()=%d", static_cast<int>(answer.Error()));
        UpdateRenderContent();
    }
    if (fnOpened) fnOpened(answer.Opened());
}

void CPlayWnd::AbandonOpening(bool bTakeNewPort) {
    // The port goes with the open; nothing of it may call back into this pane.
    UnregisterCallBacks();
    m_pOpening->Abandon();
    m_pOpening.reset();
    m_fnOpened = {};
    m_lPort = -1;
    unsetCursor();
    if (bTakeNewPort) {
        int32_t lPort = -1;
        if (Engine().GetPort(&lPort)) {
            m_lPort = lPort;
        } else {
            DebugLog("Vemor_GetPort() Fail m_nSubWndIndex=%d", m_nSubWndIndex);
        }
    }
    UpdateRenderContent();
}

bool CPlayWnd::Close() {
    if (IsOpening()) AbandonOpening(true);
    if (GetPlayState() == PLAY_STATE_IDLE) return true;
    if (m_lPort < 0) return false;
    // The port is let go here, calling nothing back and drawing nothing into
    // this pane from now on, and closed off this thread.
    const PlayState eState = GetPlayState();
    UnregisterCallBacks();
    ReleasePortInBackground(m_lPort, eState != PLAY_STATE_STOPPED, m_pRenderWnd->DetachEngine());
    update();
    m_bInGroup = false;
    m_lPort = -1;
    int32_t lPort = -1;
    if (Engine().GetPort(&lPort)) {
        m_lPort = lPort;
    } else {
        DebugLog("Vemor_GetPort() Fail m_nSubWndIndex=%d", m_nSubWndIndex);
    }
    SetState(PLAY_STATE_IDLE);
    return true;
}

bool CPlayWnd::Play() {
    const PlayState eState = GetPlayState();
    if (eState == PLAY_STATE_IDLE || eState == PLAY_STATE_PLAYING) {
        DebugLog("CPlayWnd::Play() return 1");
        return false;
    }
    return PlayNotSync();
}

bool CPlayWnd::PlayNotSync() {
    const PlayState eState = GetPlayState();
    if (eState == PLAY_STATE_IDLE || eState == PLAY_STATE_PLAYING || m_lPort < 0) return false;
    if (!m_bBackPlay) {
        if (!Engine().Play(m_lPort, m_pRenderWnd->EngineWindow())) {
            DebugLog("CPlayWnd::PlayNotSync() Vemor_Play Fail m_lPort=%d, dwErrorCode=%d",
                     m_lPort.load(), Engine().GetLastError(m_lPort));
            return false;
        }
    } else if (!Engine().ReversePlay(m_lPort)) {
        DebugLog("CPlayWnd::PlayNotSync() Vemor_ReversePlay Fail m_lPort=%d, dwErrorCode=%d",
                 m_lPort.load(), Engine().GetLastError(m_lPort));
        return false;
    }
    update();
    // The engine starts every play at normal speed; the pane's level is re-applied.
    if (m_nSpeedLevel > 0) {
        if (!Engine().ThrowBFrameNum(m_lPort, kDropBFramesWhenFast)) {
            DebugLog("Vemor_ThrowBFrameNum dwErr=%d", Engine().GetLastError(m_lPort));
        }
        for (int32_t i = 0; i < m_nSpeedLevel; ++i) {
            if (Engine().Fast(m_lPort)) DebugLog("CPlayWnd::PlayNotSync() Vemor_Fast succ");
        }
    } else if (m_nSpeedLevel < 0) {
        if (!Engine().ThrowBFrameNum(m_lPort, 0)) {
            DebugLog("Vemor_ThrowBFrameNum dwErr=%d", Engine().GetLastError(m_lPort));
        }
        for (int32_t i = 0; i < -m_nSpeedLevel; ++i) {
            if (Engine().Slow(m_lPort)) DebugLog("CPlayWnd::PlayNotSync() Vemor_Slow succ");
        }
    }
    SetState(PLAY_STATE_PLAYING);
    return true;
}

bool CPlayWnd::Pause() {
    if (GetPlayState() != PLAY_STATE_PLAYING || m_lPort < 0) return false;
    DebugLog("CPlayWnd::Pause()");
    if (!Engine().Pause(m_lPort, 1)) {
        DebugLog("CPlayWnd::Pause() Vemor_Pause Fail m_lPort=%d, dwErrorCode=%d", m_lPort.load(),
                 Engine().GetLastError(m_lPort));
    }
    SetState(PLAY_STATE_PAUSED);
    return true;
}

std::function<void()> CPlayWnd::PauseCall() {
    if (GetPlayState() != PLAY_STATE_PLAYING || m_lPort < 0) return {};
    DebugLog("CPlayWnd::Pause()");
    SetState(PLAY_STATE_PAUSED);
    return [lPort = m_lPort.load()] {
        if (!Engine().Pause(lPort, 1)) {
            DebugLog("CPlayWnd::Pause() Vemor_Pause Fail m_lPort=%d, dwErrorCode=%d", lPort,
                     Engine().GetLastError(lPort));
        }
    };
}

bool CPlayWnd::Stop() {
    const PlayState eState = GetPlayState();
    if (eState == PLAY_STATE_IDLE || eState == PLAY_STATE_STOPPED) return true;
    const bool bFileRefDone = m_bFileRefDone;
    Reset();
    m_bFileRefDone = bFileRefDone;  // the index stays valid for the same file
    EngineStop();
    PostPlayStateChanged();
    return true;
}

void CPlayWnd::EngineStop() {
    const PlayState eState = GetPlayState();
    if (eState == PLAY_STATE_IDLE || eState == PLAY_STATE_STOPPED || m_lPort < 0) return;
    if (!Engine().Stop(m_lPort)) {
        DebugLog("Vemor_Stop() Fail deError=%d", Engine().GetLastError(m_lPort));
    }
    update();
    SetState(PLAY_STATE_STOPPED);
}

void CPlayWnd::Reset() {
    m_nSpeedLevel = 0;
    m_bFileRefDone = false;
    if (IsZoomOn()) EnableZoom(false);
    {
        std::lock_guard lock(m_zoomMutex);
        m_bZoom = false;
        m_nZoom = ZOOM_PERCENT_MIN;
    }
    m_bDragging = false;
    m_conCapTimer.stop();
    m_bConCapturing = false;
    m_bBackPlay = false;
}

bool CPlayWnd::Fast() {
    const PlayState eState = GetPlayState();
    if (!IsPlayingOrPaused(eState) || m_lPort < 0 || m_nSpeedLevel == SPEED_LEVEL_MAX) {
        return false;
    }
    // A paused pane only remembers the level; the next play applies it.
    if (eState == PLAY_STATE_PLAYING && !Engine().Fast(m_lPort)) return false;
    ++m_nSpeedLevel;
    if (m_nSpeedLevel > 0 && !Engine().ThrowBFrameNum(m_lPort, kDropBFramesWhenFast)) {
        DebugLog("Vemor_ThrowBFrameNum dwErr=%d", Engine().GetLastError(m_lPort));
    }
    ShowSpeedMessage();
    return true;
}

bool CPlayWnd::Slow() {
    const PlayState eState = GetPlayState();
    if (!IsPlayingOrPaused(eState) || m_lPort < 0 || m_nSpeedLevel == SPEED_LEVEL_MIN) {
        return false;
    }
    if (eState == PLAY_STATE_PLAYING && !Engine().Slow(m_lPort)) return false;
    --m_nSpeedLevel;
    if (m_nSpeedLevel <= 0 && !Engine().ThrowBFrameNum(m_lPort, 0)) {
        DebugLog("Vemor_ThrowBFrameNum dwErr=%d", Engine().GetLastError(m_lPort));
    }
    ShowSpeedMessage();
    return true;
}

void CPlayWnd::ShowSpeedMessage() {
    SetMessageText(SpeedText(m_nSpeedLevel));
    m_msgTimer.start();
}

bool CPlayWnd::FrameForward(bool bForward) {
    if (m_bSync || m_lPort < 0) return false;
    if (bForward) {
        if (!Engine().OneByOne(m_lPort)) {
            DebugLog("CPlayWnd::FrameForward() Vemor_OneByOne() Fail GetLastError()=%d",
                     Engine().GetLastError(m_lPort));
            return false;
        }
    } else if (!Engine().OneByOneBack(m_lPort)) {
        DebugLog("CPlayWnd::FrameForward() Vemor_OneByOneBack() Fail GetLastError()=%d",
                 Engine().GetLastError(m_lPort));
        return false;
    }
    SetState(PLAY_STATE_PAUSED);
    return true;
}

bool CPlayWnd::BackPlay(bool bOn) {
    if (m_bSync || !m_bFileRefDone) return false;
    const PlayState eState = GetPlayState();
    if (eState == PLAY_STATE_PAUSED) {
        m_bBackPlay = bOn;
        return true;
    }
    if (eState == PLAY_STATE_PLAYING) {
        if (bOn) {
            if (!Engine().ReversePlay(m_lPort)) {
                DebugLog("CPlayWnd::BackPlay() Vemor_ReversePlay Fail m_lPort=%d, dwErrorCode=%d",
                         m_lPort.load(), Engine().GetLastError(m_lPort));
                return false;
            }
        } else if (!Engine().Play(m_lPort, m_pRenderWnd->EngineWindow())) {
            DebugLog("CPlayWnd::BackPlay() Vemor_Play Fail m_lPort=%d, dwErrorCode=%d",
                     m_lPort.load(), Engine().GetLastError(m_lPort));
            return false;
        }
    }
    m_bBackPlay = bOn;
    m_nSpeedLevel = 0;
    return true;
}

bool CPlayWnd::GoToStart() {
    const int32_t lPort = m_lPort;
    return lPort >= 0 && MovePortToStart(lPort, "CPlayWnd::GoToStart()");
}

bool CPlayWnd::GoToEnd() {
    const int32_t lPort = m_lPort;
    return lPort >= 0 && MovePortToEnd(lPort, "CPlayWnd::GoToEnd()");
}

bool CPlayWnd::SetFramePos(uint32_t nFrame) {
    if (!Engine().SetCurrentFrameNum(m_lPort, nFrame)) {
        DebugLog("CPlayWnd::SetFramePos() Vemor_SetCurrentFrameNum Fail dwErr=%d",
                 Engine().GetLastError(m_lPort));
        return false;
    }
    return true;
}

bool CPlayWnd::SetTimePos(uint32_t nSeconds) {
    const uint64_t nMs = std::min<uint64_t>(uint64_t{nSeconds} * 1000, UINT32_MAX);
    return SetPlayedTimeMs(static_cast<uint32_t>(nMs));
}

bool CPlayWnd::SetPlayedTimeMs(uint32_t nMilliseconds) {
    if (!Engine().SetPlayedTimeEx(m_lPort, nMilliseconds)) {
        DebugLog("CPlayWnd::SetTimePos() Fail dwErr=%d", Engine().GetLastError(m_lPort));
        return false;
    }
    return true;
}

bool CPlayWnd::CheckKeyFramePos(uint32_t nMilliseconds, VemorFramePos* pPos) {
    if (!Engine().GetKeyFramePos(m_lPort, nMilliseconds, 2, pPos)) {
        DebugLog(
            "CPlayWnd::CheckKeyFramePos() Vemor_GetKeyFramePos Fail dwErr=%d, nSubWndIndex=%d, "
            "m_lPort=%d",
            Engine().GetLastError(m_lPort), m_nSubWndIndex, m_lPort.load());
        return false;
    }
    return true;
}

bool CPlayWnd::CheckNextKeyFramePos(uint32_t nMilliseconds, VemorFramePos* pPos) {
    if (!Engine().GetNextKeyFramePos(m_lPort, nMilliseconds, 2, pPos)) {
        DebugLog(
            "CPlayWnd::CheckNextKeyFramePos() Vemor_GetNextKeyFramePos Fail dwErr=%d, "
            "nSubWndIndex=%d, m_lPort=%d",
            Engine().GetLastError(m_lPort), m_nSubWndIndex, m_lPort.load());
        return false;
    }
    return true;
}

bool CPlayWnd::SetVolume(bool bOn, int32_t nVolume) {
    if (m_lPort < 0) return false;
    if (!bOn) {
        if (!Engine().StopSoundShare(m_lPort)) {
            DebugLog("CPlayWnd::SetVolume() Vemor_StopSoundShare Fail dwErr=%d",
                     Engine().GetLastError(m_lPort));
            return false;
        }
        return true;
    }
    bool bDone = true;
    if (!Engine().PlaySoundShare(m_lPort)) {
        DebugLog("CPlayWnd::SetVolume() Vemor_PlaySoundShare Fail dwErr=%d",
                 Engine().GetLastError(m_lPort));
        bDone = false;
    }
    const auto nClamped = static_cast<uint16_t>(std::clamp<int64_t>(nVolume, 0, kMaxVolume));
    if (!Engine().SetVolume(m_lPort, nClamped)) {
        DebugLog("CPlayWnd::SetVolume() Vemor_SetVolume Fail dwErr=%d",
                 Engine().GetLastError(m_lPort));
        bDone = false;
    }
    return bDone;
}

bool CPlayWnd::SetSyncGroup() {
    if (!Engine().SetSycGroup(m_lPort, 0)) {
        DebugLog("CPlayWnd::SetSyncGroup() Vemor_SetSycGroup(m_lPort, 0) Fail GetLastError()=%d",
                 Engine().GetLastError(m_lPort));
        return false;
    }
    m_bInGroup = true;
    return true;
}

bool CPlayWnd::GetCurGlobalTime(VemorSystemTime* pGlobalTime) {
    if (m_lPort < 0 || pGlobalTime == nullptr) {
        DebugLog("CPlayWnd::GetCurGlobalTime (m_lPort < 0) || (pGlobalTime == NULL)");
        return false;
    }
    VemorSystemTime stTime{};
    if (!Engine().GetSystemTime(m_lPort, &stTime)) {
        DebugLog("Vemor_GetSystemTime dwErr=%d", Engine().GetLastError(m_lPort));
        return false;
    }
    *pGlobalTime = stTime;
    return true;
}

bool CPlayWnd::GetImageSize(int32_t* pWidth, int32_t* pHeight) {
    int32_t nWidth = 0;
    int32_t nHeight = 0;
    if (pWidth == nullptr || pHeight == nullptr ||
        !Engine().GetPictureSize(m_lPort, &nWidth, &nHeight)) {
        DebugLog("GetImageSize fail 2");
        return false;
    }
    m_nPicWidth = nWidth;
    m_nPicHeight = nHeight;
    *pWidth = nWidth;
    *pHeight = nHeight;
    return true;
}

bool CPlayWnd::SetVIEModule(int32_t nModuleSet, bool bEnable) {
    if (!Engine().VIE_SetModuConfig(m_lPort, nModuleSet, bEnable ? 1 : 0)) {
        DebugLog("Vemor_VIE_SetModuConfig Fail m_lPort=%d, dwErrorCode=%d", m_lPort.load(),
                 Engine().GetLastError(m_lPort));
    }
    if (!Engine().VIE_SetRegion(m_lPort, 0, nullptr)) {
        DebugLog("Vemor_VIE_SetRegion Fail m_lPort=%d, dwErrorCode=%d", m_lPort.load(),
                 Engine().GetLastError(m_lPort));
        return false;
    }
    return true;
}

bool CPlayWnd::SetVIEDynamicParam(const VideoEnhanceParams* pParams) {
    if (pParams == nullptr) return false;
    if (pParams != &m_byVieParams) m_byVieParams = *pParams;
    if (!Engine().VIE_SetParaConfig(m_lPort, m_byVieParams.data())) {
        DebugLog("Vemor_SetVIEDynamicParam() Fail m_lPort=%d, dwErrorCode=%d", m_lPort.load(),
                 Engine().GetLastError(m_lPort));
        return false;
    }
    return true;
}

std::array<uint8_t, CPlayWnd::WATERMARK_BLOCK_BYTES> CPlayWnd::GetWatermark() const {
    std::lock_guard lock(m_watermarkMutex);
    return m_byWatermark;
}

QString CPlayWnd::GetMessageText() const {
    std::lock_guard lock(m_messageMutex);
    return m_strMessage;
}

void CPlayWnd::SetMessageText(const QString& strText) {
    {
        std::lock_guard lock(m_messageMutex);
        m_strMessage = strText;
    }
    // A paused picture is not presented again by itself: draw it anew so that
    // the text appears (or goes) now rather than when playback resumes.
    if (GetPlayState() == PLAY_STATE_PAUSED && m_lPort >= 0) Engine().RefreshPlay(m_lPort);
}

void CPlayWnd::SetState(PlayState eState) {
    m_nPlayState = eState;
    UpdateRenderContent();
}

void CPlayWnd::PostPlayStateChanged() const {
    PostOrlinMessage(m_pMessageReceiver.load(), ORLIN_MSG_PLAY_STATE_CHANGED);
}

bool CPlayWnd::IsSelectedPane() const {
    return m_pDlgShow != nullptr && m_pDlgShow->GetSelPlayWnd() == this;
}

void CPlayWnd::ApplySoundRule() {
    if (IsSelectedPane() && m_pMainWnd != nullptr && m_pMainWnd->IsSoundOn()) {
        SetVolume(true, m_pMainWnd->GetVolume());
    } else {
        SetVolume(false, 0);
    }
}

bool CPlayWnd::event(QEvent* pEvent) {
    if (pEvent->type() == COpenAnswerEvent::TYPE) {
        OnOpenAnswer(static_cast<const COpenAnswerEvent&>(*pEvent));
        return true;
    }
    if (pEvent->type() == ORLIN_MSG_FILE_END) {
        PlayEndMessage();
        return true;
    }
    return QWidget::event(pEvent);
}

void CPlayWnd::PlayEndMessage() {
    // The engine may report the end several times before the queue is read.
    QCoreApplication::removePostedEvents(this, ORLIN_MSG_FILE_END);
    if (m_bSync) {
        if (m_pDlgShow != nullptr) m_pDlgShow->SetSyncActive(m_nSubWndIndex, false);
        DebugLog("CPlayWnd::PlayEndMessage Cancel Sync Group m_nSubWndIndex=%d, m_lPort=%d",
                 m_nSubWndIndex, m_lPort.load());
        m_conCapTimer.stop();
        m_bConCapturing = false;
        return;
    }
    // The cut panel works on the file as it is; its end is left alone.
    if (m_pMainWnd != nullptr && m_pMainWnd->IsCutPanelShown()) return;

    Stop();
    const PlayOrder eOrder =
        m_pMainWnd != nullptr ? m_pMainWnd->GetPlayOrder() : PLAY_ORDER_SINGLE_PLAY;
    switch (eOrder) {
        case PLAY_ORDER_PLAYLIST_PLAY:
        case PLAY_ORDER_PLAYLIST_REPEAT: {
            const int32_t nIndex = m_pMainWnd->PlaylistIndexOf(m_strFilePath);
            if (nIndex < 0) return;
            if (nIndex + 1 < m_pMainWnd->PlaylistCount()) {
                PlayFileFromEnd(m_pMainWnd->PlaylistPath(nIndex + 1));
            } else if (eOrder == PLAY_ORDER_PLAYLIST_REPEAT) {
                PlayFileFromEnd(m_pMainWnd->PlaylistPath(0));
            }
            break;
        }
        case PLAY_ORDER_SINGLE_REPEAT:
            if (PlayNotSync()) ApplySoundRule();
            break;
        case PLAY_ORDER_SINGLE_PLAY:
        default:
            break;
    }
    if (IsSelectedPane()) PostPlayStateChanged();
}

void CPlayWnd::PlayFileFromEnd(const QString& strPath) {
    OpenInBackground(strPath, [this](bool bOpened) {
        if (bOpened && PlayNotSync()) ApplySoundRule();
        if (IsSelectedPane()) PostPlayStateChanged();
    });
}
