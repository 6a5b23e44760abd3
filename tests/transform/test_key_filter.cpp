#include "transform/text/KeyFilter.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct KeyCase {
    const char* why;
    char32_t typed;
    char decimalSeparator;
    std::optional<char32_t> expected;
};

const KeyCase kKeys[] = {
    {"digit passes", U'7', ',', U'7'},
    {"zero passes", U'0', '.', U'0'},
    {"nine passes", U'9', '.', U'9'},
    {"plus passes", U'+', ',', U'+'},
    {"minus passes", U'-', ',', U'-'},
    {"backspace passes", 8, ',', 8},
    {"Ctrl+C passes", 3, ',', 3},
    {"Ctrl+V passes", 22, ',', 22},
    {"point types the comma separator", U'.', ',', U','},
    {"comma types the point separator", U',', '.', U'.'},
    {"point stays under point", U'.', '.', U'.'},
    {"comma stays under comma", U',', ',', U','},
    {"point stays under another separator", U'.', '\'', U'.'},
    {"comma stays under another separator", U',', '\'', U','},
    {"letter is discarded", U'a', ',', std::nullopt},
    {"exponent letter is discarded", U'E', '.', std::nullopt},
    {"blank is discarded", U' ', ',', std::nullopt},
    {"Ctrl+X is discarded", 24, ',', std::nullopt},
    {"Ctrl+Z is discarded", 26, ',', std::nullopt},
    {"Ctrl+A is discarded", 1, ',', std::nullopt},
    {"Enter is discarded", 13, ',', std::nullopt},
    {"null is discarded", 0, ',', std::nullopt},
    {"degree sign is discarded", U'\u00B0', ',', std::nullopt},
    {"a non-Latin digit is discarded", U'\u0663', ',', std::nullopt},
    {"a full-width digit is discarded", U'\uFF11', ',', std::nullopt},
};

TEST(NumericKeyFilter, PassesNumberKeysAndMapsTheSeparator)
{
    for (const auto& c : kKeys) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(filterNumericKey(c.typed, c.decimalSeparator), c.expected);
    }
}

}  // namespace
