// Writing a file so that it is either replaced whole or left as it was.
//
// The text goes to a temporary file in the destination's folder, is flushed to the disk, and
// only then renamed over the destination. A crash, a full disk or any write error before the
// rename leaves the previous file byte for byte, and the temporary file is removed.
#pragma once

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

// A file that could not be written; the text names the file and the system's reason.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class AtomicFile {
public:
    // Creates the temporary file beside `destination`; throws FileWriteError when it cannot.
    explicit AtomicFile(std::filesystem::path destination);
    // Removes the temporary file unless commit() replaced the destination with it.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends bytes; throws FileWriteError on the first failed write.
    void write(std::string_view bytes);
    // Flushes, syncs and renames over the destination; throws FileWriteError on failure.
    void commit();

    const std::filesystem::path& destination() const { return target; }

private:
    [[noreturn]] void fail(const std::string& what) const;

    std::filesystem::path target;
    std::filesystem::path temporary;
    std::FILE* stream = nullptr;
    bool committed = false;
};

// The whole text in one go.
void writeFileAtomically(const std::filesystem::path& destination, std::string_view bytes);
