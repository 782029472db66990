#pragma once

#include <QObject>
#include <cstddef>
#include <vector>

#include "app/start_steps.h"

class COrlinDlg;

// Takes the start steps one after the other from the event loop, a moment
// apart so that each one's window has been laid out and painted. The next
// step is always timed before one is taken, so a step that opens a modal
// dialog does not hold up the rest.
class CStartStepRunner : public QObject {
    Q_OBJECT
public:
    static constexpr int STEP_GAP_MS = 300;

    CStartStepRunner(COrlinDlg* pDlg, std::vector<StartStep> steps);
    // Times the first step; nothing happens for an empty list.
    void Start();
    bool IsFinished() const { return m_nNext >= m_steps.size(); }

private:
    void TakeNext();
    void Take(const StartStep& step);

    COrlinDlg* m_pDlg;
    std::vector<StartStep> m_steps;
    size_t m_nNext = 0;
};
