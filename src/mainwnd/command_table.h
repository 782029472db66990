#pragma once

#include <QString>

// The texts of the menu commands and of the menus' popup titles, looked up in
// the language table with their English defaults.

struct CommandText {
    int nId;
    const char* szKey;
    const char* szDefault;
};

// The text entry of a command id; null for an id without one (the Portuguese
// item has a fixed text, see CommandMenuText).
const CommandText* FindCommandText(int nId);

// The text a menu shows for a command in the current language. The Portuguese
// item names Portuguese in the current language's own words.
QString CommandMenuText(int nId, int nLanguageCode);
