// The angle readers and writers on any value: a typed text read by the user's separator, or any
// 80-bit pattern (NaN, infinities, subnormals included). Reading gives a finite angle or the
// conversion error; writing never fails, and the decimal-degree text reads back to the angle.
#include "transform/text/AngleText.h"
#include "transform/text/NumberText.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <cstring>
#include <optional>

namespace {

std::optional<long double> read(long double (*reader)(long double, const NumberFormat&),
                                long double value, const NumberFormat& format)
{
    try {
        return reader(value, format);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

// The minutes and seconds readers keep the whole degrees and add less than two degrees.
void requireReadersKeepTheDegrees(long double value, const NumberFormat& format)
{
    const long double whole = std::trunc(std::fabs(value));
    for (const auto reader : {&GM_DECIMAL, &GMS_DECIMAL}) {
        const auto angle = read(reader, value, format);
        if (!angle) continue;
        fuzz::require(std::isfinite(*angle), "a read angle is finite");
        if (!std::isfinite(value) || whole >= 1e15L) continue;
        const long double magnitude = std::fabs(*angle);
        fuzz::require(magnitude >= whole && magnitude < whole + 2, "the degrees are kept");
        fuzz::require(*angle == 0 || std::signbit(*angle) == std::signbit(value), "the sign");
    }
}

void requireDegreesReadBack(long double value)
{
    const NumberFormat comma{',', ""};
    std::string text = TextG(value, comma);
    fuzz::require(text.size() > 2 && text.substr(text.size() - 2) == "\u00B0", "a degree sign");
    if (!std::isfinite(value) || std::fabs(value) >= 1e6L) return;
    text.resize(text.size() - 2);
    const long double again = readFloat(text, comma);
    fuzz::require(std::fabs(again - value) <= fuzz::roundTripTolerance(value, 12),
                  "twelve decimals, rounded");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const NumberFormat format = data[0] & 1 ? fuzz::commaFormat() : fuzz::pointFormat();
    long double value = 0;
    if (data[0] & 2) {
        // Any bit pattern, made an arithmetic value as a computation would make it: the patterns
        // the processor refuses as operands turn into NaN.
        long double raw = 0;
        std::memcpy(&raw, data + 1, std::min<std::size_t>(size - 1, 10));
        static volatile long double one = 1;
        value = raw * one;
    } else {
        try {
            value = readFloat(fuzz::textOf(data + 1, size - 1), format);
        } catch (const ConversionError&) {
            return 0;
        }
    }

    for (int angleFormat = -1; angleFormat <= 3; ++angleFormat) {
        fuzz::require(!TextLatLon(value, angleFormat, format).empty(), "an angle is written");
        try {
            const long double degrees = LatLonCerto(value, angleFormat, format);
            fuzz::require(std::isfinite(degrees) || !std::isfinite(value), "a finite angle");
        } catch (const ConversionError&) {
        }
    }
    fuzz::require(!TextGM(value, format).empty() && !TextGMS(value, format).empty(),
                  "minutes and seconds are written");
    requireReadersKeepTheDegrees(value, format);
    requireDegreesReadBack(value);
    return 0;
}
