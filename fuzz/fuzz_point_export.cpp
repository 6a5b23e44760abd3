// The point-file export on any bytes, through the window's real transformation with geodetic
// coordinates on one datum on both sides, which changes nothing: every line of the list must
// become one POINT at its own coordinates and one TEXT with its name (in Windows-1252 where it
// was UTF-8, a byte-order mark before the first skipped), in CR LF lines, and the
// check, the one-by-one and the block-wise runs must agree.
#include "transform/files/FileTransform.h"
#include "transform/text/TextLines.h"
#include "transform/text/Trim.h"
#include "transform/text/Windows1252.h"
#include "transform/text/NumberText.h"
#include "transform/files/PointFileExport.h"
#include "fuzz/fuzz_support.h"

#include <optional>

namespace {

struct Outcome {
    std::optional<std::string> error;
    std::string text;
    FileRunSummary summary;
    bool operator==(const Outcome& other) const
    {
        return error == other.error && text == other.text && summary.lines == other.summary.lines &&
               summary.points == other.summary.points;
    }
};

template <typename Transformation>
Outcome exportOf(std::string_view source, const Transformation& transformation)
{
    Outcome outcome;
    LineWriter out;
    try {
        outcome.summary = exportPoints(source, out, transformation);
        outcome.text = out.text();
    } catch (const ConversionError& error) {
        outcome.error = error.what();
    }
    return outcome;
}

std::string_view fieldOf(std::string_view& rest)
{
    const auto cut = rest.find(';');
    const auto field = rest.substr(0, cut);
    rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
    return field;
}

std::string written(std::string_view text)
{
    return formatGeneral(readFloat(text, NumberFormat::file()), NumberFormat::file());
}

// The 28 lines of each point: the POINT with the list line's coordinates as they read, the
// TEXT, and last the name as the list line gives it.
void requirePointsOfLines(std::string_view source, std::string_view drawing)
{
    const auto in = fuzz::linesOf(source);
    const auto out = fuzz::linesOf(drawing);
    fuzz::require(out.size() == 18 + 28 * in.size() + 4, "one POINT and one TEXT a line");
    fuzz::require(out[17] == "ENTITIES" && out.back() == "EOF", "the drawing's frame");
    for (std::size_t k = 0; k < in.size(); ++k) {
        std::string_view rest = in[k];
        const auto name = trimControlsAndBlanks(fieldOf(rest));
        const auto X = trimControlsAndBlanks(fieldOf(rest));
        const auto Y = trimControlsAndBlanks(fieldOf(rest));
        const std::size_t at = 18 + 28 * k;
        fuzz::require(out[at + 1] == "POINT" && out[at + 13] == "TEXT", "entities in order");
        fuzz::require(out[at + 7] == written(X), "X unchanged");
        fuzz::require(out[at + 9] == written(Y), "Y unchanged");
        fuzz::require(out[at + 11] == written(rest), "Z unchanged");
        fuzz::require(out[at + 27] == drawingText(name).bytes,
                      "the label is the name, in Windows-1252 where it was UTF-8");
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
    const Outcome one = exportOf(source, unchanged);
    SharedProcessa shared(identity, datums, engine, fuzz::pointFormat(), 2);
    fuzz::require(one == exportOf(source, PointBatch(shared)),
                  "the points handed over in blocks give the same drawing");

    std::optional<std::string> firstProblem;
    const auto checked = checkPoints(source, unchanged, [&](const LineProblem& problem) {
        if (!firstProblem && !problem.message.empty()) firstProblem = problem.message;
    });
    fuzz::require(firstProblem == one.error, "the check reports the line the export stops at");

    if (!one.error) {
        // A byte-order mark is no part of the first line.
        const std::string_view lines = withoutByteOrderMark(source);
        fuzz::require(one.summary.lines == lineCount(lines), "every line counted");
        fuzz::require(one.summary.points == one.summary.lines, "a point a line");
        fuzz::require(checked.points == one.summary.points, "the check sees every point");
        fuzz::require(fuzz::everyLineEndsInCrLf(one.text), "CR LF line ends");
        requirePointsOfLines(lines, one.text);
    }
    return 0;
}
