// Whole parts of extended values without switching the x87 rounding mode. std::trunc, std::floor
// and a conversion of a long double to an integer each switch the mode to truncation and back
// (fldcw), which stalls the x87 pipeline: five of them took half of a grid conversion's time,
// two of them most of a grid lookup's. Rounded to a double, a value truncates with one SSE
// instruction; a comparison in long double undoes the rare rounding that carried it onto the
// next whole number (below 2^52 every whole number is a double, so it never carries it past one).
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

// The whole part of v, toward zero, for |v| below 2^52; nothing beyond (and for a NaN).
inline std::optional<std::int64_t> WholePartOf(long double v)
{
    if (!(std::fabs(v) < 0x1p52L)) return std::nullopt;
    auto whole = static_cast<std::int64_t>(static_cast<double>(v));
    if (v >= 0 && whole > v) --whole;
    if (v < 0 && whole < v) ++whole;
    return whole;
}

// The whole cells below v, which lies in [-1, 2^31), and the fraction left over, in [0, 1): a
// fraction that rounds to 1 (v a hair below a whole number) counts as the next cell's 0.
inline std::int32_t WholeCells(long double v, long double& fraction)
{
    auto whole = static_cast<std::int32_t>(*WholePartOf(v));
    if (whole > v) --whole;
    fraction = v - whole;
    if (fraction >= 1) ++whole, fraction -= 1;
    return whole;
}
