// Number text per call: the strict reading and the general form that every coordinate of a file
// run goes through, beside strtod and std::to_chars for double as the floor the C and C++
// libraries give. A file run spends about a microsecond per point in the engine, so text at
// under 150 ns a number keeps the run bound by the computation.
#include "transform/text/NumberText.h"

#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cstdlib>
#include <string>

namespace {

// What DXF and point files carry: grid metres, degrees, heights, small and exponent forms.
const std::array<const char*, 8> kTexts = {"7395123.456789", "500000", "-23.676454", "812.25",
                                           "4010000.1235",   "0.0025", "1.5E-7",     "-45"};

const std::array<long double, 8> kValues = {7395123.456789L, 500000.0L, -23.676454L, 812.25L,
                                            4010000.12345L,  0.0025L,   1.5e-7L,     1.0L / 3};

void ReadFloat(benchmark::State& state)
{
    const NumberFormat format = NumberFormat::file();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(readFloat(kTexts[i], format));
        i = (i + 1) % kTexts.size();
    }
}
BENCHMARK(ReadFloat);

void StrtodFloor(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::strtod(kTexts[i], nullptr));
        i = (i + 1) % kTexts.size();
    }
}
BENCHMARK(StrtodFloor);

void FormatGeneral(benchmark::State& state)
{
    const NumberFormat format = NumberFormat::file();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(formatGeneral(kValues[i], format));
        i = (i + 1) % kValues.size();
    }
}
BENCHMARK(FormatGeneral);

void ToCharsDoubleFloor(benchmark::State& state)
{
    std::array<char, 32> buffer;
    std::size_t i = 0;
    for (auto _ : state) {
        const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                       static_cast<double>(kValues[i]))
                             .ptr;
        benchmark::DoNotOptimize(std::string(buffer.data(), end));
        i = (i + 1) % kValues.size();
    }
}
BENCHMARK(ToCharsDoubleFloor);

// The exact long double conversion that the general form avoids for all but near-midpoint values.
void ToCharsLongDoublePrecision(benchmark::State& state)
{
    std::array<char, 48> buffer;
    std::size_t i = 0;
    for (auto _ : state) {
        const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), kValues[i],
                                       std::chars_format::scientific, 14)
                             .ptr;
        benchmark::DoNotOptimize(end);
        i = (i + 1) % kValues.size();
    }
}
BENCHMARK(ToCharsLongDoublePrecision);

void FormatFixed(benchmark::State& state)
{
    const NumberFormat format{',', "."};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(formatFixed(kValues[i], Pattern::n1_6, format));
        i = (i + 1) % kValues.size();
    }
}
BENCHMARK(FormatFixed);

}  // namespace

BENCHMARK_MAIN();
