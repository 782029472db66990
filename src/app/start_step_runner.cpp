#include "app/start_step_runner.h"

#include <QStringList>
#include <QTimer>

#include "common/debug_log.h"
#include "mainwnd/orlin_dlg.h"

CStartStepRunner::CStartStepRunner(COrlinDlg* pDlg, std::vector<StartStep> steps)
    : m_pDlg(pDlg), m_steps(std::move(steps)) {}

void CStartStepRunner::Start() {
    if (!m_steps.empty()) QTimer::singleShot(STEP_GAP_MS, this, &CStartStepRunner::TakeNext);
}

void CStartStepRunner::TakeNext() {
    if (IsFinished()) return;
    const StartStep step = m_steps[m_nNext++];
    if (!IsFinished()) {
        const int nDelay = step.eKind == StartStep::Kind::Wait ? step.nValue : STEP_GAP_MS;
        QTimer::singleShot(nDelay, this, &CStartStepRunner::TakeNext);
    }
    Take(step);
}

void CStartStepRunner::Take(const StartStep& step) {
    DebugLog("Start step %d %d", static_cast<int>(step.eKind), step.nValue);
    switch (step.eKind) {
        case StartStep::Kind::Menu:
            m_pDlg->OnCommand(step.nValue);
            break;
        case StartStep::Kind::Button:
            m_pDlg->OnControl(step.nValue);
            break;
        case StartStep::Kind::SyncPlay: {
            QStringList paths;
            for (int32_t i = 0; i < m_pDlg->PlaylistCount(); ++i) paths << m_pDlg->PlaylistPath(i);
            m_pDlg->PlaySync(paths);
            break;
        }
        case StartStep::Kind::Wait:
            break;
    }
}
