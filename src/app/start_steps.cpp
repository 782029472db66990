#include "app/start_steps.h"

#include <QStringList>

namespace {

// Waits longer than this are a typing mistake, not a plan.
constexpr int kMaxWaitMs = 600000;

std::optional<int> Number(const QString& strText, int nMax) {
    bool bOk = false;
    const int nValue = strText.toInt(&bOk, 10);
    if (!bOk || nValue < 0 || nValue > nMax) return std::nullopt;
    return nValue;
}

}  // namespace

StartStepList ParseStartSteps(const QString& strText) {
    StartStepList out;
    for (const QString& strStep : strText.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype nColon = strStep.indexOf(QLatin1Char(':'));
        const QString strName = strStep.left(nColon);
        const QString strArg = nColon < 0 ? QString() : strStep.mid(nColon + 1);
        std::optional<StartStep> step;
        if (strStep == QLatin1String("sync-play")) {
            step = StartStep{StartStep::Kind::SyncPlay, 0};
        } else if (nColon > 0) {
            const bool bWait = strName == QLatin1String("wait");
            const std::optional<int> nValue = Number(strArg, bWait ? kMaxWaitMs : 65535);
            if (nValue && bWait) step = StartStep{StartStep::Kind::Wait, *nValue};
            if (nValue && strName == QLatin1String("menu")) {
                step = StartStep{StartStep::Kind::Menu, *nValue};
            }
            if (nValue && strName == QLatin1String("button")) {
                step = StartStep{StartStep::Kind::Button, *nValue};
            }
        }
        if (!step) return {{}, QStringLiteral("not a step: \"%1\"").arg(strStep)};
        out.steps.push_back(*step);
    }
    return out;
}
