// Pen file names that are not UTF-8: shown decoded, opened by their own bytes.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

#include "pen/pen_file.h"
#include "pentools/pen_library.h"
#include "text/shift_jis.h"

namespace nelmora {
namespace {

namespace fs = std::filesystem;

// "ペン" and "表" in CP932; the second byte of "表" is '\\' in ASCII.
const std::string kPenSjis = "\x83\x79\x83\x93";
const std::string kTableSjis = "\x95\x5C";

TEST(PenItemText, ShiftJisNamesAreDecodedAndUtf8NamesKept)
{
    EXPECT_EQ(itemText(kPenSjis + ".pen"), "ペン");
    EXPECT_EQ(itemText(kTableSjis + "1.pen"), "表1");
    EXPECT_EQ(itemText("ソフト.pen"), "ソフト");
    EXPECT_EQ(itemText("soft.pen"), "soft");
    EXPECT_EQ(itemText("Brushes"), "Brushes");
    // Neither UTF-8 nor CP932: still valid text to draw, never raw bytes.
    const std::string broken = itemText("a\x80\xFF.pen");
    EXPECT_TRUE(isValidUtf8(broken));
    EXPECT_EQ(broken.front(), 'a');
}

TEST(PenItemText, Utf8CheckRejectsMalformedSequences)
{
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("ascii"));
    EXPECT_TRUE(isValidUtf8("ペン\xF0\x9F\x96\x8C"));  // up to four bytes
    EXPECT_FALSE(isValidUtf8(kPenSjis));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));              // overlong '/'
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));          // overlong '/'
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));          // a surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));      // past U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xE3\x83"));              // cut short
    EXPECT_FALSE(isValidUtf8("\xE3\x83" "a"));
}

TEST(PenItemText, ShiftJisNamedPenFilesAreListedAndLoadedByTheirBytes)
{
    const fs::path base = fs::temp_directory_path() / "nelmora_sjis_names";
    fs::remove_all(base);
    fs::create_directories(base / "Pen" / kPenSjis);
    const std::string root = (base / "Pen").string() + kPathSeparator;
    const std::string folder = root + kPenSjis + kPathSeparator;

    PenTable pens{};
    ASSERT_TRUE(makeDefaultPens(pens.data()));
    std::array<ShapeSettings, kPenCount> blocks{};
    ShapeSettingsTable table{};
    for (size_t n = 0; n < table.size(); ++n) table[n] = &blocks[n];
    ASSERT_TRUE(savePenFile(pens, table, folder, kTableSjis + ".pen"));

    const std::vector<LibraryItem> items = listPenLibrary(root, folder);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].name, kPenSjis);
    EXPECT_EQ(itemText(items[0].name), "ペン");
    EXPECT_EQ(items[1].folder, folder);
    EXPECT_EQ(items[1].name, kTableSjis + ".pen");
    EXPECT_EQ(itemText(items[1].name), "表");
    std::string error;
    EXPECT_TRUE(loadPenFile(pens, table, items[1].folder, items[1].name, &error)) << error;

    for (Pen* pen : pens) freePen(pen);
    fs::remove_all(base);
}

}  // namespace
}  // namespace nelmora
