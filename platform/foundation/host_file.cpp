#include "foundation/host_file.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace foundation {

namespace {

// Closes the descriptor on every path out of a function.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closing reports write-back errors that a later close in the destructor would swallow.
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_ = -1;
};

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

constexpr std::size_t kSuffixLength = 8;
constexpr std::string_view kSuffixDigits = "0123456789abcdefghijklmnopqrstuvwxyz";

std::string randomSuffix()
{
    thread_local std::mt19937_64 generator{std::random_device{}()};
    static constexpr std::string_view digits = kSuffixDigits;
    std::string suffix(kSuffixLength, '0');
    for (char& c : suffix)
        c = digits[generator() % 36];
    return suffix;
}

std::string folderOf(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    return slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
}

std::string nameOf(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    return slash == std::string::npos ? target : target.substr(slash + 1);
}

// A new, empty temporary file next to the target: "<folder>/.<name>.<random>". It stays locked
// while it is written, which tells other writers that it is not left over.
int createTemporary(const std::string& target, std::string* temporary)
{
    for (int attempt = 0; attempt < 64; ++attempt) {
        *temporary = folderOf(target) + "." + nameOf(target) + "." + randomSuffix();
        const int fd = ::open(temporary->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            ::flock(fd, LOCK_EX);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool isTemporaryName(std::string_view entry, std::string_view name)
{
    if (entry.size() != name.size() + 2 + kSuffixLength || entry[0] != '.' || entry.substr(1, name.size()) != name ||
        entry[1 + name.size()] != '.')
        return false;
    return entry.substr(name.size() + 2).find_first_not_of(kSuffixDigits) == std::string_view::npos;
}

// Temporaries of the target that a writer killed between writing and renaming left behind:
// those of its name pattern that nobody holds locked.
void removeStaleTemporaries(const std::string& target)
{
    const std::string folder = folderOf(target);
    const std::string name = nameOf(target);
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!listing)
        return;
    while (const dirent* entry = ::readdir(listing)) {
        if (!isTemporaryName(entry->d_name, name))
            continue;
        const std::string path = folder + entry->d_name;
        FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat opened {}, named {};
        if (!fd.valid() || ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
            ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        // Still the file that was locked, not one that took its name since.
        if (::lstat(path.c_str(), &named) == 0 && named.st_ino == opened.st_ino && named.st_dev == opened.st_dev)
            ::unlink(path.c_str());
    }
    ::closedir(listing);
}

void syncFolderOf(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        ::fsync(fd.get());
}

bool writeInPlace(const std::string& hostPath, std::string_view bytes)
{
    FileDescriptor fd(::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    return fd.valid() && writeAll(fd.get(), bytes) && fd.close();
}

bool writeReplacing(const std::string& hostPath, std::string_view bytes)
{
    std::string temporary;
    FileDescriptor fd(createTemporary(hostPath, &temporary));
    if (!fd.valid())
        return false;
    // A file that other processes read must stay readable to them after the replacement.
    struct stat existing {};
    if (::stat(hostPath.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(fd.get(), existing.st_mode & 07777);
    // The lock stays (through a second descriptor) until the temporary has its final name.
    const FileDescriptor lockHolder(::dup(fd.get()));
    const bool written = writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0 && fd.close();
    if (!written || ::rename(temporary.c_str(), hostPath.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolderOf(hostPath);
    removeStaleTemporaries(hostPath);
    return true;
}

} // namespace

std::optional<std::string> readHostFile(const std::string& hostPath, std::size_t maxBytes)
{
    // Non-blocking, so that a pipe at the path cannot stall the reader; checked to be a
    // regular file before anything is read.
    FileDescriptor fd(::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    if (info.st_size < 0 || static_cast<std::size_t>(info.st_size) > maxBytes)
        return std::nullopt;
    std::string contents;
    contents.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (got == 0)
            break;
        if (contents.size() + static_cast<std::size_t>(got) > maxBytes)
            return std::nullopt;
        contents.append(buffer, static_cast<std::size_t>(got));
    }
    return contents;
}

bool writeHostFile(const std::string& hostPath, std::string_view bytes, bool atomically)
{
    if (hostPath.empty())
        return false;
    return atomically ? writeReplacing(hostPath, bytes) : writeInPlace(hostPath, bytes);
}

} // namespace foundation
