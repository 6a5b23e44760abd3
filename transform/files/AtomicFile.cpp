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
mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path destination) : target_(std::move(destination))
{
    std::error_code ignored;
    if (std::filesystem::is_directory(target_, ignored)) fail("it is a folder");
    // mkstemp gives a name no other writer holds, in the destination's folder, so that the
    // final rename stays within one file system.
    std::string pattern = target_.string() + ".XXXXXX";
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) fail(systemReason());
    temporary_ = pattern;
    stream_ = ::fdopen(descriptor, "wb");
    if (stream_ == nullptr) {
        const std::string reason = systemReason();
        ::close(descriptor);
        std::filesystem::remove(temporary_, ignored);
        fail(reason);
    }
}

AtomicFile::~AtomicFile()
{
    if (stream_ != nullptr) std::fclose(stream_);
    if (!committed_) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

void AtomicFile::write(std::string_view bytes)
{
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size())
        fail(systemReason());
}

void AtomicFile::commit()
{
    if (std::fflush(stream_) != 0 || ::fsync(::fileno(stream_)) != 0) fail(systemReason());
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat previous {};
    if (::stat(target_.c_str(), &previous) == 0)
        ::fchmod(::fileno(stream_), previous.st_mode & 07777);
    else
        ::fchmod(::fileno(stream_), 0666 & ~currentUmask());
    const int closed = std::fclose(stream_);
    stream_ = nullptr;
    if (closed != 0) fail(systemReason());
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) fail(systemReason());
    committed_ = true;
}

void AtomicFile::fail(const std::string& what) const
{
    throw FileWriteError("Cannot write the file \"" + target_.string() + "\": " + what);
}

ScratchFile::ScratchFile(const std::filesystem::path& where) : folder_(where)
{
    const std::string path = (folder_.empty() ? std::filesystem::path(".") : folder_).string();
    descriptor_ = ::open(path.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (descriptor_ >= 0) return;
    std::string pattern = path + "/.zelvora-scratch.XXXXXX";
    descriptor_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (descriptor_ < 0) fail(systemReason());
    ::unlink(pattern.c_str());
}

ScratchFile::~ScratchFile()
{
    if (descriptor_ >= 0) ::close(descriptor_);
}

void ScratchFile::write(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) fail(systemReason());
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

bool ScratchFile::readChunk(std::string& chunk)
{
    if (!rewound_) {
        if (::lseek(descriptor_, 0, SEEK_SET) != 0) fail(systemReason());
        rewound_ = true;
    }
    chunk.resize(std::size_t{1} << 20);
    ssize_t got;
    do got = ::read(descriptor_, chunk.data(), chunk.size());
    while (got < 0 && errno == EINTR);
    if (got < 0) fail(systemReason());
    chunk.resize(static_cast<std::size_t>(got));
    return got > 0;
}

void ScratchFile::fail(const std::string& what) const
{
    throw FileWriteError("Cannot write a scratch file in \"" + folder_.string() + "\": " + what);
}

void writeFileAtomically(const std::filesystem::path& destination, std::string_view bytes)
{
    AtomicFile file(destination);
    file.write(bytes);
    file.commit();
}
