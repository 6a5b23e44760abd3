// The user's separators, taken once from the regional settings and passed down from there.
#pragma once

#include "transform/text/NumberFormat.h"

#include <QLocale>

// The locale's decimal and thousands separators. A decimal separator that is not one plain
// character (a few locales use a non-ASCII mark) falls back to ".", since the numeric boxes'
// key filter types it as one character.
NumberFormat numberFormatOf(const QLocale& locale);
