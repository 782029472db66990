#include "lang/language_tables.h"

QString LanguageTableResource(LanguageCode nCode) {
    switch (nCode) {
        case LANGUAGE_CHINESE_SIMPLIFIED:
            return QStringLiteral(":/lang/chinese_simplified.xml");
        case LANGUAGE_ENGLISH:
            return QStringLiteral(":/lang/english.xml");
        case LANGUAGE_PORTUGUESE:
            return QStringLiteral(":/lang/portuguese.xml");
        default:
            return QString();
    }
}
