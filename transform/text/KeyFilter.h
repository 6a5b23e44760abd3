// The keystroke filter that every numeric box of the main window shares.
#pragma once

#include <optional>

// Decides what a single typed character becomes: digits, "+", "-", backspace (8), Ctrl+C (3) and
// Ctrl+V (22) pass; "." and "," both type the user's decimal separator when it is one of the two;
// every other character is discarded (no value), and the box's text must stay unchanged.
// Pasted text is not filtered here: it fails later in the number reading if it is no number.
std::optional<char32_t> filterNumericKey(char32_t typed, char decimalSeparator);
