// The ends of a text trimmed without copying it, by the three rules the file formats need.
#pragma once

#include <string_view>

template <typename IsTrimmed>
std::string_view trimmedWhere(std::string_view text, const IsTrimmed& isTrimmed)
{
    while (!text.empty() && isTrimmed(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && isTrimmed(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// Spaces only: DXF writers pad group codes and values with spaces, and a tab there is data.
inline std::string_view trimSpaces(std::string_view text)
{
    return trimmedWhere(text, [](unsigned char c) { return c == ' '; });
}

// Spaces and tabs: the blanks of typed lines (catalogue lines, stream lines).
inline std::string_view trimBlanks(std::string_view text)
{
    return trimmedWhere(text, [](unsigned char c) { return c == ' ' || c == '\t'; });
}

// Spaces and every control character: point names and values, from hand-typed lists that may
// hold tabs and stray carriage returns.
inline std::string_view trimControlsAndBlanks(std::string_view text)
{
    return trimmedWhere(text, [](unsigned char c) { return c <= ' '; });
}
