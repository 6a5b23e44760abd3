#include "StreamRun.h"

#include "NumberText.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kChunk = 1u << 20;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view line)
{
    while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
    return line;
}

// The values of a line: separated by blanks, or by one ";" or "," with blanks around it.
// Returns the number of fields found (up to 4, so that a fourth shows as too many).
std::size_t splitFields(std::string_view line, std::array<std::string_view, 4>& fields)
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

class Output {
public:
    explicit Output(std::FILE* file) : file_(file) { buffer_.reserve(kChunk + 256); }
    ~Output() { flush(); }
    void append(std::string_view text) { buffer_.append(text); }
    void push(char c) { buffer_.push_back(c); }
    void endLine()
    {
        buffer_.push_back('\n');
        if (buffer_.size() >= kChunk) flush();
    }
    void flush()
    {
        if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
        buffer_.clear();
        std::fflush(file_);
    }

private:
    std::FILE* file_;
    std::string buffer_;
};

std::string lineMessage(std::size_t number, std::string_view line, const std::string& reason)
{
    return "line " + std::to_string(number) + " \"" + std::string(line.substr(0, 100)) +
           (line.size() > 100 ? "..." : "") + "\": " + reason;
}

class LineRunner {
public:
    LineRunner(Output& out, Processa& processa, bool withStatus)
        : out(out), processa(processa), withStatus(withStatus)
    {
    }

    void line(std::string_view text)
    {
        ++number;
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        const std::string_view content = trimmed(text);
        if (content.empty() || content.front() == '#') {
            out.append(text);
            out.endLine();
            return;
        }
        std::array<std::string_view, 4> fields;
        const std::size_t count = splitFields(content, fields);
        if (count != 3) {
            out.flush();
            throw StreamError(lineMessage(number, text,
                                          count > 3 ? "expected three values X Y Z, found more"
                                                    : "expected three values X Y Z, found " +
                                                          std::to_string(count)));
        }
        std::array<long double, 3> v{};
        try {
            for (std::size_t i = 0; i < 3; ++i) v[i] = readFloat(fields[i], NumberFormat::file());
        } catch (const ConversionError& e) {
            out.flush();
            throw StreamError(lineMessage(number, text, e.what()));
        }
        ProcessaResult r;
        try {
            r = processa(v[0], v[1], v[2]);
        } catch (const std::runtime_error& e) {  // a window box or a selection
            out.flush();
            throw StreamError(lineMessage(number, text, std::string("cannot transform: ") +
                                                            e.what()));
        }
        ++summary.points;
        if (const std::int32_t error = r.status.firstError(); error != 0) {
            if (summary.rejected++ == 0) {
                summary.firstRejectedLine = number;
                summary.firstRejectedCode = error;
            }
        }
        out.append(formatGeneral(r.X, NumberFormat::file()));
        out.push(' ');
        out.append(formatGeneral(r.Y, NumberFormat::file()));
        out.push(' ');
        out.append(formatGeneral(r.Z, NumberFormat::file()));
        if (withStatus) {
            out.push(' ');
            out.append(std::to_string(r.status.first()));
        }
        out.endLine();
    }

    StreamSummary summary;

private:
    Output& out;
    Processa& processa;
    bool withStatus;
    std::size_t number = 0;
};

}  // namespace

StreamSummary runStream(std::FILE* in, std::FILE* out, Processa& processa, bool withStatus)
{
    Output output(out);
    LineRunner runner(output, processa, withStatus);
    std::vector<char> chunk(kChunk);
    std::string carry;  // the start of a line that continues in the next chunk
    for (;;) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), in);
        if (got == 0) break;
        std::string_view data(chunk.data(), got);
        std::size_t start = 0;
        for (std::size_t end; (end = data.find('\n', start)) != std::string_view::npos;
             start = end + 1) {
            const std::string_view piece = data.substr(start, end - start);
            if (carry.empty()) {
                runner.line(piece);
            } else {
                carry.append(piece);
                runner.line(carry);
                carry.clear();
            }
        }
        carry.append(data.substr(start));
    }
    if (std::ferror(in)) throw StreamError("cannot read the standard input");
    if (!carry.empty()) runner.line(carry);
    return runner.summary;
}
