#include "transform/text/KeyFilter.h"

namespace {

constexpr char32_t kBackspace = 8;
constexpr char32_t kCtrlC = 3;
constexpr char32_t kCtrlV = 22;

bool passesFilter(char32_t c)
{
    return (c >= U'0' && c <= U'9') || c == U'.' || c == U',' || c == U'+' || c == U'-' ||
           c == kBackspace || c == kCtrlC || c == kCtrlV;
}

}  // namespace

std::optional<char32_t> filterNumericKey(char32_t typed, char decimalSeparator)
{
    if (!passesFilter(typed)) return std::nullopt;
    if (typed == U'.' && decimalSeparator == ',') return U',';
    if (typed == U',' && decimalSeparator == '.') return U'.';
    return typed;
}
