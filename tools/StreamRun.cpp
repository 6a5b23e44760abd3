#include "tools/StreamRun.h"

#include "transform/files/EnginePool.h"
#include "transform/text/NumberText.h"
#include "transform/text/TextLines.h"
#include "transform/text/Trim.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace {

// Input taken per engine and batch: large enough that starting a task costs nothing beside it.
constexpr std::size_t kBlockBytes = 1u << 20;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The values of a line: separated by blanks, or by one ";" or "," with blanks around it.
// Returns the number of fields found, 4 standing for more than three.
std::size_t splitFields(std::string_view line, std::array<std::string_view, 3>& fields)
{
    std::size_t count = 0;
    std::size_t i = 0;
    const std::size_t n = line.size();
    for (;;) {
        const std::size_t start = i;
        while (i < n && !isBlank(line[i]) && line[i] != ';' && line[i] != ',') ++i;
        if (count == fields.size()) return count + 1;
        fields[count++] = line.substr(start, i - start);
        while (i < n && isBlank(line[i])) ++i;
        if (i < n && (line[i] == ';' || line[i] == ',')) {
            ++i;
            while (i < n && isBlank(line[i])) ++i;
            continue;  // a field must follow, even an empty one
        }
        if (i == n) return count;
    }
}

std::string lineMessage(std::size_t number, std::string_view line, const std::string& reason)
{
    return "line " + std::to_string(number) + " \"" + std::string(line.substr(0, 100)) +
           (line.size() > 100 ? "..." : "") + "\": " + reason;
}

// Whole lines of the input and the number of the first.
struct Block {
    std::string_view text;
    std::size_t firstLine = 1;
};

struct BlockResult {
    std::string out;
    StreamSummary summary;
    std::optional<std::string> error;  // the line that stopped the run; `out` holds those before
};

class LineRunner {
public:
    LineRunner(BlockResult& result, Processa& processa, const StreamOutput& output)
        : r_(result), processa_(processa), output_(output)
    {
    }

    // False when the line stops the run.
    bool line(std::string_view text, std::size_t number)
    {
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        const std::string_view content = trimBlanks(text);
        if (content.empty() || content.front() == '#') {
            r_.out.append(text);
            r_.out.push_back('\n');
            return true;
        }
        std::array<std::string_view, 3> fields;
        const std::size_t count = splitFields(content, fields);
        if (count != 3) {
            r_.error = lineMessage(number, text,
                                   count > 3 ? "expected three values X Y Z, found more"
                                             : "expected three values X Y Z, found " +
                                                   std::to_string(count));
            return false;
        }
        std::array<long double, 3> v{};
        try {
            for (std::size_t i = 0; i < 3; ++i) v[i] = readFloat(fields[i], NumberFormat::file());
        } catch (const ConversionError& e) {
            r_.error = lineMessage(number, text, e.what());
            return false;
        }
        ProcessaResult p;
        try {
            p = processa_(v[0], v[1], v[2]);
        } catch (const std::runtime_error& e) {  // a window box or a selection
            r_.error = lineMessage(number, text, std::string("cannot transform: ") + e.what());
            return false;
        }
        StreamSummary& s = r_.summary;
        ++s.points;
        if (p.status.datum == GeoStatus::OutsideGrid) ++s.outsideGrid;
        if (const std::int32_t error = p.status.firstError(); error != 0 && s.rejected++ == 0) {
            s.firstRejectedLine = number;
            s.firstRejectedCode = error;
        }
        appendChosen(r_.out, p.X, output_.decimals);
        r_.out.push_back(' ');
        appendChosen(r_.out, p.Y, output_.decimals);
        r_.out.push_back(' ');
        appendChosen(r_.out, p.Z, output_.decimals);
        if (output_.withStatus) r_.out.append(" ").append(std::to_string(p.status.first()));
        r_.out.push_back('\n');
        return true;
    }

private:
    BlockResult& r_;
    Processa& processa_;
    const StreamOutput& output_;
};

void runBlock(const Block& block, Processa& processa, const StreamOutput& output,
              BlockResult& result)
{
    result.out.clear();
    // A grid line of 30 bytes comes out as 52 in degrees; room for twice the input spares most
    // blocks a copy of their output as it grows.
    result.out.reserve(2 * block.text.size());
    result.summary = {};
    result.error.reset();
    LineRunner runner(result, processa, output);
    std::string_view rest = block.text;
    std::size_t number = block.firstLine;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        if (!runner.line(line, number++)) break;
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
}

// Splits whole lines into up to `parts` blocks at line ends, numbering their first lines.
std::vector<Block> blocksOf(std::string_view lines, std::size_t parts, std::size_t& nextLine)
{
    std::vector<Block> blocks;
    std::size_t start = 0;
    for (std::size_t i = 1; i <= parts && start < lines.size(); ++i) {
        std::size_t end = lines.size();
        if (i < parts) {
            const std::size_t cut = lines.find('\n', std::max(start, lines.size() * i / parts));
            if (cut != std::string_view::npos) end = cut + 1;
        }
        const std::string_view text = lines.substr(start, end - start);
        blocks.push_back({text, nextLine});
        nextLine += static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        if (!text.empty() && text.back() != '\n') ++nextLine;
        start = end;
    }
    return blocks;
}

// The input in batches of whole lines; the last line of the input may lack its line end.
class BatchReader {
public:
    BatchReader(std::FILE* in, std::size_t size) : in_(in), size_(size) {}

    // Empty at the end of the input. Only the unfinished line after the batch is copied. The
    // text of a batch done with, given back as `spare`, holds the next one: a new buffer of
    // megabytes costs a page fault every few kilobytes as it is first written.
    std::string next(std::string spare)
    {
        while (pending_.size() < size_ && !atEnd_) {
            const std::size_t had = pending_.size();
            pending_.resize(had + kBlockBytes);
            const std::size_t got = std::fread(pending_.data() + had, 1, kBlockBytes, in_);
            pending_.resize(had + got);
            if (got == 0) atEnd_ = true;
        }
        if (std::ferror(in_)) throw StreamError("cannot read the standard input");
        const std::size_t lastEnd = pending_.rfind('\n');
        std::size_t whole = atEnd_ ? pending_.size() : lastEnd + 1;
        if (!atEnd_ && lastEnd == std::string::npos) whole = 0;
        if (whole == 0 && !atEnd_) return next(std::move(spare));  // one line longer than a batch
        spare.assign(pending_, whole);
        pending_.resize(whole);
        std::swap(pending_, spare);
        pending_.reserve(size_ + kBlockBytes);
        return spare;
    }

private:
    std::FILE* in_;
    std::size_t size_;
    std::string pending_;
    bool atEnd_ = false;
};

// One batch under way on the pool: many blocks an engine, each engine taking the next block not
// yet taken, so that no engine waits for another's slower block. Its text and results are kept
// for the next batch, to spare their memory being taken again.
class BatchRun {
public:
    BatchRun(EnginePool& pool, const StreamOutput& output) : pool_(pool), output_(output) {}
    BatchRun(const BatchRun&) = delete;
    BatchRun& operator=(const BatchRun&) = delete;
    ~BatchRun()
    {
        try {
            pool_.wait();
        } catch (...) {  // NOLINT(bugprone-empty-catch): an earlier error is on its way
        }
    }

    void start(std::string input, std::size_t& nextLine)
    {
        text_ = std::move(input);
        blocks_ = blocksOf(text_, pool_.engines() * 16, nextLine);
        if (results_.size() < blocks_.size()) results_.resize(blocks_.size());
        pool_.start(blocks_.size(), [this](std::size_t i, Processa& processa) {
            runBlock(blocks_[i], processa, output_, results_[i]);
        });
        underWay_ = true;
    }
    bool underWay() const { return underWay_; }
    // The text of a finished batch, for the reader to fill again.
    std::string takeText() { return std::move(text_); }

    // The results of the batch, in order; the batch is no longer under way.
    std::span<const BlockResult> finished()
    {
        underWay_ = false;
        pool_.wait();
        return std::span<const BlockResult>(results_).first(blocks_.size());
    }

private:
    EnginePool& pool_;
    const StreamOutput& output_;
    std::string text_;
    std::vector<Block> blocks_;
    std::vector<BlockResult> results_;
    bool underWay_ = false;
};

}  // namespace

StreamSummary runStream(std::FILE* in, std::FILE* out, const WindowState& state,
                        const std::vector<TDatum>& datums, const NumberFormat& user,
                        const StreamOutput& output, unsigned threads)
{
    EnginePool pool(state, datums, user, std::max(1u, threads));

    // While the pool transforms one batch, this thread writes the one before and reads the one
    // after.
    StreamSummary total;
    std::size_t nextLine = 1;
    BatchReader reader(in, pool.engines() * kBlockBytes);
    BatchRun runs[2] = {BatchRun(pool, output), BatchRun(pool, output)};
    BatchRun* current = &runs[0];
    BatchRun* following = &runs[1];
    std::string first = reader.next({});
    // A byte-order mark is no part of the first line.
    eraseByteOrderMark(first);
    if (!first.empty()) current->start(std::move(first), nextLine);
    while (current->underWay()) {
        std::string text = reader.next(following->takeText());
        const std::span<const BlockResult> results = current->finished();
        if (!text.empty()) following->start(std::move(text), nextLine);
        for (const BlockResult& r : results) {
            std::fwrite(r.out.data(), 1, r.out.size(), out);
            total.points += r.summary.points;
            if (r.summary.rejected > 0 && total.rejected == 0) {
                total.firstRejectedLine = r.summary.firstRejectedLine;
                total.firstRejectedCode = r.summary.firstRejectedCode;
            }
            total.rejected += r.summary.rejected;
            total.outsideGrid += r.summary.outsideGrid;
            if (r.error) {
                std::fflush(out);
                if (following->underWay()) following->finished();
                throw StreamError(*r.error);
            }
        }
        std::swap(current, following);
    }
    std::fflush(out);
    return total;
}
