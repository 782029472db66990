#pragma once

#include <QString>

#include "settings/player_settings.h"

// The settings file in the user's configuration folder (the folder named after the
// application, so the shell sets the application name first). Empty when the system
// reports no configuration folder.
QString SettingsFilePath();

// Reads the file at `strPath` into `stSettings`, overwriting only the fields the file
// supplies. True when the file parsed and has a root element; every "PlayerSetting"
// child of the root (whatever the root's name) is applied in document order. On
// false `stSettings` is untouched.
bool LoadPlayerSettings(const QString& strPath, PlayerSettings& stSettings);

// Writes every field of `stSettings` to `strPath`, creating its folder when needed.
// The previous file is replaced only after the new one has been written completely,
// so a failed save (false) leaves it as it was.
bool SavePlayerSettings(const PlayerSettings& stSettings, const QString& strPath);
