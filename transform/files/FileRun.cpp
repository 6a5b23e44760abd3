#include "transform/files/FileRun.h"

#include "transform/text/NumberText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <unistd.h>
#include <utility>

PointBatch oneByOne(const PointTransform& transform)
{
    return [transform](const std::vector<PointIn>& in, std::vector<TransformedPoint>& out) {
        for (std::size_t i = 0; i < in.size(); ++i) out[i] = transform(in[i].X, in[i].Y, in[i].Z);
    };
}

namespace {

// A block read and not yet written: its points, their results, and how its read ended.
struct WalkBlock {
    std::vector<PointIn> in;
    std::vector<TransformedPoint> out;
    bool more = true;
    std::exception_ptr stop;   // what ended the read early
    bool stopAtValue = false;  // a value that is no number: the points before it go through

    void readFrom(BlockSource& source, std::size_t blockSize)
    {
        in.clear();
        stop = nullptr;
        stopAtValue = false;
        try {
            more = source.read(in, blockSize);
        } catch (const ConversionError&) {
            stop = std::current_exception();
            stopAtValue = true;
        } catch (...) {
            stop = std::current_exception();
        }
        out.resize(in.size());
    }
};

// The block a BlockTransform has under way. One still under way when an error leaves is waited
// for, its own error dropped: an earlier one is on its way.
class BlockUnderWay {
public:
    explicit BlockUnderWay(BlockTransform& transform) : transform_(transform) {}
    ~BlockUnderWay()
    {
        if (!underWay_) return;
        try {
            transform_.finish();
        } catch (...) {  // NOLINT(bugprone-empty-catch): a later error than the one leaving
        }
    }
    BlockUnderWay(const BlockUnderWay&) = delete;
    BlockUnderWay& operator=(const BlockUnderWay&) = delete;

    void start(WalkBlock& block)
    {
        if (block.in.empty()) return;
        transform_.start(block.in, block.out);
        underWay_ = true;
    }
    void finish()
    {
        if (!std::exchange(underWay_, false)) return;
        transform_.finish();
    }

private:
    BlockTransform& transform_;
    bool underWay_ = false;
};

void walkBlockAfterBlock(BlockSource& source, const PointBatch& batch, std::size_t blockSize)
{
    WalkBlock block;
    for (;;) {
        block.readFrom(source, blockSize);
        if (block.stop && !block.stopAtValue) std::rethrow_exception(block.stop);
        if (!block.in.empty()) batch(block.in, block.out);
        if (block.stop) std::rethrow_exception(block.stop);
        if (!block.more) return;
        source.write(block.out);
    }
}

}  // namespace

void walkInBlocks(BlockSource& source, const PointBatch& batch, std::size_t blockSize)
{
    // A transformation in this thread leaves nothing to overlap.
    if (batch.elsewhere() == nullptr || !source.readsAhead()) {
        walkBlockAfterBlock(source, batch, blockSize);
        return;
    }
    // While one block is transformed, the one before it is written and the one after it read.
    WalkBlock blocks[2];
    WalkBlock* current = &blocks[0];
    WalkBlock* next = &blocks[1];
    BlockUnderWay underWay(*batch.elsewhere());
    current->readFrom(source, blockSize);
    if (current->stop && !current->stopAtValue) std::rethrow_exception(current->stop);
    underWay.start(*current);
    for (;;) {
        if (!current->stop && current->more) next->readFrom(source, blockSize);
        underWay.finish();
        if (current->stop) std::rethrow_exception(current->stop);
        if (!current->more) return;
        if (!next->stop || next->stopAtValue) underWay.start(*next);
        source.write(current->out);
        if (next->stop && !next->stopAtValue) std::rethrow_exception(next->stop);
        std::swap(current, next);
    }
}

std::size_t lineCount(std::string_view text)
{
    const auto breaks = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    return breaks + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

namespace {

// A source with no size known in advance: "-" for standard input, a pipe, a device. Read to its
// end, a megabyte at a time, and refused once it passes `largest`.
template <typename Refusal>
std::string readStream(const std::filesystem::path& source, std::uintmax_t largest,
                       const Refusal& refuse)
{
    std::FILE* stream =
        source == "-" ? ::fdopen(::dup(STDIN_FILENO), "rb") : std::fopen(source.c_str(), "rb");
    if (stream == nullptr) throw refuse(std::strerror(errno));
    std::string text;
    std::string chunk(std::size_t{1} << 20, '\0');
    std::size_t got = 0;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), stream)) > 0) {
        text.append(chunk, 0, got);
        if (text.size() > largest) break;
    }
    const bool failed = std::ferror(stream) != 0;
    std::fclose(stream);
    if (failed) throw refuse("a read error");
    if (text.size() > largest)
        throw refuse("it holds more than " + std::to_string(largest >> 20) +
                     " MB; a file run reads at most that");
    return text;
}

}  // namespace

std::string readSource(const std::filesystem::path& source, std::uintmax_t largest)
{
    const auto refuse = [&source](const std::string& reason) {
        return FileRunError("Cannot open file " + source.string() + " (" + reason + ")");
    };
    std::error_code error;
    const auto status = std::filesystem::status(source, error);
    if (std::filesystem::is_directory(status)) throw refuse("it is a folder");
    if (source == "-" ||
        (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)))
        return readStream(source, largest, refuse);
    const std::uintmax_t bytes = std::filesystem::file_size(source, error);
    if (!error && bytes > largest)
        throw refuse("it holds " + std::to_string(bytes >> 20) + " MB; a file run reads at most " +
                     std::to_string(largest >> 20) + " MB");
    std::ifstream in(source, std::ios::binary | std::ios::ate);
    if (!in) throw refuse(std::strerror(errno));
    const auto size = in.tellg();
    in.seekg(0);
    std::string text;
    if (size > 0) {
        text.resize(static_cast<std::size_t>(size));
        in.read(text.data(), size);
        // A file that shrank while it was read is not the file the user chose.
        if (in.gcount() != size) throw refuse("it changed while it was read");
    }
    if (in.bad()) throw refuse("a read error");
    return text;
}

ProgressReport::ProgressReport(const Progress& progress, std::size_t lineCount)
    : progress_(progress), count_(lineCount), step_(std::max<std::size_t>(1, lineCount / 200))
{
}

void ProgressReport::report(std::size_t nextLine)
{
    nextReport_ = nextLine + step_;
    if (progress_) progress_(std::min(nextLine, count_), count_);
}

FileRunSummary runOnFiles(
    const std::filesystem::path& source, const std::filesystem::path& destination,
    const std::function<FileRunSummary(std::string_view source, LineWriter& out)>& rewrite)
{
    const std::string text = readSource(source);
    AtomicFile file(destination);
    LineWriter out([&file](std::string_view bytes) { file.write(bytes); });
    const FileRunSummary summary = rewrite(text, out);
    out.flush();
    file.commit();
    return summary;
}

long double ValueReader::operator()(std::string_view text, std::size_t lineNumber)
{
    // After the first bad value of a point its others are not read: a run stops at the first.
    if (failed) return 0;
    try {
        return readFloat(text, NumberFormat::file());
    } catch (const ConversionError& error) {
        const std::string message =
            std::string(error.what()) + " (line " + std::to_string(lineNumber) + ")";
        if (!check_) throw ConversionError(message);
        failed = true;
        ++summary_.problems;
        check_({lineNumber, 0, message, {}});
        return 0;
    }
}
