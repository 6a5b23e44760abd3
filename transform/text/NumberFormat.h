// The separators that number text is read and written with.
//
// Passed to every routine that reads or writes a number, so that the window can use the user's
// separators while a file run on the same thread uses "." without switching anything shared.
#pragma once

#include <string>

struct NumberFormat {
    // One character, since the numeric boxes' key filter maps a single keystroke onto it.
    char decimalSeparator = '.';
    // UTF-8 text, possibly empty (no grouping) or longer than one byte (a no-break space).
    std::string thousandsSeparator;

    // The form of every configuration, DXF and point file: "." and no grouping.
    static NumberFormat file() { return NumberFormat{'.', ""}; }
};
