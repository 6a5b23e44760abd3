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

    const std::filesystem::path& destination() const { return target_; }

private:
    [[noreturn]] void fail(const std::string& what) const;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* stream_ = nullptr;
    bool committed_ = false;
};

// A file without a name for text that must wait for something written before it: written now,
// read back once. It lives in a given folder (the destination's, whose file system has room for
// the destination) and disappears with the object, whatever happens, since it never has a name
// (or loses it at once where the file system cannot make nameless files).
class ScratchFile {
public:
    // Throws FileWriteError when no file can be made there.
    explicit ScratchFile(const std::filesystem::path& folder);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // Appends bytes; throws FileWriteError on the first failed write.
    void write(std::string_view bytes);
    // Hands everything written, from the start, to `sink` a megabyte at a time.
    template <typename Sink>
    void readBack(const Sink& sink)
    {
        std::string chunk;
        while (readChunk(chunk)) sink(std::string_view(chunk));
    }

private:
    bool readChunk(std::string& chunk);
    [[noreturn]] void fail(const std::string& what) const;

    std::filesystem::path folder_;
    int descriptor_ = -1;
    bool rewound_ = false;
};

// The whole text in one go.
void writeFileAtomically(const std::filesystem::path& destination, std::string_view bytes);
