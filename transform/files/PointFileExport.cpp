#include "transform/files/PointFileExport.h"

#include "transform/text/NumberText.h"
#include "transform/text/TextLines.h"
#include "transform/text/Trim.h"
#include "transform/text/Windows1252.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace {

struct PointLine {
    std::string_view name;
    long double X, Y, Z;
};

// The text up to the next ";", taken off the front of `rest`; all of it when there is none.
std::string_view nextField(std::string_view& rest)
{
    const auto cut = rest.find(';');
    const std::string_view field = rest.substr(0, cut);
    rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
    return field;
}

// Cut at the first three ";": the name, X and Y lose their outer blanks; Z is the rest of the
// line, read as it stands, so a fourth field or a tab after it is an error. Missing fields are
// empty and fail as numbers.
PointLine readPointLine(std::string_view line, std::size_t lineNumber, ValueReader& number)
{
    std::string_view rest = line;
    const std::string_view name = trimControlsAndBlanks(nextField(rest));
    const long double X = number(trimControlsAndBlanks(nextField(rest)), lineNumber);
    const long double Y = number(trimControlsAndBlanks(nextField(rest)), lineNumber);
    return {name, X, Y, number(rest, lineNumber)};
}

// What a point run writes around and for its points.
class PointForm {
public:
    virtual ~PointForm() = default;
    virtual void opening(LineWriter& out) const = 0;
    // Writes one point; what it had to change in the name is counted in `summary`.
    virtual void point(LineWriter& out, std::string_view name, const TransformedPoint& transformed,
                       FileRunSummary& summary) const = 0;
    virtual void closing(LineWriter& out) const = 0;
};

constexpr std::array<std::string_view, 18> kOpeningBlock{"  0", "SECTION", "  2", "HEADER",
                                                         "  9", "$PDMODE", " 70", "    33",
                                                         "  9", "$PDSIZE", " 40", "1.5",
                                                         "  0", "ENDSEC",  "  0", "SECTION",
                                                         "  2", "ENTITIES"};
constexpr std::array<std::string_view, 4> kClosingBlock{"  0", "ENDSEC", "  0", "EOF"};

template <std::size_t N>
void writeLines(LineWriter& out, const std::array<std::string_view, N>& lines)
{
    for (const auto line : lines) out.line(line);
}

std::string fileNumber(long double value) { return formatGeneral(value, NumberFormat::file()); }

// A POINT at the point and a TEXT with its name 1.5 units to the right at height 0; every
// point and every label take the same handle. The fixed lines between the values go out in one
// piece each: a point writes nineteen lines, and a million points are common.
class DrawingForm : public PointForm {
public:
    void opening(LineWriter& out) const override { writeLines(out, kOpeningBlock); }
    void closing(LineWriter& out) const override { writeLines(out, kClosingBlock); }

    void point(LineWriter& out, std::string_view name, const TransformedPoint& transformed,
               FileRunSummary& summary) const override
    {
        const DrawingText label = drawingText(name);
        summary.unwritableCharacters += label.replaced;
        const std::string y = fileNumber(transformed.Y);
        out.raw("  0\r\nPOINT\r\n  5\r\n2B\r\n  8\r\n0\r\n 10\r\n");
        out.line(fileNumber(transformed.X));
        out.raw(" 20\r\n");
        out.line(y);
        out.raw(" 30\r\n");
        out.line(fileNumber(transformed.Z));
        out.raw("  0\r\nTEXT\r\n  5\r\n2C\r\n  8\r\n0\r\n 10\r\n");
        out.line(fileNumber(transformed.X + 1.5L));
        out.raw(" 20\r\n");
        out.line(y);
        out.raw(" 30\r\n0.0\r\n 40\r\n1.5\r\n  1\r\n");
        out.line(label.bytes);
    }
};

// The point file's own grammar, so that what a run writes reads back as a point file: the name
// as the reader took it (its bytes, its outer blanks gone), then the values.
class TextForm : public PointForm {
public:
    explicit TextForm(std::optional<int> decimals) : decimals_(decimals) {}

    void opening(LineWriter&) const override {}
    void closing(LineWriter&) const override {}

    void point(LineWriter& out, std::string_view name, const TransformedPoint& transformed,
               FileRunSummary&) const override
    {
        out.raw(name);
        for (const long double value : {transformed.X, transformed.Y}) {
            out.raw(";");
            out.raw(formatChosen(value, decimals_));
        }
        out.raw(";");
        out.line(formatChosen(transformed.Z, decimals_));
    }

private:
    std::optional<int> decimals_;
};

// The point file a block of lines at a time: each line's point read first (a value that is no
// number ends the block there), then the lines written with their transformed points. Outside a
// check a block is read while the one before it waits to be written, so two are kept.
class PointLines : public BlockSource {
public:
    PointLines(std::string_view source, LineWriter& out, const PointForm& form,
               FileRunSummary& summary, ProgressReport& progress, const ProblemReport& check)
        : lines_(source),
          out_(out),
          form_(form),
          summary_(summary),
          progress_(progress),
          check_(check),
          number_(summary, check)
    {
    }

    bool read(std::vector<PointIn>& in, std::size_t blockSize) override
    {
        Block& block = blocks_[reads_++ % blocks_.size()];
        block.first = nextLine_;
        block.texts.clear();
        block.points.clear();
        block.readable.clear();
        while (nextLine_ < summary_.lines && in.size() < blockSize) {
            const std::string_view line = lines_.next();
            block.texts.push_back(line);
            number_.failed = false;
            block.points.push_back(readPointLine(line, ++nextLine_, number_));
            block.readable.push_back(!number_.failed);
            if (!number_.failed)
                in.push_back({block.points.back().X, block.points.back().Y, block.points.back().Z});
        }
        return !block.texts.empty();
    }

    void write(const std::vector<TransformedPoint>& transformed) override
    {
        const Block& block = blocks_[writes_++ % blocks_.size()];
        std::size_t done = 0;
        for (std::size_t k = 0; k < block.texts.size(); ++k) {
            const std::size_t lineNumber = block.first + k + 1;
            if (block.readable[k]) {
                const TransformedPoint& result = transformed[done++];
                const std::string_view text = block.texts[k];
                summary_.count(result, lineNumber, check_, [text] { return std::string(text); });
                form_.point(out_, block.points[k].name, result, summary_);
            }
            progress_.at(lineNumber);
        }
    }

    bool readsAhead() const override { return !check_; }

private:
    struct Block {
        std::size_t first = 0;  // the index of its first line
        std::vector<std::string_view> texts;
        std::vector<PointLine> points;
        std::vector<bool> readable;
    };

    TextLines lines_;
    LineWriter& out_;
    const PointForm& form_;
    FileRunSummary& summary_;
    ProgressReport& progress_;
    const ProblemReport& check_;
    ValueReader number_;
    std::size_t nextLine_ = 0;  // the index of the next line to read
    std::array<Block, 2> blocks_;
    std::size_t reads_ = 0, writes_ = 0;
};

FileRunSummary walkPoints(std::string_view source, LineWriter& out, const PointForm& form,
                          const PointBatch& batch, std::size_t blockSize, const Progress& progress,
                          const ProblemReport& check)
{
    // A byte-order mark is no part of the first point's name.
    source = withoutByteOrderMark(source);
    FileRunSummary summary;
    summary.lines = lineCount(source);
    ProgressReport report(progress, summary.lines);
    report.at(0);
    form.opening(out);
    PointLines lines(source, out, form, summary, report, check);
    walkInBlocks(lines, batch, blockSize);
    form.closing(out);
    report.finish();
    return summary;
}

}  // namespace

FileRunSummary exportPoints(std::string_view source, LineWriter& out, const PointBatch& batch,
                            const Progress& progress)
{
    return walkPoints(source, out, DrawingForm{}, batch, kPointBlock, progress, {});
}

FileRunSummary exportPoints(std::string_view source, LineWriter& out,
                            const PointTransform& transform, const Progress& progress)
{
    return exportPoints(source, out, oneByOne(transform), progress);
}

FileRunSummary exportPointText(std::string_view source, LineWriter& out, const PointBatch& batch,
                               std::optional<int> decimals, const Progress& progress)
{
    return walkPoints(source, out, TextForm(decimals), batch, kPointBlock, progress, {});
}

FileRunSummary exportPointText(std::string_view source, LineWriter& out,
                               const PointTransform& transform, std::optional<int> decimals,
                               const Progress& progress)
{
    return exportPointText(source, out, oneByOne(transform), decimals, progress);
}

// One point a block, so that the problems are reported in the order of the lines.
FileRunSummary checkPoints(std::string_view source, const PointTransform& transform,
                           const ProblemReport& check, const Progress& progress)
{
    LineWriter nowhere = LineWriter::discarding();
    return walkPoints(source, nowhere, DrawingForm{}, oneByOne(transform), 1, progress, check);
}

FileRunSummary ExportaDXF(const std::filesystem::path& source,
                          const std::filesystem::path& destination, const PointBatch& batch,
                          const Progress& progress)
{
    return runOnFiles(source, destination, [&](std::string_view text, LineWriter& out) {
        return exportPoints(text, out, batch, progress);
    });
}

FileRunSummary ExportaDXF(const std::filesystem::path& source,
                          const std::filesystem::path& destination, const PointTransform& transform,
                          const Progress& progress)
{
    return ExportaDXF(source, destination, oneByOne(transform), progress);
}

FileRunSummary ExportaTexto(const std::filesystem::path& source,
                            const std::filesystem::path& destination, const PointBatch& batch,
                            std::optional<int> decimals, const Progress& progress)
{
    return runOnFiles(source, destination, [&](std::string_view text, LineWriter& out) {
        return exportPointText(text, out, batch, decimals, progress);
    });
}
