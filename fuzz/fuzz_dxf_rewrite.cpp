// The DXF rewrite on any bytes, through the window's real transformation.
//
// With geodetic coordinates on one datum on both sides the transformation changes nothing, so
// the copy must be the drawing itself: line for line, with CR LF, only the positions' values in
// their written form (and the user origin zeroed, the extents enclosing the drawing). The same
// drawing is also carried from UTM on one datum to geodetic on another, which must not crash; both
// ways of handing the points over and the check must agree with the rewrite.
#include "transform/files/DxfRewrite.h"
#include "transform/files/FileTransform.h"
#include "transform/text/NumberText.h"
#include "fuzz/fuzz_support.h"

#include <optional>

namespace {

struct Outcome {
    std::optional<std::string> error;  // the message a run stopped with
    std::string text;
    FileRunSummary summary;
    bool operator==(const Outcome& other) const
    {
        return error == other.error && text == other.text && summary.lines == other.summary.lines &&
               summary.points == other.summary.points &&
               summary.rejected == other.summary.rejected &&
               summary.firstRejectedLine == other.summary.firstRejectedLine;
    }
};

// Both fuzzed settings have a geodetic side: vectors, sizes and angles stay.
const DxfRewriteOptions inDegrees{false};

template <typename Transformation>
Outcome rewrite(std::string_view source, const Transformation& transformation)
{
    Outcome outcome;
    LineWriter out;
    try {
        outcome.summary = rewriteDxf(source, out, transformation, inDegrees);
        outcome.text = out.text();
    } catch (const ConversionError& error) {
        outcome.error = error.what();
    } catch (const FileRunError& error) {
        outcome.error = error.what();
    }
    return outcome;
}

std::optional<long double> numberIn(std::string_view text)
{
    try {
        return readFloat(text, NumberFormat::file());
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

// Each line of the copy stands where its source line stood: the same text, a number in its
// written form, a zeroed origin value, or the extents, whose values are the drawing's box.
void requireLineForLine(std::string_view source, std::string_view copy)
{
    const auto in = fuzz::linesOf(source);
    const auto out = fuzz::linesOf(copy);
    fuzz::require(out.size() >= in.size(), "the copy holds every line of the drawing");
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::string_view was = i < in.size() ? in[i] : std::string_view{};
        const std::string_view now = out[i];
        if (now == was || now == "0.0") continue;
        const auto before = numberIn(was);
        const auto after = numberIn(now);
        fuzz::require(before.has_value() && after.has_value(), "only numbers change");
        if (*before == *after)
            fuzz::require(now == formatGeneral(*before, NumberFormat::file()),
                          "an unchanged number is written in the general form");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view source = fuzz::textOf(data, size);
    static const std::vector<TDatum> datums = fuzz::oneDatum();
    static const WindowState identity = fuzz::geodeticToGeodetic();
    static TGeo engine;

    Processa processa(identity, datums, engine, fuzz::pointFormat());
    const PointTransform unchanged = processaPoints(processa);
    const Outcome one = rewrite(source, unchanged);
    SharedProcessa shared(identity, datums, engine, fuzz::pointFormat(), 2);
    const Outcome blocks = rewrite(source, PointBatch(shared));
    fuzz::require(one == blocks, "the points handed over in blocks give the same copy");

    std::optional<std::string> firstProblem;
    FileRunSummary checked;
    try {
        checked = checkDxf(
            source, unchanged,
            [&](const LineProblem& problem) {
                if (!firstProblem && !problem.message.empty()) firstProblem = problem.message;
            },
            inDegrees);
    } catch (const FileRunError& error) {
        firstProblem = error.what();
    }
    fuzz::require(firstProblem == one.error, "the check reports the line the rewrite stops at");

    if (!one.error) {
        fuzz::require(one.summary.lines == lineCount(source), "every line counted");
        fuzz::require(one.summary.rejected == 0, "no point rejected by an identity");
        fuzz::require(checked.points == one.summary.points, "the check sees every point");
        fuzz::require(fuzz::everyLineEndsInCrLf(one.text), "CR LF line ends");
        requireLineForLine(source, one.text);
    }

    // A real change of system and datum: any outcome but a crash, and the same points.
    static const std::vector<TDatum> two = {TDatum("SAD 69", 6378160, 1 / 298.25L, -66.87L, 4.37L,
                                                   -38.52L),
                                            TDatum("WGS 84", 6378137, 1 / 298.257223563L, 0, 0, 0)};
    static const WindowState utmToGeodetic = [] {
        WindowState state = startupState(fuzz::pointFormat());
        state.ComboBox9 = 0;
        state.ComboBox10 = 1;
        state.ComboBox8 = 1;
        return state;
    }();
    Processa carried(utmToGeodetic, two, engine, fuzz::pointFormat());
    const Outcome other = rewrite(source, processaPoints(carried));
    fuzz::require(other.error.has_value() == one.error.has_value(),
                  "a drawing that reads on one transformation reads on another");
    if (!other.error) {
        fuzz::require(other.summary.points == one.summary.points, "the same points");
        fuzz::require(fuzz::everyLineEndsInCrLf(other.text), "CR LF line ends");
    }
    return 0;
}
