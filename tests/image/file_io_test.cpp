#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "image/file_io.h"
#include "image/temp_files.h"

namespace nelmora {
namespace {

using namespace testing_files;

const std::vector<uint8_t> kOld(300, 0xAA);
const std::vector<uint8_t> kNew(5000, 0x55);

TEST(ReadFileHead, ReadsUpToTheCap)
{
    TempDir dir;
    writeAll(dir.file("f"), {1, 2, 3, 4, 5});
    std::vector<uint8_t> out;
    ASSERT_TRUE(readFileHead(dir.file("f"), 3, out));
    EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 3}));
    ASSERT_TRUE(readFileHead(dir.file("f"), 100, out));
    EXPECT_EQ(out.size(), 5u);
}

TEST(ReadFileHead, RefusesWhatIsNotARegularFileNamingItAndTheReason)
{
    TempDir dir;
    std::vector<uint8_t> out{9};
    std::string error;
    EXPECT_FALSE(readFileHead(dir.file("missing"), 10, out, &error));
    EXPECT_EQ(error, dir.file("missing") + ": " + std::strerror(ENOENT));
    EXPECT_FALSE(readFileHead(dir.path(), 10, out, &error));
    EXPECT_NE(error.find(dir.path()), std::string::npos);
    // A FIFO with no writer would block a plain open for ever.
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(readFileHead(dir.file("fifo"), 10, out, &error));
    EXPECT_EQ(out, std::vector<uint8_t>{9});
}

TEST(AtomicWrite, CreatesAndReplacesWholeFiles)
{
    TempDir dir;
    const std::string path = dir.file("picture.bmp");
    ASSERT_TRUE(writeFileAtomically(path, kOld));
    EXPECT_EQ(readAll(path), kOld);
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms(0666 & ~mask));
    chmod(path.c_str(), 0640);
    // A shorter file replaces a longer one entirely and keeps its mode.
    writeAll(path, std::vector<uint8_t>(20000, 1));
    ASSERT_TRUE(writeFileAtomically(path, kOld));
    EXPECT_EQ(readAll(path), kOld);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(AtomicWrite, FailureMidWriteLeavesTheOldFileAndNoTemporary)
{
    TempDir dir;
    const std::string path = dir.file("picture.bmp");
    writeAll(path, kOld);
    std::string error;
    {
        FileSizeLimit limit(1000);
        EXPECT_FALSE(writeFileAtomically(path, kNew, &error));
    }
    EXPECT_EQ(error, path + ": " + std::strerror(EFBIG));
    EXPECT_EQ(readAll(path), kOld);
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(AtomicWrite, UnwritablePlacesReportTheFile)
{
    TempDir dir;
    std::string error;
    const std::string noFolder = dir.file("absent/picture.bmp");
    EXPECT_FALSE(writeFileAtomically(noFolder, kNew, &error));
    EXPECT_EQ(error, noFolder + ": " + std::strerror(ENOENT));
    writeAll(dir.file("plain"), kOld);
    EXPECT_FALSE(writeFileAtomically(dir.file("plain/picture.bmp"), kNew, &error));
    EXPECT_EQ(error, dir.file("plain/picture.bmp") + ": " + std::strerror(ENOTDIR));
    std::filesystem::create_directory(dir.file("folder"));
    EXPECT_FALSE(writeFileAtomically(dir.file("folder"), kNew, &error));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder")));
    EXPECT_EQ(readAll(dir.file("plain")), kOld);
}

TEST(AtomicWrite, ReadOnlyFolderKeepsTheOldFile)
{
    if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    TempDir dir;
    const std::string path = dir.file("picture.bmp");
    writeAll(path, kOld);
    chmod(dir.path().c_str(), 0555);
    std::string error;
    EXPECT_FALSE(writeFileAtomically(path, kNew, &error));
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(error, path + ": " + std::strerror(EACCES));
    EXPECT_EQ(readAll(path), kOld);
}

TEST(AtomicWrite, ThroughASymbolicLinkReplacesTheFileItNames)
{
    TempDir dir;
    writeAll(dir.file("real"), kOld);
    std::filesystem::create_symlink(dir.file("real"), dir.file("link"));
    ASSERT_TRUE(writeFileAtomically(dir.file("link"), kNew));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link")));
    EXPECT_EQ(readAll(dir.file("real")), kNew);
}

}  // namespace
}  // namespace nelmora
