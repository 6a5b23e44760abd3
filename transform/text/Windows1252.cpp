#include "transform/text/Windows1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace {

// Code points of the bytes 0x80..0x9F; the five bytes without a character keep their own number.
constexpr std::array<char32_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char kReplacement = '?';

char32_t codePointOf(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F) return kHighControlRange[byte - 0x80];
    return byte;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::optional<unsigned char> byteOf(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
        if (kHighControlRange[i] == c) return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

// One UTF-8 sequence decoded: its code point, or none when it is malformed (overlong, a
// surrogate, beyond U+10FFFF, cut short), and how many bytes it takes.
struct Decoded {
    std::optional<char32_t> codePoint;
    std::size_t length;
};

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

Decoded decodeOne(std::string_view text, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
        smallest = 0x10000;
    } else
        return {std::nullopt, 1};
    for (std::size_t i = 1; i < length; ++i) {
        if (pos + i >= text.size() || !isContinuation(static_cast<unsigned char>(text[pos + i])))
            return {std::nullopt, i};
        c = (c << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    }
    const bool valid = c >= smallest && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    if (!valid) return {std::nullopt, length};
    return {c, length};
}

}  // namespace

std::string windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char byte : bytes) appendUtf8(out, codePointOf(static_cast<unsigned char>(byte)));
    return out;
}

std::string utf8ToWindows1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const Decoded decoded = decodeOne(text, pos);
        const auto byte = decoded.codePoint ? byteOf(*decoded.codePoint) : std::nullopt;
        out += byte ? static_cast<char>(*byte) : kReplacement;
        pos += decoded.length;
    }
    return out;
}

bool isUtf8(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const Decoded decoded = decodeOne(text, pos);
        if (!decoded.codePoint) return false;
        pos += decoded.length;
    }
    return true;
}

DrawingText drawingText(std::string_view text)
{
    const bool plain = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (plain || !isUtf8(text)) return {std::string(text), 0};
    DrawingText converted{utf8ToWindows1252(text), 0};
    const auto questionMarks = [](std::string_view s) {
        return static_cast<std::size_t>(std::count(s.begin(), s.end(), kReplacement));
    };
    converted.replaced = questionMarks(converted.bytes) - questionMarks(text);
    return converted;
}
