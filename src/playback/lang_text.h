#pragma once

#include <QString>

#include "lang/language_parser.h"

// The current language's text for `szKey`, or the English default given at the call site.
inline QString LangText(const char* szKey, const char* szDefault) {
    QString strText;
    CLanguageParser::FindString(szKey, strText, QString::fromUtf8(szDefault));
    return strText;
}
