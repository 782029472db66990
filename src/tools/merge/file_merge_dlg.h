#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "tools/merge/kelsa_module.h"

class CReportCtrl;
class CMergeDurationProbe;
class CMergeWork;
class MergeDoneEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The merge tool: the user lists recordings in the order they are to be
// joined, picks an output file and starts the merge, which the merge library
// runs on a work thread while a marquee bar moves.
class CFileMergeDlg : public QDialog {
    Q_OBJECT

public:
    enum ControlId {
        IDC_ADD_FILE = 1159,
        IDC_DEL_FILE = 1160,
        IDC_FILE_LIST = 1161,
        IDC_OUTPUT_GROUP = 1163,
        IDC_OUTPUT_LABEL = 1165,
        IDC_OUTPUT_PATH = 1167,
        IDC_BROWSE = 1173,
        IDC_OK = 1186,
        IDC_CANCEL = 1187,
        IDC_PROGRESS = 1188,
    };

    // `pKelsaModule`: the merge library as loaded by the main window.
    CFileMergeDlg(QWidget* pParent, void* pKelsaModule);
    ~CFileMergeDlg() override;

    // The file pickers, replaceable so tests can answer them. The open picker
    // returns the chosen paths (none: cancelled), the save picker one path
    // (empty: cancelled).
    using OpenFilesPicker = std::function<QStringList(QWidget* pParent)>;
    using SavePathPicker = std::function<QString(QWidget* pParent)>;
    void SetOpenFilesPicker(OpenFilesPicker picker) { m_openPicker = std::move(picker); }
    void SetSavePathPicker(SavePathPicker picker) { m_savePicker = std::move(picker); }

    // Appends a file as Add File does after its picker, without asking the
    // engine: for tests that need many rows.
    bool AppendFile(const QString& strPath, int nDurationSeconds);

    int FileCount() const { return static_cast<int>(m_paths.size()); }
    const std::vector<QString>& Paths() const { return m_paths; }
    const std::vector<int>& Durations() const { return m_durations; }
    QString OutputPath() const { return m_strOutputPath; }
    bool IsMerging() const { return m_bMerging; }

    void OnAddFile();
    void OnDelFile();
    void OnBrowse();
    void OnOK();
    void OnCancel();

protected:
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    void reject() override;

private:
    void CreateControls();
    void LoadTexts();
    void InsertRow(const QString& strPath, int nDurationSeconds);
    void StartMerge();
    void OnMergeDone(const MergeDoneEvent& done);
    // Stops a running merge and forgets it; the dialog stays as it is otherwise.
    void StopMerge();
    void EndMergeLook();
    QString Text(const char* szKey, const char* szDefault) const;

    CKelsaModule m_kelsa;
    std::vector<QString> m_paths;
    std::vector<int> m_durations;
    QString m_strOutputPath;
    int32_t m_nHandle = 0;
    bool m_bMerging = false;
    std::unique_ptr<CMergeDurationProbe> m_pProbe;
    std::unique_ptr<CMergeWork> m_pWork;
    OpenFilesPicker m_openPicker;
    SavePathPicker m_savePicker;

    CReportCtrl* m_pList = nullptr;
    QPushButton* m_pAdd = nullptr;
    QPushButton* m_pDel = nullptr;
    QLabel* m_pGroup = nullptr;
    QLabel* m_pOutputLabel = nullptr;
    QLineEdit* m_pOutputPath = nullptr;
    QPushButton* m_pBrowse = nullptr;
    QPushButton* m_pOK = nullptr;
    QPushButton* m_pCancel = nullptr;
    QProgressBar* m_pProgress = nullptr;
};
