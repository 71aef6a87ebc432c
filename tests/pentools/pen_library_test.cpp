#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pentools/palette_item_picture.h"
#include "pentools/pen_library.h"

namespace nelmora {
namespace {

namespace fs = std::filesystem;

TEST(PenLibraryNames, DisplayNameDropsTheLastExtension)
{
    EXPECT_EQ(displayName("soft.pen"), "soft");
    EXPECT_EQ(displayName("a.b.pen"), "a.b");
    EXPECT_EQ(displayName(".pen"), ".pen");
    EXPECT_EQ(displayName("Soft.old"), "Soft");
    EXPECT_EQ(displayName("Brushes"), "Brushes");
    EXPECT_EQ(displayName("trailing."), "trailing");
    EXPECT_EQ(displayName(""), "");
}

TEST(PenLibraryNames, SplitPathCutsAtTheLastSeparator)
{
    const SplitPath full = splitPath("/opt/nelmora/Pen/basic/soft.pen");
    EXPECT_EQ(full.folder, "/opt/nelmora/Pen/basic/");
    EXPECT_EQ(full.name, "soft.pen");
    const SplitPath bare = splitPath("soft.pen");
    EXPECT_EQ(bare.folder, "");
    EXPECT_EQ(bare.name, "soft.pen");
    const SplitPath folderOnly = splitPath("/tmp/");
    EXPECT_EQ(folderOnly.folder, "/tmp/");
    EXPECT_EQ(folderOnly.name, "");
}

TEST(PenLibraryNames, PenRootAndPenFileNames)
{
    EXPECT_EQ(makePenRoot("/opt/nelmora/bin"), "/opt/nelmora/bin/Pen/");
    EXPECT_EQ(makePenRoot("/opt/nelmora/bin/"), "/opt/nelmora/bin/Pen/");
    EXPECT_TRUE(isPenFileName("soft.pen"));
    EXPECT_TRUE(isPenFileName("SOFT.PeN"));
    EXPECT_TRUE(isPenFileName(".pen"));
    EXPECT_FALSE(isPenFileName("pen"));
    EXPECT_FALSE(isPenFileName("soft.pen.bak"));
    EXPECT_FALSE(isPenFileName("softpen"));
}

// A fresh folder under the system's temporary folder, removed afterwards.
class LibraryFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        base = fs::temp_directory_path() / (std::string("nelmora_library_") + info->name());
        fs::remove_all(base);
        fs::create_directories(base);
    }
    void TearDown() override { fs::remove_all(base); }

    std::string folder(const std::string& relative) const
    {
        return (base / relative).string() + kPathSeparator;
    }
    void touch(const std::string& relative) const { std::ofstream((base / relative).string()) << "x"; }
    void mkdir(const std::string& relative) const { fs::create_directories(base / relative); }

    fs::path base;
};

struct Expected {
    std::string name;
    bool isFolder;
    int x;
    int y;
};

void expectItems(const std::vector<LibraryItem>& items, const std::vector<Expected>& expected)
{
    ASSERT_EQ(items.size(), expected.size());
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i].name, expected[i].name);
        EXPECT_EQ(items[i].isFolder, expected[i].isFolder);
        EXPECT_EQ(items[i].x, expected[i].x);
        EXPECT_EQ(items[i].y, expected[i].y);
    }
}

TEST_F(LibraryFolder, FoldersFirstThenPensEachColumnSortedByName)
{
    mkdir("Pen/b");
    mkdir("Pen/a");
    mkdir("Pen/C");
    mkdir("Pen/x.pen");  // a folder whose name looks like a pen file
    touch("Pen/notes.txt");
    touch("Pen/root.pen");
    touch("Pen/Z.PEN");
    touch("Pen/b/soft.pen");
    const std::string root = folder("Pen");

    const std::vector<LibraryItem> items = listPenLibrary(root, root);
    expectItems(items, {{"C", true, 10, 10},
                        {"a", true, 10, 25},
                        {"b", true, 10, 40},
                        {"x.pen", true, 10, 55},
                        {"Z.PEN", false, 100, 10},
                        {"root.pen", false, 100, 25},
                        {"x.pen", false, 100, 40}});
    for (const LibraryItem& item : items) EXPECT_EQ(item.folder, root);

    // The folder column stays the subfolders of the root whichever folder is current.
    const std::vector<LibraryItem> inB = listPenLibrary(root, folder("Pen/b"));
    ASSERT_EQ(inB.size(), 5u);
    EXPECT_EQ(inB[3].name, "x.pen");
    EXPECT_TRUE(inB[3].isFolder);
    EXPECT_EQ(inB[4].name, "soft.pen");
    EXPECT_EQ(inB[4].folder, folder("Pen/b"));
    EXPECT_EQ(inB[4].y, 10);
    for (const LibraryItem& item : inB) EXPECT_NE(item.name.front(), '.');
}

TEST_F(LibraryFolder, MissingFoldersGiveEmptyColumns)
{
    EXPECT_TRUE(listPenLibrary(folder("Pen"), folder("Pen")).empty());
    mkdir("Other");
    touch("Other/one.pen");
    // Without a root the folder column is empty, the pen column still lists.
    expectItems(listPenLibrary(folder("Pen"), folder("Other")), {{"one.pen", false, 100, 10}});
    // A file where a folder is expected lists nothing either.
    touch("File");
    EXPECT_TRUE(listPenLibrary(folder("File"), folder("File")).empty());
}

TEST_F(LibraryFolder, ManyEntriesAndLongNamesAreAllListed)
{
    mkdir("Pen");
    for (int i = 0; i < 300; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "p%03d.pen", i);
        touch(std::string("Pen/") + name);
    }
    // A 255-byte name (the longest the file system takes) inside a folder
    // whose path passes 255 bytes.
    const std::string longPart(200, 'd');
    mkdir("Pen/" + longPart + "/" + longPart);
    const std::string deep = folder("Pen/" + longPart + "/" + longPart);
    ASSERT_GT(deep.size(), 400u);
    const std::string longName = std::string(251, 'n') + ".pen";
    std::ofstream(deep + longName) << "x";

    const std::vector<LibraryItem> items = listPenLibrary(folder("Pen"), folder("Pen"));
    ASSERT_EQ(items.size(), 301u);
    EXPECT_EQ(items[0].name, longPart);
    EXPECT_EQ(items[300].name, "p299.pen");
    EXPECT_EQ(items[300].y, 10 + 15 * 299);

    const std::vector<LibraryItem> deepItems = listPenLibrary(folder("Pen"), deep);
    ASSERT_EQ(deepItems.size(), 2u);
    EXPECT_EQ(deepItems[1].name, longName);
    EXPECT_EQ(deepItems[1].folder, deep);
}

TEST(PaletteItemPicture, GradientRowsMixTopToBottom)
{
    ImagePtr image(createImage(80, 16, 40, 8, 0xFFFFFF));
    ASSERT_TRUE(image);
    // Wider and taller than the image: clipped, nothing written outside.
    composePaletteItemPicture(*image, 100, 14, true, false);
    // Row 0 has weight 0: the top color itself.
    EXPECT_EQ(image->at(0, 0), 0xE0E0E0u);
    EXPECT_EQ(image->at(79, 0), 0xE0E0E0u);
    // Row 7 of 14 has weight 128: (0xE0 + 0x80) / 2 = 0xB0, (0xE0 + 0xA0) / 2 = 0xC0.
    EXPECT_EQ(image->at(5, 7) & 0xFFFFFFu, 0xB0C0B0u);
    // Rows below the given height keep what they held.
    EXPECT_EQ(image->at(5, 14), 0xFFFFFFu);

    composePaletteItemPicture(*image, 78, 14, false, true);
    EXPECT_EQ(image->at(0, 0), 0xB0B0C0u);
    // Row 13: weight 13 * 256 / 14 = 237; red (0xB0 * 19 + 0xFF * 237 + 128) >> 8 = 249, blue 250.
    EXPECT_EQ(image->at(0, 13) & 0xFFFFFFu, 0xF9F9FAu);
    EXPECT_EQ(image->at(78, 0), 0xE0E0E0u);  // beyond the width: the previous picture
}

}  // namespace
}  // namespace nelmora
