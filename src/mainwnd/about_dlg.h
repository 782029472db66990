#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QLabel;

// "Vidmux.dll, a.b.c.d" from the engine's version number, most significant byte first.
QString FormatEngineVersion(uint32_t nVersion);

// The About box: the player's version and the engine's. Closed with Escape or
// the caption's close button.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int ENGINE_VERSION_ID = 1181;
    explicit CAboutDlg(QWidget* pParent);

    QString ProgramText() const;
    QString EngineText() const;

private:
    QLabel* m_pProgram = nullptr;
    QLabel* m_pEngine = nullptr;
};
