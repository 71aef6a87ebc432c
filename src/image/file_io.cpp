#include "image/file_io.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

// Saving through a symbolic link replaces the file it points at, not the link.
std::string resolveTarget(const std::string& path)
{
    struct stat st{};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = realpath(path.c_str(), nullptr)) {
            std::string resolved(real);
            std::free(real);
            return resolved;
        }
    }
    return path;
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

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
    target_ = resolveTarget(path);
    struct stat st{};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return fail(error, path, EISDIR);

    // The temporary file lives in the target's folder so the rename cannot
    // cross file systems; its name stays short whatever the target's length.
    std::string pattern = folderOf(target_) + ".nelmora-save-XXXXXX";
    fd_ = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) return fail(error, path, errno);
    temporary_ = pattern;
    // mkstemp makes the file private; give it the mode the replaced file had,
    // or the one a newly created file would get.
    fchmod(fd_, exists ? (st.st_mode & 07777) : (0666 & ~currentUmask()));
    return true;
}

bool AtomicFileWriter::write(const uint8_t* data, size_t count, std::string* error)
{
    if (fd_ < 0) return fail(error, target_, EBADF);
    size_t done = 0;
    while (done < count) {
        const ssize_t put = ::write(fd_, data + done, std::min<size_t>(count - done, size_t(1) << 30));
        if (put < 0) {
            if (errno == EINTR) continue;
            return fail(error, target_, errno);
        }
        done += size_t(put);
    }
    return true;
}

bool AtomicFileWriter::commit(std::string* error)
{
    if (fd_ < 0) return fail(error, target_, EBADF);
    if (fsync(fd_) != 0) {
        const int code = errno;
        abandon();
        return fail(error, target_, code);
    }
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0 || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int code = errno;
        abandon();
        return fail(error, target_, code);
    }
    temporary_.clear();
    // Make the rename itself durable; a failure here leaves a complete file either way.
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
