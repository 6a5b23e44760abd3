#include "transform/files/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string systemReason() { return std::strerror(errno); }

// mkstemp creates the file readable by its owner only; a new file should get the permissions
// any other program's new file gets.
mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path destination) : target(std::move(destination)) {
    std::error_code ignored;
    if (std::filesystem::is_directory(target, ignored))
        fail("it is a folder");
    // mkstemp gives a name no other writer holds, in the destination's folder, so that the
    // final rename stays within one file system.
    std::string pattern = target.string() + ".XXXXXX";
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0)
        fail(systemReason());
    temporary = pattern;
    stream = ::fdopen(descriptor, "wb");
    if (stream == nullptr) {
        const std::string reason = systemReason();
        ::close(descriptor);
        std::filesystem::remove(temporary, ignored);
        fail(reason);
    }
}

AtomicFile::~AtomicFile() {
    if (stream != nullptr)
        std::fclose(stream);
    if (!committed) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    }
}

void AtomicFile::write(std::string_view bytes) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size())
        fail(systemReason());
}

void AtomicFile::commit() {
    if (std::fflush(stream) != 0 || ::fsync(::fileno(stream)) != 0)
        fail(systemReason());
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat previous {};
    if (::stat(target.c_str(), &previous) == 0)
        ::fchmod(::fileno(stream), previous.st_mode & 07777);
    else
        ::fchmod(::fileno(stream), 0666 & ~currentUmask());
    const int closed = std::fclose(stream);
    stream = nullptr;
    if (closed != 0)
        fail(systemReason());
    if (std::rename(temporary.c_str(), target.c_str()) != 0)
        fail(systemReason());
    committed = true;
}

void AtomicFile::fail(const std::string& what) const {
    throw FileWriteError("Cannot write the file \"" + target.string() + "\": " + what);
}

ScratchFile::ScratchFile(const std::filesystem::path& where) : folder(where) {
    const std::string path = (folder.empty() ? std::filesystem::path(".") : folder).string();
    descriptor = ::open(path.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (descriptor >= 0)
        return;
    std::string pattern = path + "/.zelvora-scratch.XXXXXX";
    descriptor = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (descriptor < 0)
        fail(systemReason());
    ::unlink(pattern.c_str());
}

ScratchFile::~ScratchFile() {
    if (descriptor >= 0)
        ::close(descriptor);
}

void ScratchFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            fail(systemReason());
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

bool ScratchFile::readChunk(std::string& chunk) {
    if (!rewound) {
        if (::lseek(descriptor, 0, SEEK_SET) != 0)
            fail(systemReason());
        rewound = true;
    }
    chunk.resize(std::size_t{1} << 20);
    ssize_t got;
    do
        got = ::read(descriptor, chunk.data(), chunk.size());
    while (got < 0 && errno == EINTR);
    if (got < 0)
        fail(systemReason());
    chunk.resize(static_cast<std::size_t>(got));
    return got > 0;
}

void ScratchFile::fail(const std::string& what) const {
    throw FileWriteError("Cannot write a scratch file in \"" + folder.string() + "\": " + what);
}

void writeFileAtomically(const std::filesystem::path& destination, std::string_view bytes) {
    AtomicFile file(destination);
    file.write(bytes);
    file.commit();
}
