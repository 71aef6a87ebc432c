#include "image/file_io.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <chrono>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace nelmora {

namespace {

bool fail(std::string* error, const std::string& path, int code)
{
    if (error) *error = path + ": " + std::strerror(code);
    return false;
}

bool fail(std::string* error, const std::string& path, const char* reason)
{
    if (error) *error = path + ": " + reason;
    return false;
}

mode_t currentUmask()
{
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Saving through symbolic links replaces the file they lead to, or creates the
// one a dangling link names; the links themselves stay. False on a loop.
bool followLinks(const std::string& path, std::string& target)
{
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st{};
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            target = current;
            return true;
        }
        std::string link(size_t(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
        const ssize_t length = readlink(current.c_str(), link.data(), link.size());
        if (length <= 0) {
            target = current;
            return true;
        }
        link.resize(size_t(length));
        current = link.front() == '/' ? link : folderOf(current) + link;
    }
    return false;
}

// Root may write any file, but a file nobody may write was made read-only on
// purpose; a save refuses it as it would for any other user.
bool mayWriteInPlace(const std::string& path, const struct stat& st)
{
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return false;
    return geteuid() != 0 || (st.st_mode & 0222) != 0;
}

constexpr char kTemporaryPrefix[] = ".nelmora-save-";

std::string randomSuffix()
{
    static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    uint64_t bits = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                    (uint64_t(getpid()) << 32) ^ std::random_device{}();
    std::string suffix;
    for (int i = 0; i < 8; ++i, bits /= 36) suffix += kDigits[bits % 36];
    return suffix;
}

}  // namespace

int removeStaleSaveFiles(const std::string& folder, int64_t olderThanSeconds)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return 0;
    const time_t cutoff = time(nullptr) - time_t(olderThanSeconds);
    int removed = 0;
    while (const dirent* entry = readdir(dir)) {
        if (std::strncmp(entry->d_name, kTemporaryPrefix, sizeof kTemporaryPrefix - 1) != 0) continue;
        struct stat st{};
        if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(st.st_mode) && st.st_mtime < cutoff && unlinkat(dirfd(dir), entry->d_name, 0) == 0) ++removed;
    }
    closedir(dir);
    return removed;
}

InputFile::~InputFile()
{
    if (fd_ >= 0) ::close(fd_);
}

bool InputFile::open(const std::string& path, std::string* error)
{
    if (fd_ >= 0) ::close(fd_);
    path_ = path;
    // Non-blocking so that a FIFO cannot hang the program before it is refused.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) return fail(error, path, errno);
    struct stat st{};
    const bool known = fstat(fd_, &st) == 0;
    const int code = errno;
    if (!known || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        if (!known) return fail(error, path, code);
        return S_ISDIR(st.st_mode) ? fail(error, path, EISDIR) : fail(error, path, "not a regular file");
    }
    fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    return true;
}

int64_t InputFile::size() const
{
    struct stat st{};
    if (fd_ < 0 || fstat(fd_, &st) != 0) return -1;
    return int64_t(st.st_size);
}

int64_t InputFile::read(uint8_t* data, size_t count, std::string* error)
{
    if (fd_ < 0) {
        fail(error, path_, EBADF);
        return -1;
    }
    size_t done = 0;
    while (done < count) {
        const size_t chunk = std::min<size_t>(count - done, size_t(1) << 30);
        const ssize_t got = ::read(fd_, data + done, chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            fail(error, path_, errno);
            return -1;
        }
        if (got == 0) break;
        done += size_t(got);
    }
    return int64_t(done);
}

bool readFileHead(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out, std::string* error)
{
    InputFile file;
    if (!file.open(path, error)) return false;
    const int64_t size = file.size();
    std::vector<uint8_t> bytes(size >= 0 ? std::min<size_t>(size_t(size), maxBytes) : maxBytes);
    const int64_t got = file.read(bytes.data(), bytes.size(), error);
    if (got < 0) return false;
    bytes.resize(size_t(got));
    out = std::move(bytes);
    return true;
}

AtomicFileWriter::~AtomicFileWriter() { abandon(); }

bool AtomicFileWriter::open(const std::string& path, std::string* error)
{
    abandon();
    path_ = path;
    if (!followLinks(path, target_)) return fail(error, path, ELOOP);
    struct stat st{};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return fail(error, path, EISDIR);
    // A device, FIFO or socket would be replaced by a plain file, not written.
    if (exists && !S_ISREG(st.st_mode)) return fail(error, path, "not a regular file; only regular files are replaced");
    if (exists && !mayWriteInPlace(target_, st)) return fail(error, path, EACCES);

    // The temporary file lives in the target's folder so that it can be
    // linked there; unnamed until commit, so a killed save leaves nothing.
    const std::string folder = folderOf(target_);
    const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~currentUmask());
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return fail(error, path, errno);
        // No unnamed files here: a named one, whose leftovers a later save clears.
        removeStaleSaveFiles(folder, 24 * 60 * 60);
        std::string pattern = folder + kTemporaryPrefix + "XXXXXX";
        fd_ = mkostemp(pattern.data(), O_CLOEXEC);
        if (fd_ < 0) return fail(error, path, errno);
        temporary_ = pattern;
    }
    // The new file takes the replaced one's owner where the process may give
    // it (chown first: it clears set-id bits), then its mode.
    if (exists && (st.st_uid != geteuid() || st.st_gid != getegid()) &&
        fchown(fd_, st.st_uid, st.st_gid) != 0 && fchown(fd_, uid_t(-1), st.st_gid) != 0) {
        // Neither is permitted: the file is the saver's, as any new file would be.
    }
    fchmod(fd_, mode);
    return true;
}

bool AtomicFileWriter::write(const uint8_t* data, size_t count, std::string* error)
{
    if (fd_ < 0) return fail(error, path_, EBADF);
    size_t done = 0;
    while (done < count) {
        const ssize_t put = ::write(fd_, data + done, std::min<size_t>(count - done, size_t(1) << 30));
        if (put < 0) {
            if (errno == EINTR) continue;
            return fail(error, path_, errno);
        }
        done += size_t(put);
    }
    return true;
}

bool AtomicFileWriter::linkIntoPlace()
{
    if (!temporary_.empty()) return std::rename(temporary_.c_str(), target_.c_str()) == 0;
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
    if (errno != EEXIST) return false;
    // A name cannot be linked over another: link beside it, then rename over.
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_ = folderOf(target_) + kTemporaryPrefix + randomSuffix();
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary_.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return std::rename(temporary_.c_str(), target_.c_str()) == 0;
        temporary_.clear();
        if (errno != EEXIST) return false;
    }
    return false;
}

bool AtomicFileWriter::commit(std::string* error)
{
    if (fd_ < 0) return fail(error, path_, EBADF);
    if (fsync(fd_) != 0) {
        const int code = errno;
        abandon();
        return fail(error, path_, code);
    }
    // What was checked at open may have been swapped for a device meanwhile.
    struct stat st{};
    if (lstat(target_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        abandon();
        return fail(error, path_, "not a regular file; only regular files are replaced");
    }
    if (!linkIntoPlace()) {
        const int code = errno;
        abandon();
        return fail(error, path_, code);
    }
    temporary_.clear();
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) return fail(error, path_, errno);
    // Make the new name durable; a failure here leaves a complete file either way.
    const std::string folder = folderOf(target_);
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        ::close(dir);
    }
    return true;
}

void AtomicFileWriter::abandon()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

bool writeFileAtomically(const std::string& path, const uint8_t* data, size_t size, std::string* error)
{
    AtomicFileWriter writer;
    return writer.open(path, error) && writer.write(data, size, error) && writer.commit(error);
}

}  // namespace nelmora
