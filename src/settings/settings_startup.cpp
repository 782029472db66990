#include "settings/settings_startup.h"

#include "settings/settings_file.h"

LanguageCode FirstRunLanguage(const QLocale& locale) {
    if (locale.language() == QLocale::Chinese && locale.territory() == QLocale::China) {
        return LANGUAGE_CHINESE_SIMPLIFIED;
    }
    return LANGUAGE_ENGLISH;
}

bool LoadSettingsAtStartup(PlayerSettings& stSettings, const QLocale& locale) {
    if (LoadPlayerSettings(SettingsFilePath(), stSettings)) {
        return true;
    }
    stSettings.nLanguage = FirstRunLanguage(locale);
    return false;
}

bool SaveSettingsAtExit(const PlayerSettings& stSettings) {
    return SavePlayerSettings(stSettings, SettingsFilePath());
}
