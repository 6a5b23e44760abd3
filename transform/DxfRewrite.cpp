#include "DxfRewrite.h"

#include "NumberText.h"
#include "TextLines.h"

#include <array>
#include <exception>
#include <optional>

namespace {

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view withoutTrailingBlanks(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

// A group code line's value, blanks around it ignored (writers align codes to the right or to
// the left); nothing for a line that holds no integer of at most four digits, which is then no
// code this rewrite acts on.
std::optional<int> groupCode(std::string_view line) {
    const std::string_view digits = trimBlanks(line);
    if (digits.empty() || digits.size() > 4)
        return std::nullopt;
    int code = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        code = code * 10 + (c - '0');
    }
    return code;
}

bool isCode(std::string_view line, int code) { return groupCode(line) == code; }

bool isCoordinateCode(std::string_view line) {
    const auto code = groupCode(line);
    return code && *code >= 10 && *code <= 19;
}

bool isValue(std::string_view line, std::string_view value) { return trimBlanks(line) == value; }

// The drawing's lines with a few lines of look-ahead, taken from the buffer as views; reading
// beyond the last line gives empty text.
class PairCursor {
public:
    explicit PairCursor(std::string_view text) : lines(text) {}

    std::string_view line(std::size_t ahead) {
        while (filled <= ahead) {
            window[(first + filled) % window.size()] = lines.next();
            ++filled;
        }
        return window[(first + ahead) % window.size()];
    }
    // The index of line(0) in the drawing, from 0.
    std::size_t index() const { return position; }
    void advance(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            if (filled > 0) {
                first = (first + 1) % window.size();
                --filled;
            } else {
                lines.next();
            }
        }
        position += count;
    }

private:
    TextLines lines;
    std::array<std::string_view, 8> window{};
    std::size_t first = 0;
    std::size_t filled = 0;
    std::size_t position = 0;
};

constexpr std::array<std::string_view, 6> zeroPoint{" 10", "0.0", " 20", "0.0", " 30", "0.0"};

void writeZeroPoint(LineWriter& out) {
    for (const auto line : zeroPoint)
        out.line(line);
}

// The binary form opens with a fixed sentinel line that ends "Binary DXF", CR LF, SUB, NUL.
bool isBinaryDrawing(std::string_view source) {
    constexpr std::string_view tail{"Binary DXF\r\n\x1A\0", 14};
    const auto head = source.substr(0, 22);
    return head.size() == 22 && head.substr(8) == tail;
}

struct InsertionBase {
    long double X = 0, Y = 0, Z = 0;
};

// Everything before the entity section is copied, but for the insertion base, which is read
// and written as zero, and the user coordinate system's origin, dropped and written as zero.
// Returns with the cursor after the pair that opens the entity section, or at the end.
InsertionBase copyUpToEntities(PairCursor& lines, std::size_t count, LineWriter& out,
                               ProgressReport& progress, ValueReader& number) {
    InsertionBase base;
    while (lines.index() < count) {
        const auto code = lines.line(0);
        const auto value = lines.line(1);
        const bool opensEntities = isCode(code, 2) && isValue(value, "ENTITIES");
        out.line(code);
        out.line(value);
        if (isCode(code, 9) && isValue(value, "$INSBASE")) {
            const std::size_t first = lines.index() + 1;  // line numbers from 1
            base.X = number(lines.line(3), first + 3);
            base.Y = number(lines.line(5), first + 5);
            base.Z = number(lines.line(7), first + 7);
            writeZeroPoint(out);
            lines.advance(6);
        } else if (isCode(code, 9) && isValue(value, "$UCSORG")) {
            lines.advance(6);
            writeZeroPoint(out);
        }
        lines.advance(2);
        progress.at(lines.index());
        if (opensEntities)
            break;
    }
    return base;
}

void writeNumber(LineWriter& out, long double value) {
    out.line(formatGeneral(value, NumberFormat::file()));
}

// What the pair at the cursor starts: a pair to copy, or a point. From the entity section on,
// each coordinate group (codes 10 to 19) starts a point: its value is X, the next pair's value
// is Y whatever its code, and a third pair belongs to the point only with code 30 or 31.
struct Item {
    bool point = false;
    bool withZ = false;
    std::size_t lines() const { return !point ? 2 : withZ ? 6 : 4; }
};

Item itemAt(PairCursor& lines) {
    if (!isCoordinateCode(lines.line(0)))
        return {};
    return {true, isCode(lines.line(4), 30) || isCode(lines.line(4), 31)};
}

// The point's values less the insertion base.
PointIn readPoint(PairCursor& lines, const Item& item, const InsertionBase& base,
                  ValueReader& number) {
    const std::size_t first = lines.index() + 1;
    PointIn p;
    p.X = number(lines.line(1), first + 1) - base.X;
    p.Y = number(lines.line(3), first + 3) - base.Y;
    p.Z = item.withZ ? number(lines.line(5), first + 5) - base.Z : 0;
    return p;
}

// The point's code lines without their trailing blanks, each with its transformed value.
void writePoint(PairCursor& lines, const Item& item, const TransformedPoint& point,
                LineWriter& out) {
    out.line(withoutTrailingBlanks(lines.line(0)));
    writeNumber(out, point.X);
    out.line(withoutTrailingBlanks(lines.line(2)));
    writeNumber(out, point.Y);
    if (item.withZ) {
        out.line(withoutTrailingBlanks(lines.line(4)));
        writeNumber(out, point.Z);
    }
}

std::string pointValues(PairCursor& lines, const Item& item) {
    std::string values =
        std::string(trimBlanks(lines.line(1))) + " " + std::string(trimBlanks(lines.line(3)));
    return item.withZ ? values + " " + std::string(trimBlanks(lines.line(5))) : values;
}

// The entity section on, a block of points at a time: the block's values are read first (a
// value that is no number ends the block there), the readable points transformed, and the
// block's lines then written in order. The insertion base is taken off before the
// transformation.
void transformEntities(PairCursor& lines, std::size_t count, const InsertionBase& base,
                       const PointBatch& batch, std::size_t blockSize, LineWriter& out,
                       ProgressReport& progress, FileRunSummary& summary, ValueReader& number,
                       const ProblemReport& check) {
    std::vector<PointIn> in;
    std::vector<TransformedPoint> transformed;
    std::vector<bool> readable;
    while (lines.index() < count) {
        PairCursor scan = lines;
        in.clear();
        readable.clear();
        std::exception_ptr stop;
        try {
            while (scan.index() < count && readable.size() < blockSize) {
                const Item item = itemAt(scan);
                if (item.point) {
                    number.failed = false;
                    const PointIn p = readPoint(scan, item, base, number);
                    readable.push_back(!number.failed);
                    if (!number.failed)
                        in.push_back(p);
                }
                scan.advance(item.lines());
            }
        } catch (const ConversionError&) {
            stop = std::current_exception();
        }
        transformBlock(batch, in, transformed, stop);

        std::size_t point = 0, done = 0;
        while (lines.index() < scan.index()) {
            const Item item = itemAt(lines);
            if (!item.point) {
                out.line(lines.line(0));
                out.line(lines.line(1));
            } else if (readable[point++]) {
                const TransformedPoint& result = transformed[done++];
                summary.count(result, lines.index() + 1, check,
                              [&lines, &item] { return pointValues(lines, item); });
                writePoint(lines, item, result, out);
            }
            lines.advance(item.lines());
            progress.at(lines.index());
        }
    }
}

FileRunSummary walkDrawing(std::string_view source, LineWriter& out, const PointBatch& batch,
                           std::size_t blockSize, const Progress& progress,
                           const ProblemReport& check) {
    if (isBinaryDrawing(source))
        throw FileRunError("The drawing is a binary DXF file; only ASCII DXF drawings can be "
                           "transformed. Save it as ASCII DXF and try again.");
    FileRunSummary summary;
    summary.lines = lineCount(source);
    ProgressReport report(progress, summary.lines);
    report.at(0);
    PairCursor lines(source);
    ValueReader number(summary, check);
    const InsertionBase base = copyUpToEntities(lines, summary.lines, out, report, number);
    transformEntities(lines, summary.lines, base, batch, blockSize, out, report, summary, number,
                      check);
    report.finish();
    return summary;
}

}  // namespace

FileRunSummary rewriteDxf(std::string_view source, LineWriter& out, const PointBatch& batch,
                          const DxfRewriteOptions&, const Progress& progress) {
    return walkDrawing(source, out, batch, pointBlock, progress, {});
}

FileRunSummary rewriteDxf(std::string_view source, LineWriter& out, const PointTransform& transform,
                          const DxfRewriteOptions& options, const Progress& progress) {
    return rewriteDxf(source, out, oneByOne(transform), options, progress);
}

// One point a block, so that the problems are reported in the order of the lines.
FileRunSummary checkDxf(std::string_view source, const PointTransform& transform,
                        const ProblemReport& check, const DxfRewriteOptions&,
                        const Progress& progress) {
    LineWriter nowhere = LineWriter::discarding();
    return walkDrawing(source, nowhere, oneByOne(transform), 1, progress, check);
}

FileRunSummary ConverteDXF(const std::filesystem::path& source,
                           const std::filesystem::path& destination, const PointBatch& batch,
                           const DxfRewriteOptions& options, const Progress& progress) {
    return runOnFiles(source, destination, [&](std::string_view text, LineWriter& out) {
        return rewriteDxf(text, out, batch, options, progress);
    });
}

FileRunSummary ConverteDXF(const std::filesystem::path& source,
                           const std::filesystem::path& destination,
                           const PointTransform& transform, const DxfRewriteOptions& options,
                           const Progress& progress) {
    return ConverteDXF(source, destination, oneByOne(transform), options, progress);
}
