// What a save may replace, and what it leaves behind.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include "image/file_io.h"
#include "image/temp_files.h"

namespace nelmora {
namespace {

using testing_files::readAll;
using testing_files::TempDir;
using testing_files::writeAll;
namespace fs = std::filesystem;

const std::vector<uint8_t> kOld{1, 2, 3};
const std::vector<uint8_t> kNew{9, 8, 7, 6};

mode_t modeOf(const std::string& path)
{
    struct stat st{};
    lstat(path.c_str(), &st);
    return st.st_mode;
}

TEST(SafeSave, RefusesFifosAndDevicesAndKeepsThem)
{
    TempDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
    std::string error;
    EXPECT_FALSE(writeFileAtomically(fifo, kNew, &error));
    EXPECT_EQ(error, fifo + ": not a regular file; only regular files are replaced");
    EXPECT_TRUE(S_ISFIFO(modeOf(fifo)));

    // A character device like /dev/null, made here so a fault cannot harm the real one.
    const std::string device = dir.file("null");
    if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "cannot make device nodes here";
    EXPECT_FALSE(writeFileAtomically(device, kNew, &error));
    EXPECT_EQ(error, device + ": not a regular file; only regular files are replaced");
    EXPECT_TRUE(S_ISCHR(modeOf(device)));
    EXPECT_EQ(dir.entryCount(), 2u);
}

// Root passes every permission check, so for root a file without any write
// bit counts as not writable; others get the kernel's answer.
TEST(SafeSave, RefusesReadOnlyFilesWithPermissionDenied)
{
    TempDir dir;
    const std::string path = dir.file("locked.pen");
    writeAll(path, kOld);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    std::string error;
    EXPECT_FALSE(writeFileAtomically(path, kNew, &error));
    EXPECT_EQ(error, path + ": " + std::strerror(EACCES));
    EXPECT_EQ(readAll(path), kOld);
    EXPECT_EQ(modeOf(path) & 07777, 0444u);
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(SafeSave, ReplacedFileKeepsModeOwnerAndGroup)
{
    TempDir dir;
    const std::string path = dir.file("shared.bmp");
    writeAll(path, kOld);
    ASSERT_EQ(chmod(path.c_str(), 0604), 0);
    const bool root = geteuid() == 0;
    // Root saving another user's file must hand it back to that user.
    if (root) {
        ASSERT_EQ(chown(path.c_str(), 4321, 5432), 0);
    }
    ASSERT_TRUE(writeFileAtomically(path, kNew));
    EXPECT_EQ(readAll(path), kNew);
    struct stat st{};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    if (root) {
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 5432u);
    }
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(SafeSave, SymbolicLinksAreFollowedAndKept)
{
    TempDir dir;
    fs::create_directory(dir.file("real"));
    writeAll(dir.file("real/pen.pen"), kOld);
    fs::create_symlink("real/pen.pen", dir.file("link.pen"));
    fs::create_symlink("link.pen", dir.file("chain.pen"));
    ASSERT_TRUE(writeFileAtomically(dir.file("chain.pen"), kNew));
    EXPECT_TRUE(fs::is_symlink(dir.file("chain.pen")));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.pen")));
    EXPECT_EQ(readAll(dir.file("real/pen.pen")), kNew);

    // A dangling link creates the file it names, relative to the link's folder.
    fs::create_symlink("real/new.pen", dir.file("dangling.pen"));
    ASSERT_TRUE(writeFileAtomically(dir.file("dangling.pen"), kNew));
    EXPECT_TRUE(fs::is_symlink(dir.file("dangling.pen")));
    EXPECT_EQ(readAll(dir.file("real/new.pen")), kNew);
    EXPECT_EQ(dir.entryCount(), 4u);  // real, link, chain, dangling: nothing left beside them

    fs::create_symlink("loop.pen", dir.file("loop.pen"));
    std::string error;
    EXPECT_FALSE(writeFileAtomically(dir.file("loop.pen"), kNew, &error));
    EXPECT_EQ(error, dir.file("loop.pen") + ": " + std::strerror(ELOOP));
}

TEST(SafeSave, ASaveKilledHalfWayLeavesNothingBehind)
{
    TempDir dir;
    const std::string path = dir.file("picture.bmp");
    writeAll(path, kOld);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AtomicFileWriter writer;
        if (!writer.open(path) || !writer.write(kNew.data(), kNew.size())) _exit(1);
        _exit(0);  // as if killed: no destructor, no abandon()
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(readAll(path), kOld);
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(SafeSave, StaleTemporaryFilesOlderThanADayAreRemoved)
{
    TempDir dir;
    const time_t twoDaysAgo = time(nullptr) - 2 * 24 * 60 * 60;
    for (const char* name : {".nelmora-save-old111", "keep-me-old", ".nelmora-save-new222"}) writeAll(dir.file(name), kOld);
    const utimbuf old{twoDaysAgo, twoDaysAgo};
    utime(dir.file(".nelmora-save-old111").c_str(), &old);
    utime(dir.file("keep-me-old").c_str(), &old);
    EXPECT_EQ(removeStaleSaveFiles(dir.path(), 24 * 60 * 60), 1);
    EXPECT_FALSE(fs::exists(dir.file(".nelmora-save-old111")));
    EXPECT_TRUE(fs::exists(dir.file(".nelmora-save-new222")));  // may be a save running now
    EXPECT_TRUE(fs::exists(dir.file("keep-me-old")));
}

TEST(SafeSave, NewFilesTakeTheUmaskAndReplaceInPlace)
{
    TempDir dir;
    const mode_t saved = umask(027);
    const std::string path = dir.file("fresh.bmp");
    const bool created = writeFileAtomically(path, kOld);
    umask(saved);
    ASSERT_TRUE(created);
    EXPECT_EQ(modeOf(path) & 07777, 0640u);
    ASSERT_TRUE(writeFileAtomically(path, kNew));
    EXPECT_EQ(readAll(path), kNew);
    EXPECT_EQ(dir.entryCount(), 1u);
}

}  // namespace
}  // namespace nelmora
