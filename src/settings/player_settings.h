#pragma once

#include <QString>
#include <cstdint>

#include "lang/language_code.h"
#include "settings/hot_key_binding.h"

// The user's persisted settings. The member defaults are the values a first run
// starts with; a settings file overrides only the fields it supplies. The numeric
// options keep whatever number they are given: the settings dialog offers the
// valid values and the file is loaded without range checks.
struct PlayerSettings {
    LanguageCode nLanguage = LANGUAGE_ENGLISH;
    bool bHighQuality = true;
    bool bDeflash = true;
    int32_t nPriority = 0;              // 1 efficiency priority, 0 effect priority
    int32_t nThrowB = 0;                // B-frames dropped: 0, 1 or 2
    int32_t nPlayerTimerPrecision = 1;  // 1 high precision, 2 low precision
    HotKeyTable stHotKeys = DefaultHotKeyTable();
    int32_t nResolution = 1;  // 1 normal, 2 low
    QString strCaptureFolder = DefaultSnapshotFolder();
    int32_t nCaptureType = 0;  // 0 BMP, 1 JPEG
    QString strConCaptureFolder = DefaultSnapshotFolder();
    int32_t nConCaptureType = 0;  // 0 BMP, 1 JPEG

    // The user's Pictures folder when it exists, else the home folder.
    static QString DefaultSnapshotFolder();

    bool operator==(const PlayerSettings&) const = default;
};
