#pragma once

#include <QString>
#include <cstddef>

#include "lang/language_code.h"

// Owns the process-wide current language table and looks texts up in it. Only the
// user-interface thread loads tables and looks texts up; the state is not locked.
class CLanguageParser {
public:
    CLanguageParser() = delete;

    // Makes the embedded table of `nCode` the current one. A code that selects no
    // table fails and keeps the current table.
    static bool LoadStringFile(LanguageCode nCode);

    // Parses exactly `nSize` bytes of `pData` (no terminating zero needed) as a
    // language table and makes it current. On a parse error the current table is
    // left empty, so every lookup falls back to its default text.
    static bool LoadStringBuffer(const char* pData, size_t nSize);

    // `strOut` receives the current table's text for `szKey` (result true) or
    // `strDefault` (result false). Callers use `strOut` either way.
    static bool FindString(const char* szKey, QString& strOut, const QString& strDefault);

    // Drops the current table; later lookups give their default texts.
    static void Release();
};
