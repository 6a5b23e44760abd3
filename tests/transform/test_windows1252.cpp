#include "transform/text/Windows1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Windows1252, EveryByteRoundTripsUnchanged)
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(one)), one);
    }
}

struct CharacterCase {
    const char* why;
    unsigned char byte;
    const char* utf8;
};

const CharacterCase kCharacters[] = {
    {"ASCII stays", 'A', "A"},
    {"degree sign", 0xB0, "°"},
    {"c cedilla", 0xE7, "ç"},
    {"a tilde", 0xE3, "ã"},
    {"acute accent, the minutes mark of the example", 0xB4, "´"},
    {"euro sign", 0x80, "€"},
    {"single low quote", 0x82, "‚"},
    {"right single quote", 0x92, "’"},
    {"en dash", 0x96, "–"},
    {"Y diaeresis, the last of the table", 0x9F, "Ÿ"},
    {"a byte without character keeps its number", 0x81, "\u0081"},
    {"the next such byte", 0x8D, "\u008D"},
    {"y diaeresis", 0xFF, "ÿ"},
};

TEST(Windows1252, MapsTheTableBothWays)
{
    for (const auto& c : kCharacters) {
        SCOPED_TRACE(c.why);
        const std::string byte(1, static_cast<char>(c.byte));
        EXPECT_EQ(windows1252ToUtf8(byte), c.utf8);
        EXPECT_EQ(utf8ToWindows1252(c.utf8), byte);
    }
}

struct UnmappableCase {
    const char* why;
    const char* utf8;
    const char* expected;
};

const UnmappableCase kUnmappable[] = {
    {"a character beyond the set", "Łódź",
     "?\xF3"
     "d?"},
    {"a control character the table gives to the euro", "\u0080", "?"},
    {"a four-byte character", "a\U0001F600b", "a?b"},
    {"a stray continuation byte",
     "a\x80"
     "b",
     "a?b"},
    {"a sequence cut short", "a\xC3", "a?"},
    {"a sequence cut short by ASCII",
     "\xC3"
     "b",
     "?b"},
    {"an overlong slash", "\xC0\xAF", "?"},
    {"a surrogate", "\xED\xA0\x80", "?"},
    {"a byte that never starts UTF-8", "\xFF", "?"},
};

TEST(Windows1252, WritesAQuestionMarkForWhatItCannotHold)
{
    for (const auto& c : kUnmappable) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(utf8ToWindows1252(c.utf8), c.expected);
    }
}

}  // namespace
