#include "transform/files/AtomicFile.h"

#include "transform/files/TemporaryFiles.h"

#include <cerrno>
#include <cstring>
#include <random>
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

// Six letters or digits, as mkstemp would choose them.
std::string randomSuffix()
{
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::string suffix(6, ' ');
    for (char& c : suffix) c = kLetters[pick(random)];
    return suffix;
}

// Every byte, through interruptions and short writes; false with errno set on a failure.
bool writeAll(int descriptor, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path destination)
    : name_(std::move(destination)), target_(name_ == "-" ? name_ : fileBehindLinks(name_))
{
    std::error_code ignored;
    const auto status = std::filesystem::status(target_, ignored);
    if (std::filesystem::is_directory(status)) fail("it is a folder");
    if (name_ == "-" ||
        (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)))
        openThrough();
    else
        openTemporary();
}

void AtomicFile::openTemporary()
{
    // A name no other writer holds, in the destination's folder, so that the final rename stays
    // within one file system. The name is listed for the signal handler before the file exists:
    // listed after, a signal in between would leave the file behind.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = target_.string() + "." + randomSuffix();
        listTemporaryFile(name);
        const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        const int reason = errno;
        if (descriptor < 0) {
            unlistTemporaryFile(name);
            if (reason == EEXIST) continue;
            const bool folderClosed = reason == EACCES || reason == EPERM || reason == EROFS;
            if (folderClosed && ::access(target_.c_str(), W_OK) == 0) {
                way_ = Way::InPlace;
                scratch_ = std::make_unique<ScratchFile>(std::filesystem::temp_directory_path());
                return;
            }
            fail(std::strerror(reason));
        }
        temporary_ = name;
        stream_ = ::fdopen(descriptor, "wb");
        if (stream_ != nullptr) return;
        const std::string failure = systemReason();
        ::close(descriptor);
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
        unlistTemporaryFile(name);
        fail(failure);
    }
    fail("no free name for a temporary file beside it");
}

void AtomicFile::openThrough()
{
    way_ = Way::Through;
    stream_ =
        name_ == "-" ? ::fdopen(::dup(STDOUT_FILENO), "wb") : std::fopen(target_.c_str(), "wb");
    if (stream_ == nullptr) fail(systemReason());
}

AtomicFile::~AtomicFile()
{
    if (stream_ != nullptr) std::fclose(stream_);
    if (way_ == Way::Replace && !committed_) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
        unlistTemporaryFile(temporary_.string());
    }
}

void AtomicFile::write(std::string_view bytes)
{
    if (scratch_) return scratch_->write(bytes);
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size())
        fail(systemReason());
}

void AtomicFile::commit()
{
    if (way_ == Way::InPlace) return commitInPlace();
    if (std::fflush(stream_) != 0) fail(systemReason());
    // A pipe or a terminal cannot be synced, and need not be.
    if (::fsync(::fileno(stream_)) != 0 && !(way_ == Way::Through && errno == EINVAL))
        fail(systemReason());
    if (way_ == Way::Replace) {
        // Keep the permissions of the file being replaced; a new file gets the usual ones.
        struct stat previous {};
        if (::stat(target_.c_str(), &previous) == 0)
            ::fchmod(::fileno(stream_), previous.st_mode & 07777);
        else
            ::fchmod(::fileno(stream_), 0666 & ~currentUmask());
    }
    const int closed = std::fclose(stream_);
    stream_ = nullptr;
    if (closed != 0) fail(systemReason());
    if (way_ == Way::Replace) {
        if (std::rename(temporary_.c_str(), target_.c_str()) != 0) fail(systemReason());
        unlistTemporaryFile(temporary_.string());
    }
    committed_ = true;
}

void AtomicFile::commitInPlace()
{
    const int descriptor = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0) fail(systemReason());
    const off_t size = scratch_->size();
    struct stat previous {};
    if (::fstat(descriptor, &previous) != 0) {
        const std::string reason = systemReason();
        ::close(descriptor);
        fail(reason);
    }
    // Room first: a disk too full for the result leaves the file as it was (a failed reservation
    // may have grown it, so it goes back to its size). File systems without reservations go on.
    const int reserved = ::posix_fallocate(descriptor, 0, size);
    if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
        if (::ftruncate(descriptor, previous.st_size) != 0) {}
        ::close(descriptor);
        fail(std::strerror(reserved));
    }
    try {
        scratch_->readBack([&](std::string_view chunk) {
            if (!writeAll(descriptor, chunk)) fail(systemReason());
        });
        if (::ftruncate(descriptor, size) != 0 || ::fsync(descriptor) != 0) fail(systemReason());
    } catch (...) {
        ::close(descriptor);
        throw;
    }
    if (::close(descriptor) != 0) fail(systemReason());
    committed_ = true;
}

void AtomicFile::fail(const std::string& what) const
{
    throw FileWriteError("Cannot write the file \"" + name_.string() + "\": " + what);
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
    size_ += static_cast<off_t>(bytes.size());
    if (!writeAll(descriptor_, bytes)) fail(systemReason());
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

std::filesystem::path fileBehindLinks(const std::filesystem::path& destination)
{
    std::filesystem::path file = destination;
    // As many links as the system itself follows before it gives up (ELOOP).
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(file, error)) return file;
        const std::filesystem::path next = std::filesystem::read_symlink(file, error);
        if (error) return file;
        file = next.is_absolute() ? next : file.parent_path() / next;
    }
    throw FileWriteError("Cannot write the file \"" + destination.string() +
                         "\": too many symbolic links");
}

std::filesystem::path scratchFolderFor(const std::filesystem::path& destination)
{
    if (destination != "-") {
        std::error_code error;
        const auto file = fileBehindLinks(destination);
        const auto status = std::filesystem::status(file, error);
        auto folder = std::filesystem::absolute(file, error).parent_path();
        const bool regular =
            !std::filesystem::exists(status) || std::filesystem::is_regular_file(status);
        if (regular && ::access(folder.c_str(), W_OK | X_OK) == 0) return folder;
    }
    return std::filesystem::temp_directory_path();
}
