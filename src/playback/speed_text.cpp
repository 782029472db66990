#include "playback/speed_text.h"

#include "playback/lang_text.h"

QString SpeedText(int32_t nSpeedLevel) {
    if (nSpeedLevel == 0) return LangText("IDS_MainWnd_Play", "Playing");
    QString strText = nSpeedLevel > 0 ? LangText("IDS_MainWnd_SpeedUp", "Speed * %d")
                                      : LangText("IDS_MainWnd_SpeedDown", "Speed / %d");
    const int32_t nFactor = 1 << (nSpeedLevel > 0 ? nSpeedLevel : -nSpeedLevel);
    return strText.replace(QLatin1String("%d"), QString::number(nFactor));
}
