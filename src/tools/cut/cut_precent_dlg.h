#pragma once

#include <QDialog>

class CTextProgressCtrl;
class QPushButton;

// The small window shown while a cut runs: a progress bar (1505, 0..100) and
// Cancel (1506), which only posts the cancel-cut message to the panel. Enter
// and Escape do nothing here; closing the window counts as Cancel.
class CCutPrecentDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCutPrecentDlg(QWidget* pPanel);

    // The title and the button's text in the current language.
    void ReloadTexts();
    void SetProgress(int nPercent);
    // Centred on the panel's rectangle on the screen.
    void CentreOn(const QWidget* pPanel);

    CTextProgressCtrl* GetProgressCtrl() const { return m_pProgress; }
    QPushButton* GetCancelButton() const { return m_pCancel; }

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;

private:
    void PostCancel();

    QWidget* m_pPanel;
    CTextProgressCtrl* m_pProgress = nullptr;
    QPushButton* m_pCancel = nullptr;
};
