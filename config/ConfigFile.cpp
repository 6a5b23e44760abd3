#include "config/ConfigFile.h"

#include "transform/text/TextLines.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

ConfigFileContent readConfigFile(const std::filesystem::path& file, std::uintmax_t largest)
{
    ConfigFileContent content;
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (!std::filesystem::exists(status)) return content;
    content.exists = true;
    const auto quoted = "\"" + file.string() + "\"";
    if (std::filesystem::is_directory(status)) {
        content.problem = "Cannot read " + quoted + ": it is a folder";
        return content;
    }
    const auto size = std::filesystem::file_size(file, error);
    if (!error && size > largest) {
        content.problem = "Cannot read " + quoted + ": " + std::to_string(size) +
                          " bytes is far too large for this file";
        return content;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        content.problem = "Cannot read " + quoted + ": " + std::strerror(errno);
        return content;
    }
    content.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) content.problem = "Cannot read " + quoted + ": a read error";
    // Editors that save UTF-8 may begin the file with a byte-order mark; it is no part of the
    // first line.
    eraseByteOrderMark(content.bytes);
    return content;
}
