#pragma once

#include <QString>

#include "lang/language_code.h"

// Resource path of the embedded table that `nCode` selects, or an empty string when
// the code selects no table.
QString LanguageTableResource(LanguageCode nCode);
