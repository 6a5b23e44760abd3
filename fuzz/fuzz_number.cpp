// Strict number reading on any text, with "." and with "," as the decimal separator. A number
// that reads is finite and survives its own written form; "." and "," texts of the same number
// read alike; an integer reads as the same real number; every pattern writes any value.
#include "transform/text/NumberText.h"
#include "fuzz/fuzz_support.h"

#include <cfloat>
#include <cmath>
#include <optional>

namespace {

std::optional<long double> realIn(std::string_view text, const NumberFormat& format)
{
    try {
        return readFloat(text, format);
    } catch (const ConversionError& error) {
        fuzz::require(std::string_view(error.what()).size() < 200 + 40, "a short message");
        return std::nullopt;
    }
}

void requireWrittenFormReadsBack(long double value, const NumberFormat& format)
{
    fuzz::require(std::isfinite(value), "a number that reads is finite");
    const std::string written = formatGeneral(value, format);
    const auto again = realIn(written, format);
    fuzz::require(again.has_value(), "the general form reads back");
    fuzz::require(formatGeneral(*again, format) == written, "the general form is stable");
    if (std::fabs(value) >= LDBL_MIN)
        fuzz::require(std::fabs(*again - value) <= std::fabs(value) * 1e-14L,
                      "15 significant digits kept");
}

void requirePatternsWrite(long double value, const NumberFormat& format)
{
    for (const FixedPattern pattern : {Pattern::n1_4, Pattern::n1_6, Pattern::n1_8, Pattern::n2_4,
                                       Pattern::n2_10, Pattern::n2_12})
        fuzz::require(!formatFixed(value, pattern, format).empty(), "a pattern writes a value");
    const std::string fixed = formatFixed(value, Pattern::n1_6, fuzz::pointFormat());
    if (std::fabs(value) < 1e12L) {
        const auto again = realIn(fixed, fuzz::pointFormat());
        fuzz::require(again && std::fabs(*again - value) <= fuzz::roundTripTolerance(value, 6),
                      "six decimals, rounded");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::textOf(data, size);
    const auto withPoint = realIn(text, fuzz::pointFormat());
    const auto withComma = realIn(text, fuzz::commaFormat());
    for (const auto& [value, format] :
         {std::pair{withPoint, fuzz::pointFormat()}, std::pair{withComma, fuzz::commaFormat()}}) {
        if (value) {
            requireWrittenFormReadsBack(*value, format);
            requirePatternsWrite(*value, format);
        }
    }

    if (text.find(',') == std::string_view::npos) {
        std::string swapped(text);
        for (char& c : swapped)
            if (c == '.') c = ',';
        const auto swappedValue = realIn(swapped, fuzz::commaFormat());
        fuzz::require(swappedValue.has_value() == withPoint.has_value() &&
                          (!withPoint || *swappedValue == *withPoint ||
                           (std::isnan(*swappedValue) && std::isnan(*withPoint))),
                      "the same number with either separator");
    }

    try {
        const std::int32_t whole = readInteger(text);
        fuzz::require(withPoint && *withPoint == whole, "an integer reads as that real number");
    } catch (const ConversionError&) {
    }
    return 0;
}
