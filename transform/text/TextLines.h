// Walking a text held in memory line by line, without copying it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The mark some editors put at the start of a UTF-8 file; it belongs to no line.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

inline std::string_view withoutByteOrderMark(std::string_view text)
{
    if (text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark)
        text.remove_prefix(kUtf8ByteOrderMark.size());
    return text;
}

inline void eraseByteOrderMark(std::string& text)
{
    text.erase(0, text.size() - withoutByteOrderMark(text).size());
}

// Lines end at LF, with a CR before it dropped, so files written on any system read alike. The
// last line needs no LF; reading past the end gives empty lines, as the settings and catalogue
// readers expect of a short file.
class TextLines {
public:
    explicit TextLines(std::string_view text) : rest_(text) {}

    std::string_view next()
    {
        if (rest_.empty()) {
            atEnd_ = true;
            return {};
        }
        const std::size_t end = rest_.find('\n');
        std::string_view line = rest_.substr(0, end);
        rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

    // True once a line was asked for beyond the text's end.
    bool pastEnd() const { return atEnd_; }

private:
    std::string_view rest_;
    bool atEnd_ = false;
};
