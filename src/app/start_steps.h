#pragma once

#include <QString>
#include <optional>
#include <vector>

// Steps the program takes by itself once its window has started, read from
// the environment variable ORLIN_START_STEPS. They let a script bring the
// window into a state worth a screenshot (scripts/screenshots.sh) without
// driving the mouse. Steps are separated by spaces:
//   menu:ID     the menu command ID (command_ids.h), as if chosen from a menu
//   button:ID   the button ID of the control bar or floating panel (control_ids.h)
//   sync-play   plays every playlist entry in step (synchronous mode must be on)
//   wait:MS     waits MS milliseconds before the next step
// Users never need it; an unset or empty variable means no steps.
struct StartStep {
    enum class Kind { Menu, Button, SyncPlay, Wait };
    Kind eKind = Kind::Wait;
    int nValue = 0;  // the id, or the milliseconds of a wait
    bool operator==(const StartStep&) const = default;
};

struct StartStepList {
    std::vector<StartStep> steps;
    QString strError;  // empty when every step was understood
};

// The whole list, or none of it with the first step that is not understood.
StartStepList ParseStartSteps(const QString& strText);
