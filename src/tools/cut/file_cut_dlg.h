#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <thread>

#include "playback/play_state.h"
#include "tools/cut/cut_job.h"
#include "tools/cut/cut_message.h"
#include "tools/cut/cut_track.h"

class CCutPrecentDlg;
class CDlgShow;
class CPlayWnd;
class CSkinButton;
class ICutPanelOwner;
class QLabel;
class QLineEdit;
class QPushButton;
struct CutThreadState;

// The cut panel, laid over the bottom of the main window: a time track with
// a start and an end marker, one-second trimming buttons, the start and end
// times, preview and cut. While it is open the selected pane is its preview.
// The copy runs on a work thread of its own (CutFile), which reports through
// posted events; the panel shows its progress window meanwhile.
//
// Split by concern: file_cut_dlg.cpp (controls, track, markers, preview,
// closing), file_cut_dlg_cut.cpp (the cut, its thread and cancel).
class CFileCutDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int PREVIEW_TIMER_MS = 1000;

    CFileCutDlg(ICutPanelOwner* pOwner, QWidget* pParent);
    ~CFileCutDlg() override;

    // Opens the selected pane's file for reading (closing one already open)
    // and resets the track to the whole file; false when it cannot be read.
    bool OpenFile(const QString& strPath);
    // Lays the panel over the bottom of its parent and follows its size.
    void PlaceOnParent();
    // Every text in the current language.
    void ReloadTexts();
    // Close button 1136: stops the preview, pauses the pane, closes the file,
    // sends the pane to its start and closes the panel.
    void ClosePanel();

    // Chooses the clip's path (the save dialog); empty when the user cancels.
    using OutputChooser = std::function<QString(QWidget* pParent, const QString& strInitial)>;
    void SetOutputChooser(OutputChooser chooser) { m_chooseOutput = std::move(chooser); }
    // Runs the cut on the work thread; RunCutJob unless a test wraps it.
    using JobRunner = std::function<CutMessage(const CutJobRequest&, const std::atomic<bool>&,
                                               const CutProgress&)>;
    void SetJobRunner(JobRunner runner) { m_runJob = std::move(runner); }

    // State, for the main window and tests.
    QWidget* GetControl(int nId) const;
    CCutPrecentDlg* GetProgressDlg() const { return m_pProgressDlg; }
    CutTimes GetTimes() const { return m_times; }
    uint32_t GetTotalTime() const { return m_nTotal; }
    bool IsPreviewRunning() const { return m_previewTimer.isActive(); }
    bool IsCutting() const;
    QString GetOutputPath() const { return m_strOutputPath; }

    // Button 1138: checks the range and the disk and starts the work thread.
    void CutFile();
    // The cancel-cut message (8147).
    void CancelCutFile();

protected:
    bool event(QEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;

private:
    void CreateControls();
    void LayoutControls();
    void PlaceTrack(int xs, int xe);
    void ShowTimes();
    void AfterRangeChange();
    void Trim(int nButtonId);
    void Preview();
    void OnPreviewTick();
    CPlayWnd* SelPane() const;
    PlayState SelState() const;
    void PauseIfPlaying();
    void SeekPane(int32_t nSeconds);
    void CloseSource();
    void ShowMessage(CutMessage eMessage);
    // The cut's side (file_cut_dlg_cut.cpp).
    void OnCutProgress(int nPercent);
    void OnCutDone(CutMessage eResult);
    void StopCutThread();

    ICutPanelOwner* m_pOwner;
    std::map<int, QWidget*> m_controls;
    QLabel* m_pTitle = nullptr;
    CSkinButton* m_pClose = nullptr;
    QPushButton* m_pPreview = nullptr;
    QPushButton* m_pCut = nullptr;
    QWidget* m_pBarBefore = nullptr;
    QWidget* m_pBarRange = nullptr;
    QWidget* m_pBarAfter = nullptr;
    QLabel* m_pStartMarker = nullptr;
    QLabel* m_pEndMarker = nullptr;
    QLineEdit* m_pStartField = nullptr;
    QLineEdit* m_pEndField = nullptr;
    QLabel* m_pTrimming = nullptr;
    QLabel* m_pElapsed = nullptr;
    std::map<int, CSkinButton*> m_trimButtons;
    CCutPrecentDlg* m_pProgressDlg = nullptr;

    bool m_bDragStart = false;
    bool m_bDragEnd = false;
    CutTimes m_times;
    uint32_t m_nTotal = 0;
    int m_xs = CUT_TRACK_MARGIN;
    int m_xe = CUT_TRACK_MARGIN;
    int32_t m_nRangeLength = 0;
    int32_t m_nPreviewElapsed = 0;
    QTimer m_previewTimer;
    CCutMessageTexts m_texts;

    QString m_strSourcePath;
    int m_nSourceFd = -1;
    QString m_strOutputPath;
    OutputChooser m_chooseOutput;
    JobRunner m_runJob;

    std::shared_ptr<CutThreadState> m_pCutState;
    std::thread m_cutThread;
    int m_nCutSerial = 0;
    bool m_bResultReported = false;
};
