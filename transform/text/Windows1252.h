// The character set of the settings file, the datum catalogue and the text of drawings,
// converted at those file boundaries so that everything inside the program is UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Every byte has a character: Latin-1, with 0x80..0x9F by the Windows-1252 table. The five bytes
// that table leaves without a character (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control
// characters of the same number, U+0081 and so on, so that they write back as the same byte and
// no file changes by being read and written.
std::string windows1252ToUtf8(std::string_view bytes);

// The inverse. A character that Windows-1252 cannot hold, and a byte that is no valid UTF-8,
// become "?".
std::string utf8ToWindows1252(std::string_view text);

// Whether the bytes are well-formed UTF-8 (ASCII is).
bool isUtf8(std::string_view text);

// A text as a drawing holds it: DXF readers take a drawing's text as Windows-1252. Text in UTF-8
// with characters beyond ASCII is converted, each character Windows-1252 cannot hold written as
// "?" and counted; any other text (ASCII, or bytes that are no UTF-8, as Windows-1252 files
// give) passes as it is.
struct DrawingText {
    std::string bytes;
    std::size_t replaced = 0;
};
DrawingText drawingText(std::string_view text);
