#pragma once

#include <QLocale>

#include "lang/language_code.h"
#include "settings/player_settings.h"

// The language of a first run: Simplified Chinese for Chinese as used in mainland
// China, English for every other locale.
LanguageCode FirstRunLanguage(const QLocale& locale);

// Start-up: loads the settings file into `stSettings` (which holds the defaults).
// When there is no usable file every field keeps its default and the language comes
// from `locale`. Returns whether the file was loaded.
bool LoadSettingsAtStartup(PlayerSettings& stSettings, const QLocale& locale = QLocale::system());

// Shutdown: writes the settings file once. A failure is logged, not shown.
bool SaveSettingsAtExit(const PlayerSettings& stSettings);
