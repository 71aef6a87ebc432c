// Where the pen palette's library is, and the one-time seeding of the user's library.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "pentools/pen_library_location.h"

namespace nelmora {
namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const fs::path& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

class PenLibraryLocationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("nelmora-library-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        program = root / "usr" / "bin";
        starter = root / "usr" / "share" / "nelmora" / "Pen";
        user = root / "home" / ".local" / "share" / "nelmora" / "Pen";
        writeFile(starter / "basic" / "round.pen", "starter round");
        writeFile(starter / "effects" / "blur.pen", "starter blur");
        fs::create_directories(program);
    }
    void TearDown() override { fs::remove_all(root); }

    PenLibraryPlaces places() const { return {program.string(), starter.string(), user.string()}; }

    fs::path root;
    fs::path program, starter, user;
};

TEST_F(PenLibraryLocationTest, FirstStartSeedsTheUserLibraryOnceAndNeverOverwritesAPen)
{
    const PenLibraryChoice first = choosePenLibrary(places());
    EXPECT_EQ(first.root, user.string() + "/");
    EXPECT_EQ(first.problem, "");
    EXPECT_EQ(readFile(user / "basic" / "round.pen"), "starter round");
    EXPECT_EQ(readFile(user / "effects" / "blur.pen"), "starter blur");
    EXPECT_FALSE(fs::exists(user.string() + ".partial"));

    // The user edits one starter pen, removes another and saves a pen of their own.
    writeFile(user / "basic" / "round.pen", "my round");
    fs::remove(user / "effects" / "blur.pen");
    writeFile(user / "mine" / "new.pen", "mine");
    writeFile(starter / "basic" / "added-later.pen", "a newer starter pen");

    EXPECT_EQ(choosePenLibrary(places()).root, user.string() + "/");
    EXPECT_EQ(readFile(user / "basic" / "round.pen"), "my round");
    EXPECT_FALSE(fs::exists(user / "effects" / "blur.pen"));
    EXPECT_FALSE(fs::exists(user / "basic" / "added-later.pen"));
    EXPECT_EQ(readFile(user / "mine" / "new.pen"), "mine");
}

TEST_F(PenLibraryLocationTest, TheBuildFolderKeepsThePenFolderBesideTheProgram)
{
    fs::create_directories(program / "Pen");
    EXPECT_EQ(choosePenLibrary(places()).root, (program / "Pen").string() + "/");
    EXPECT_FALSE(fs::exists(user));

    // Neither beside the program nor installed: the folder beside the program, as before.
    fs::remove_all(program / "Pen");
    fs::remove_all(starter);
    EXPECT_EQ(choosePenLibrary(places()).root, (program / "Pen").string() + "/");
    EXPECT_FALSE(fs::exists(user));
}

TEST_F(PenLibraryLocationTest, AUserLibraryThatCannotBeMadeShowsTheStarterPensAndSaysWhy)
{
    // A file where the data folder should be: nothing can be made below it.
    writeFile(root / "home" / ".local" / "share" / "nelmora", "not a folder");
    const PenLibraryChoice choice = choosePenLibrary(places());
    EXPECT_EQ(choice.root, starter.string() + "/");
    EXPECT_NE(choice.problem.find(user.string()), std::string::npos);

    std::string problem;
    writeFile(root / "file-library", "a file");
    EXPECT_FALSE(seedUserLibrary(starter.string(), (root / "file-library").string(), &problem));
    EXPECT_NE(problem.find("not a folder"), std::string::npos);
}

}  // namespace
}  // namespace nelmora
