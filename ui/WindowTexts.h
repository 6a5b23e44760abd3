// How a window receives the interface texts of the current language from the language switch.
#pragma once

#include "ui/texts/TextTables.h"

#include <QString>

#include <functional>

// Text number n of the interface texts in the current language.
using TextOf = std::function<QString(Text::Number number)>;
