#include "settings/player_set_rules.h"

namespace {
LocateCheck ParseLocateNumber(const QString& strText, int64_t* pnValue) {
    const QString strTrimmed = strText.trimmed();
    if (strTrimmed.isEmpty()) return LocateCheck::Empty;
    bool bOk = false;
    const qlonglong nValue = strTrimmed.toLongLong(&bOk);
    // A negative position would reach the engine as an enormous unsigned one.
    if (!bOk || nValue < 0) return LocateCheck::Invalid;
    *pnValue = nValue;
    return LocateCheck::Valid;
}
}  // namespace

int32_t SpeedLevelFromSlider(bool bSpeedUp, int32_t nSliderPos) {
    return bSpeedUp ? nSliderPos : -nSliderPos;
}

int32_t SpeedLevelForDirection(bool bSpeedUp, int32_t nLevel) {
    if (bSpeedUp && nLevel < 0) return -nLevel;
    if (!bSpeedUp && nLevel > 0) return -nLevel;
    return nLevel;
}

int32_t SpeedStepTowards(int32_t nFrom, int32_t nTo) {
    if (nFrom < nTo) return 1;
    if (nFrom > nTo) return -1;
    return 0;
}

LocateCheck CheckLocateTime(const QString& strText, uint32_t nDurationSeconds, uint32_t* pnValue) {
    int64_t nValue = 0;
    const LocateCheck eCheck = ParseLocateNumber(strText, &nValue);
    if (eCheck != LocateCheck::Valid) return eCheck;
    if (nValue > static_cast<int64_t>(nDurationSeconds)) return LocateCheck::Invalid;
    *pnValue = static_cast<uint32_t>(nValue);
    return LocateCheck::Valid;
}

LocateCheck CheckLocateFrame(const QString& strText, uint32_t nTotalFrames, uint32_t* pnValue) {
    int64_t nValue = 0;
    const LocateCheck eCheck = ParseLocateNumber(strText, &nValue);
    if (eCheck != LocateCheck::Valid) return eCheck;
    if (nValue >= static_cast<int64_t>(nTotalFrames)) return LocateCheck::Invalid;
    *pnValue = static_cast<uint32_t>(nValue);
    return LocateCheck::Valid;
}

QString FolderWithoutTrailingSeparator(const QString& strFolder) {
    if (strFolder.size() > 1 && strFolder.endsWith(QLatin1Char('/'))) return strFolder.chopped(1);
    return strFolder;
}
