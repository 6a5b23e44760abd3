// What the two whole-file transformations share: the source held in memory, the destination
// written through a bounded buffer into a file that replaces the old one only at the end, the
// progress report, the per-point transformation they call, and the summary of a run.
#pragma once

#include "transform/files/AtomicFile.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// A run that cannot start or go on for a reason other than a number: a source that cannot be
// read, a drawing in the binary form.
class FileRunError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One point through the transformation. `rejectedBy` is the first error status among its
// stages, 0 when none rejected it; a rejected point is written all the same. `outsideGrid`: the
// datum's grid did not hold the point, which its shift carried instead.
struct TransformedPoint {
    long double X = 0, Y = 0, Z = 0;
    int rejectedBy = 0;
    bool outsideGrid = false;
    bool rejected() const { return rejectedBy != 0; }
};
using PointTransform = std::function<TransformedPoint(long double X, long double Y, long double Z)>;

// A block of points at once, in order, `out` as long as `in`: the runs hand their points over in
// blocks so that a transformation may share a block among several engines.
struct PointIn {
    long double X = 0, Y = 0, Z = 0;
};

// A transformation of blocks on other threads: start() hands a block over and returns at once,
// so that the run reads the next block meanwhile; finish() waits for it and throws what it threw
// (the error of its earliest point). `in` and `out` stay untouched by the caller in between.
class BlockTransform {
public:
    virtual ~BlockTransform() = default;
    virtual void start(const std::vector<PointIn>& in, std::vector<TransformedPoint>& out) = 0;
    virtual void finish() = 0;
};

using BlockFunctionType =
    std::function<void(const std::vector<PointIn>& in, std::vector<TransformedPoint>& out)>;
// A callable that transforms a block, and is no BlockTransform (which goes by reference).
template <typename F>
concept BlockFunction =
    std::is_constructible_v<BlockFunctionType, F> && !std::is_base_of_v<BlockTransform, F>;

// What the runs transform their blocks with: a function that does a block when called, or a
// BlockTransform working beside the run.
class PointBatch {
public:
    using Function = BlockFunctionType;

    template <BlockFunction F>
    PointBatch(F function) : function_(std::move(function))
    {
    }
    PointBatch(BlockTransform& transform) : elsewhere_(&transform) {}

    // The whole block, before returning.
    void operator()(const std::vector<PointIn>& in, std::vector<TransformedPoint>& out) const
    {
        if (elsewhere_ != nullptr) {
            elsewhere_->start(in, out);
            elsewhere_->finish();
        } else {
            function_(in, out);
        }
    }
    BlockTransform* elsewhere() const { return elsewhere_; }

private:
    Function function_;
    BlockTransform* elsewhere_ = nullptr;
};

// The block one point after the other through `transform`.
PointBatch oneByOne(const PointTransform& transform);
// The number of points the runs hand over at once.
inline constexpr std::size_t kPointBlock = 8192;
// A source walked a block of points at a time: read on until the block holds enough points,
// transform them together, write what was read. Both whole-file transformations are such
// sources; walkInBlocks is their one loop.
class BlockSource {
public:
    virtual ~BlockSource() = default;
    // Reads on from where the last block ended, appending the points to transform to `in`,
    // until it holds `blockSize` of them or the source ends; false once nothing was left to read.
    // A value that is no number throws ConversionError, the points before it already in `in`.
    virtual bool read(std::vector<PointIn>& in, std::size_t blockSize) = 0;
    // Writes what the oldest read not yet written covered; `out` holds its points transformed,
    // in order.
    virtual void write(const std::vector<TransformedPoint>& out) = 0;
    // Whether a block may be read before the one before it is written, so that reading overlaps
    // the transformation: false where the order of the lines' reports forbids it (a check).
    virtual bool readsAhead() const = 0;
};

// Reads, transforms and writes blocks to the end of the source. When a read stops at a value
// that is no number, the points before it go through first and then the error leaves, as it
// would one point at a time: a run stops with the same error however its points are handed
// over (a window box that is no number is met at the first point, before any bad value). With a
// BlockTransform, a source that reads ahead is read one block ahead of the transformation, and
// a block is handed over before the one before it is written; what it writes and the error it
// stops with stay those of one block after the other.
void walkInBlocks(BlockSource& source, const PointBatch& batch, std::size_t blockSize);

// Called with (index of the next unread line, number of lines), not more often than the bar
// can move, and once more at the end with both equal.
using Progress = std::function<void(std::size_t nextLine, std::size_t lineCount)>;

// A line that would stop a run (`message` says why, with the text and the line number) or
// whose point a stage would reject (`rejectedBy` its status, `values` the point's texts as the
// file holds them, `message` empty).
struct LineProblem {
    std::size_t line = 0;
    int rejectedBy = 0;
    std::string message;
    std::string values;
};
// Given to a run that checks a source instead of transforming it: the run then goes on past
// every problem, writes nothing, and reports each problem here in the order of the lines.
using ProblemReport = std::function<void(const LineProblem&)>;

struct FileRunSummary {
    std::size_t lines = 0;                 // lines of the source
    std::size_t points = 0;                // points transformed
    std::size_t rejected = 0;              // of which some stage reported an error
    std::size_t firstRejectedLine = 0;     // the source line (from 1) of the first, 0 if none
    std::size_t problems = 0;              // lines reported by a check
    std::size_t keptInSourceUnits = 0;     // vectors, sizes and angles left as they were, a side
                                           // being in degrees
    std::size_t unknownEntities = 0;       // entities of kinds the rewrite does not know, carried
                                           // by the rule that every group 10 to 18 is a position
    std::size_t unwritableCharacters = 0;  // of point names, which the drawing's Windows-1252
                                           // cannot hold: written as "?"
    std::size_t outsideGrid = 0;           // points the datum's grid did not hold, shifted by
                                           // the datum's parameters instead

    // Counts a transformed point whose stages began at `line`, and reports it to a check when
    // it was rejected; `values` gives the check the point's texts.
    template <typename Values>
    void count(const TransformedPoint& point, std::size_t line, const ProblemReport& check,
               const Values& values)
    {
        ++points;
        if (point.outsideGrid) ++outsideGrid;
        if (!point.rejected()) return;
        if (rejected++ == 0) firstRejectedLine = line;
        if (check) {
            ++problems;
            check({line, point.rejectedBy, {}, values()});
        }
    }
};

// Reads the value lines of a run: a text that is no number throws ConversionError with its line
// number, or, in a check, is reported and read as 0, and `failed` tells the caller to skip the
// point. The caller clears `failed` at each point; one report a point.
class ValueReader {
public:
    ValueReader(FileRunSummary& summary, const ProblemReport& check)
        : summary_(summary), check_(check)
    {
    }

    long double operator()(std::string_view text, std::size_t lineNumber);
    bool failed = false;

private:
    FileRunSummary& summary_;
    const ProblemReport& check_;
};

// The number of lines as the runs walk them: a line break at the very end opens no line.
std::size_t lineCount(std::string_view text);

// The largest source a run reads. A run holds the whole source in memory; a gigabyte is five
// times the largest drawings met in practice, and refusing beyond it at once is better than
// taking minutes and the machine's memory before failing.
inline constexpr std::uintmax_t kLargestSource = std::uintmax_t{1} << 30;

// The whole source, read before the destination is touched so that the two may be one file.
// Throws FileRunError "Cannot open file <path>" (with the system's reason) when it cannot, and
// when it holds more than `largest` bytes, without reading it. "-" is standard input; it and
// other sources without a size (pipes, devices) are read to their end.
std::string readSource(const std::filesystem::path& source,
                       std::uintmax_t largest = kLargestSource);

// The destination's lines, each ended with CR LF, gathered in a buffer that goes to `sink`
// whenever it passes a megabyte, so the run's memory stays bounded whatever the file's size.
class LineWriter {
public:
    using Sink = std::function<void(std::string_view)>;
    // Without a sink everything stays in text(), for the runs that work in memory.
    explicit LineWriter(Sink sink = {}) : sink_(std::move(sink)) {}
    // A writer that keeps nothing, for a check.
    static LineWriter discarding()
    {
        return LineWriter([](std::string_view) {});
    }

    void line(std::string_view text)
    {
        buffer_.append(text);
        raw("\r\n");
    }
    // Text that already holds its line ends.
    void raw(std::string_view bytes)
    {
        buffer_.append(bytes);
        if (sink_ && buffer_.size() >= kFlushSize) flush();
    }
    void flush()
    {
        if (sink_) {
            sink_(buffer_);
            buffer_.clear();
        }
    }
    const std::string& text() const { return buffer_; }

private:
    static constexpr std::size_t kFlushSize = 1u << 20;
    Sink sink_;
    std::string buffer_;
};

// Reports progress only when the position has moved by a two-hundredth of the whole, so a run
// of millions of lines pays a comparison per step, not a call.
class ProgressReport {
public:
    ProgressReport(const Progress& progress, std::size_t lineCount);
    void at(std::size_t nextLine)
    {
        if (nextLine >= nextReport_) report(nextLine);
    }
    void finish() { report(count_); }

private:
    void report(std::size_t nextLine);

    const Progress& progress_;
    std::size_t count_;
    std::size_t step_;
    std::size_t nextReport_ = 0;
};

// A file run from a source file into a destination file: reads the source, runs `rewrite` on
// it with a writer bound to a temporary file beside the destination, and puts that file in the
// destination's place only when `rewrite` returned. Any exception leaves the destination as it
// was and removes the temporary file.
FileRunSummary runOnFiles(
    const std::filesystem::path& source, const std::filesystem::path& destination,
    const std::function<FileRunSummary(std::string_view source, LineWriter& out)>& rewrite);
