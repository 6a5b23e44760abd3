// Writing a file so that it is either replaced whole or left as it was.
//
// The text goes to a temporary file in the destination's folder, is flushed to the disk, and
// only then renamed over the destination. A crash, a full disk or any write error before the
// rename leaves the previous file byte for byte, and the temporary file is removed (on SIGINT,
// SIGTERM and SIGHUP too, where the program asked for it: TemporaryFiles.h).
//
// What the destination is decides the way:
// - a symbolic link is followed: the file it leads to is replaced, the link stays;
// - a device, a pipe or a socket (/dev/stdout, a terminal), and "-" for standard output, are
//   written straight through: there is nothing to rename;
// - a file the user may write in a folder the user may not is written in place from a scratch
//   copy once the whole text is ready: room for it is taken first, so a full disk leaves the file
//   as it was; only a crash during that last copy could leave it cut short.
#pragma once

#include <cstdio>
#include <sys/types.h>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

// A file that could not be written; the text names the file and the system's reason.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ScratchFile;

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

    const std::filesystem::path& destination() const { return name_; }

private:
    enum class Way { Replace, Through, InPlace };

    void openTemporary();
    void openThrough();
    void commitInPlace();
    [[noreturn]] void fail(const std::string& what) const;

    std::filesystem::path name_;    // as the caller gave it, for messages
    std::filesystem::path target_;  // the file written, links followed
    std::filesystem::path temporary_;
    Way way_ = Way::Replace;
    std::FILE* stream_ = nullptr;
    std::unique_ptr<ScratchFile> scratch_;  // the text of a run written in place
    bool committed_ = false;
};

// The file a destination leads to: its symbolic links followed, the last one's target made
// relative to the link's folder; a link that leads nowhere gives the file it would create.
std::filesystem::path fileBehindLinks(const std::filesystem::path& destination);

// Where a run writing `destination` keeps its scratch files: the destination's own folder, whose
// file system has room for the result, when the user may write there; else the system's
// temporary folder.
std::filesystem::path scratchFolderFor(const std::filesystem::path& destination);

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
    // The bytes written so far.
    off_t size() const { return size_; }
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
    off_t size_ = 0;
    bool rewound_ = false;
};

// The whole text in one go.
void writeFileAtomically(const std::filesystem::path& destination, std::string_view bytes);
