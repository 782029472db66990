// The language table loader over any bytes, then lookups in whatever it kept.

#include <QString>
#include <cstddef>
#include <cstdint>

#include "lang/language_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    CLanguageParser::LoadStringBuffer(reinterpret_cast<const char*>(pData), nSize);
    static const char* const kKeys[] = {"IDS_MainWnd_Play", "IDS_Global_DiskNotEnough", "", "IDS_",
                                        "IDS_MainWnd_CaptureFail"};
    const QString strDefault = QStringLiteral("default");
    for (const char* szKey : kKeys) {
        QString strText;
        const bool bFound = CLanguageParser::FindString(szKey, strText, strDefault);
        if (!bFound && strText != strDefault) __builtin_trap();
    }
    CLanguageParser::Release();
    return 0;
}
