#pragma once

#include <QBasicTimer>
#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>

#include "tools/avi/trovan_module.h"

class CTextProgressCtrl;
class QLabel;
class QLineEdit;
class QPushButton;

// The conversion record handed to the library: its parameter block followed
// by the handle of the running conversion (0 = none).
struct ConvertRecord {
    TrovanParams stParams;
    int32_t lHandle;
};
static_assert(offsetof(ConvertRecord, lHandle) == 104);

// The AVI conversion dialog: picks a recording and an AVI file, starts the
// conversion library on them and follows its percentage until it is done.
class CConvertDlg : public QDialog {
    Q_OBJECT

public:
    enum {
        IDC_RES_LABEL = 1001,
        IDC_TAR_LABEL = 1002,
        IDC_RES_PATH = 1174,
        IDC_TAR_PATH = 1175,
        IDC_RES_BROWSE = 1176,
        IDC_TAR_BROWSE = 1177,
        IDC_CONVERT = 1178,
        IDC_PROGRESS = 1179,
        IDC_CANCEL = 1185,
        POLL_TIMER_ID = 11,
        POLL_INTERVAL_MS = 10,
    };

    // `hTrovan` is the conversion library's module, which the main window keeps.
    CConvertDlg(QWidget* pOwner, void* hTrovan);
    ~CConvertDlg() override;

    bool IsConverting() const { return m_bConverting; }
    int32_t GetHandle() const { return m_pRecord ? m_pRecord->lHandle : 0; }
    QString GetSrcPath() const { return m_strSrcPath; }
    QString GetTarPath() const { return m_strTarPath; }
    CTextProgressCtrl* GetProgress() const { return m_pProgress; }

    // Tests answer the open and save dialogs with this (true for the save dialog).
    static void SetFileChooserForTests(std::function<QString(bool bSave)> chooser);

protected:
    void timerEvent(QTimerEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

private:
    void CreateControls();
    void ApplyLanguage();
    void WriteParams();

    void OnBrowseSource();
    void OnBrowseTarget();
    void OnConvert();
    void OnCancel();
    void OnPollTimer();

    bool StartConvert();
    // TROVAN_Stop (with a handle) and TROVAN_Release; the handle is 0 afterwards
    // when the release succeeded.
    void StopAndRelease();
    void Release();
    // Back to idle after the conversion ended, with the message that says how.
    void FinishConvert(bool bSuccess);

    QPointer<QWidget> m_pOwner;
    CTrovanModule m_trovan;
    std::unique_ptr<ConvertRecord> m_pRecord;
    QString m_strSrcPath;
    QString m_strTarPath;
    QString m_strSelectPathFirst;
    QString m_strConvertFail;
    QString m_strConvertSucc;
    bool m_bConverting = false;
    QBasicTimer m_pollTimer;

    QLabel* m_pResLabel = nullptr;
    QLabel* m_pTarLabel = nullptr;
    QLineEdit* m_pResPath = nullptr;
    QLineEdit* m_pTarPath = nullptr;
    QPushButton* m_pResBrowse = nullptr;
    QPushButton* m_pTarBrowse = nullptr;
    QPushButton* m_pConvert = nullptr;
    QPushButton* m_pCancel = nullptr;
    CTextProgressCtrl* m_pProgress = nullptr;
};
