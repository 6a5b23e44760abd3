// The separator sets the tests run under: the file form and the users' usual regional settings.
#pragma once

#include "transform/text/NumberFormat.h"

inline NumberFormat commaDecimalDotThousands() { return NumberFormat{',', "."}; }    // Brazil
inline NumberFormat dotDecimalCommaThousands() { return NumberFormat{'.', ","}; }    // US
inline NumberFormat commaDecimalSpaceThousands() { return NumberFormat{',', " "}; }  // French
inline NumberFormat commaDecimalNoBreakSpace() { return NumberFormat{',', "\u00A0"}; }
