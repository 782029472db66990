#include "mainwnd/about_dlg.h"

#include <QLabel>
#include <QVBoxLayout>

#include "common/program_version.h"
#include "playback/tavel_ctrl.h"

QString FormatEngineVersion(uint32_t nVersion) {
    return QString::asprintf("Vidmux.dll, %d.%d.%d.%d", int((nVersion >> 24) & 0xFF),
                             int((nVersion >> 16) & 0xFF), int((nVersion >> 8) & 0xFF),
                             int(nVersion & 0xFF));
}

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent) {
    setWindowTitle(QStringLiteral(" Orlin"));
    setModal(true);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(24, 18, 24, 18);
    m_pProgram = new QLabel(QStringLiteral("Orlin, V") + QLatin1String(ORLIN_VERSION), this);
    // The wrapper holds no port; it is only asked for the engine's version.
    CTavelCtrl tavel;
    m_pEngine = new QLabel(FormatEngineVersion(tavel.GetSdkVersion()), this);
    m_pEngine->setObjectName(QStringLiteral("static%1").arg(ENGINE_VERSION_ID));
    pLayout->addWidget(m_pProgram);
    pLayout->addWidget(m_pEngine);
}

QString CAboutDlg::ProgramText() const { return m_pProgram->text(); }

QString CAboutDlg::EngineText() const { return m_pEngine->text(); }
