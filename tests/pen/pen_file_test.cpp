#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <iterator>

#include "image/temp_files.h"
#include "pen/pen_file.h"

namespace nelmora {
namespace {

using namespace testing_files;

int32_t i32(const std::vector<uint8_t>& b, size_t at)
{
    return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24);
}

void setI32(std::vector<uint8_t>& b, size_t at, int32_t value)
{
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(uint32_t(value) >> (8 * i));
}

// Offsets inside one 7072-byte block.
constexpr size_t kSlots = 6416;
constexpr size_t kRecord = 6896;
constexpr size_t kSettings = 7032;

struct PenFile : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(makeDefaultPens(pens.data()));
        for (size_t n = 0; n < table.size(); ++n) table[n] = &blocks[n];
        for (int k = 0; k < kShapeSettingCount; ++k) {
            shapeSetting(blocks[0], k) = 100 + k;
            shapeSetting(blocks[1], k) = -200 - k;
        }
        ASSERT_FALSE(dir.path().empty());
    }
    void TearDown() override
    {
        freePen(pens[0]);
        freePen(pens[1]);
    }
    // Everything a load may change, plus the storage it must keep.
    struct Snapshot {
        std::vector<uint8_t> bytes;
        std::array<const void*, 4> storage;
        int32_t strides[2];
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() const
    {
        return {encodePenFile(pens, table),
                {pens[0]->shape, pens[0]->params, pens[1]->shape, pens[1]->params},
                {pens[0]->shape->stride, pens[1]->shape->stride}};
    }
    std::vector<uint8_t> saved()
    {
        EXPECT_TRUE(savePenFile(pens, table, dir.path(), "a.pen"));
        return readAll(dir.file("a.pen"));
    }

    PenTable pens{};
    std::array<ShapeSettings, kPenCount> blocks{};
    ShapeSettingsTable table{};
    TempDir dir;
};

TEST_F(PenFile, DefaultPensLayout)
{
    const std::vector<uint8_t> b = saved();
    ASSERT_EQ(b.size(), 14144u);
    EXPECT_EQ(i32(b, 0), 80);
    EXPECT_EQ(i32(b, 4), 80);
    EXPECT_EQ(i32(b, 8), 10240);
    EXPECT_EQ(i32(b, 12), 10240);
    EXPECT_EQ(b[16 + 40 * 80 + 62], 126);            // pen 0 shape byte (62, 40)
    EXPECT_EQ(b[7072 + 16 + 40 * 80 + 44], 252);     // pen 1 shape byte (44, 40)
    EXPECT_EQ(i32(b, kSlots + 3 * 24), 1);           // pen 0 slot 3 sourceA
    EXPECT_EQ(i32(b, kSlots + 3 * 24 + 4), 0x10000); // its scaleA
    EXPECT_EQ(i32(b, 7072 + kSlots + 8 * 24 + 8), 12);  // pen 1 slot 8 sourceB
    EXPECT_EQ(i32(b, kRecord), 0);                   // the two memory references
    EXPECT_EQ(i32(b, kRecord + 4), 0);
    EXPECT_EQ(i32(b, kRecord + 44), 1);
    EXPECT_EQ(i32(b, 7072 + kRecord + 44), 0);
    EXPECT_EQ(i32(b, kSettings + 4), 101);           // pen 0 msize
    EXPECT_EQ(i32(b, 7072 + kSettings + 36), -209);  // pen 1 rand3
}

// The pen record after the two references: twelve words in a fixed order, then
// the twenty last outputs. Each field gets its own value, so two fields
// written to each other's places show up in both directions.
TEST_F(PenFile, RecordFieldsSitAtTheirOffsets)
{
    Pen& p = *pens[1];
    int32_t Pen::*const fields[] = {&Pen::blendIndex, &Pen::lastX, &Pen::lastDX,   &Pen::lastDY,
                                    &Pen::lastY,      &Pen::dabX,  &Pen::dabY,     &Pen::carry,
                                    &Pen::reserved,   &Pen::drawMode, &Pen::lineColor, &Pen::endFlag};
    for (size_t i = 0; i < std::size(fields); ++i) p.*fields[i] = int32_t(0x1000 + i);
    for (size_t i = 0; i < p.lastOutputs.size(); ++i) p.lastOutputs[i] = int32_t(0x2000 + i);
    std::vector<uint8_t> b = encodePenFile(pens, table);
    ASSERT_EQ(b.size(), kPenFileSize);
    const size_t record = kPenBlockSize + kRecord;
    EXPECT_EQ(i32(b, record + 8), 0x1000);    // blendIndex
    EXPECT_EQ(i32(b, record + 36), 0x1007);   // carry
    EXPECT_EQ(i32(b, record + 40), 0x1008);   // reserved
    EXPECT_EQ(i32(b, record + 44), 0x1009);   // drawMode
    EXPECT_EQ(i32(b, record + 52), 0x100B);   // endFlag
    for (size_t i = 0; i < 12; ++i) EXPECT_EQ(i32(b, record + 8 + 4 * i), int32_t(0x1000 + i)) << i;
    for (size_t i = 0; i < 20; ++i) EXPECT_EQ(i32(b, record + 56 + 4 * i), int32_t(0x2000 + i)) << i;
    EXPECT_EQ(record + 56 + 4 * 20, kPenBlockSize + kSettings);

    // And back: a file with carry 77 and reserved 88 loads them where they belong.
    setI32(b, record + 36, 77);
    setI32(b, record + 40, 88);
    ASSERT_TRUE(decodePenFile(b.data(), b.size(), pens, table));
    EXPECT_EQ(p.carry, 77);
    EXPECT_EQ(p.reserved, 88);
    EXPECT_EQ(p.dabY, 0x1006);
    EXPECT_EQ(p.drawMode, 0x1009);
}

TEST_F(PenFile, LoadRestoresEveryFieldInTheSameStorage)
{
    pens[0]->lastOutputs[19] = 77;
    pens[1]->reserved = 5;
    const Snapshot before = snapshot();
    saved();
    pens[0]->params[7].base = 999;
    pens[0]->params[7].jitter = 3;
    pens[1]->drawMode = 2;
    pens[1]->blendIndex = 9;
    pens[1]->lastOutputs[19] = 1;
    pens[0]->shape->coverage[6399] = 55;
    pens[1]->shape->centerX = 1;
    blocks[1].rot = 4;
    ASSERT_NE(snapshot(), before);
    ASSERT_TRUE(loadPenFile(pens, table, dir.path() + "/", "a.pen"));
    EXPECT_EQ(snapshot(), before);
}

TEST_F(PenFile, ShortFilesChangeNothing)
{
    std::vector<uint8_t> b = saved();
    pens[0]->params[0].base = 12;
    const Snapshot before = snapshot();
    std::string error;
    for (size_t size : {size_t(14143), size_t(100), size_t(0)}) {
        writeAll(dir.file("short.pen"), std::vector<uint8_t>(b.begin(), b.begin() + std::ptrdiff_t(size)));
        EXPECT_FALSE(loadPenFile(pens, table, dir.path(), "short.pen", &error)) << size;
        EXPECT_EQ(snapshot(), before) << size;
    }
    EXPECT_NE(error.find(dir.file("short.pen")), std::string::npos);
    EXPECT_FALSE(loadPenFile(pens, table, dir.path(), "missing.pen", &error));
    EXPECT_EQ(error, dir.file("missing.pen") + ": " + std::strerror(ENOENT));
}

TEST_F(PenFile, ShapesThatDoNotFitTheMapChangeNothing)
{
    const std::vector<uint8_t> good = saved();
    pens[0]->params[0].base = 12;
    const Snapshot before = snapshot();
    // (offset of width or height, value); 0x40000000 × 80 wraps to 0 in 32 bits.
    const std::pair<size_t, int32_t> faults[] = {
        {0, 81}, {4, 81}, {0, 0}, {4, -1}, {0, 0x40000000}, {4, INT32_MIN},
        {7072, 81}, {7072 + 4, 0x7FFFFFFF}, {7072, -80},
    };
    for (auto [at, value] : faults) {
        std::vector<uint8_t> b = good;
        setI32(b, at, value);
        EXPECT_FALSE(decodePenFile(b.data(), b.size(), pens, table)) << at << " " << value;
        EXPECT_EQ(snapshot(), before) << at << " " << value;
    }
}

TEST_F(PenFile, OddButHarmlessValuesLoadAsTheyAre)
{
    std::vector<uint8_t> b = saved();
    setI32(b, 0, 40);  // a narrower shape still fits the 80-wide map
    setI32(b, 7072 + 4, 1);
    setI32(b, kSlots, 99);                     // pen 0 slot 0 sourceA
    setI32(b, kRecord + 8, 50);                // pen 0 blendIndex
    setI32(b, 7072 + kRecord + 44, 7);         // pen 1 drawMode
    setI32(b, kRecord, 0x12345678);            // references are ignored
    ASSERT_TRUE(decodePenFile(b.data(), b.size(), pens, table));
    EXPECT_EQ(pens[0]->shape->width, 40);
    EXPECT_EQ(pens[0]->shape->stride, 80);
    EXPECT_EQ(pens[1]->shape->height, 1);
    EXPECT_EQ(pens[0]->params[0].sourceA, 99);
    EXPECT_EQ(pens[0]->blendIndex, 50);
    EXPECT_EQ(pens[1]->drawMode, 7);
}

TEST_F(PenFile, LongerFilesAreReplacedAndReadOnlyAsFarAsTwoPens)
{
    writeAll(dir.file("a.pen"), std::vector<uint8_t>(20000, 0xEE));
    std::vector<uint8_t> b = saved();
    EXPECT_EQ(b.size(), 14144u);
    b.resize(20000, 0xEE);
    pens[1]->endFlag = 1;
    writeAll(dir.file("long.pen"), b);
    ASSERT_TRUE(loadPenFile(pens, table, dir.path(), "long.pen"));
    EXPECT_EQ(pens[1]->endFlag, 0);
}

TEST_F(PenFile, FailedSaveKeepsTheOldFileAndSaysWhy)
{
    const std::vector<uint8_t> old(14144, 0x33);
    writeAll(dir.file("a.pen"), old);
    std::string error;
    {
        FileSizeLimit limit(1000);
        EXPECT_FALSE(savePenFile(pens, table, dir.path(), "a.pen", &error));
    }
    EXPECT_EQ(error, dir.file("a.pen") + ": " + std::strerror(EFBIG));
    EXPECT_EQ(readAll(dir.file("a.pen")), old);
    EXPECT_EQ(dir.entryCount(), 1u);

    EXPECT_FALSE(savePenFile(pens, table, dir.file("absent"), "b.pen", &error));
    EXPECT_EQ(error, dir.file("absent/b.pen") + ": " + std::strerror(ENOENT));
    EXPECT_FALSE(savePenFile(pens, table, dir.file("a.pen"), "b.pen", &error));
    EXPECT_EQ(readAll(dir.file("a.pen")), old);
}

TEST_F(PenFile, MissingPensAreNeitherSavedNorLoaded)
{
    PenTable none = pens;
    none[1] = nullptr;
    std::string error;
    EXPECT_FALSE(savePenFile(none, table, dir.path(), "c.pen", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("c.pen")));
    const std::vector<uint8_t> b = saved();
    ShapeSettingsTable noSettings = table;
    noSettings[0] = nullptr;
    EXPECT_FALSE(decodePenFile(b.data(), b.size(), pens, noSettings));
}

TEST(JoinPath, OneSeparatorBetweenFolderAndName)
{
    EXPECT_EQ(joinPath("/pens", "a.pen"), "/pens/a.pen");
    EXPECT_EQ(joinPath("/pens/", "a.pen"), "/pens/a.pen");
    EXPECT_EQ(joinPath("", "a.pen"), "a.pen");
}

TEST_F(PenFile, PathsLongerThan255CharactersWork)
{
    const std::string folder = dir.file(std::string(200, 'f'));
    std::filesystem::create_directory(folder);
    const std::string name = std::string(100, 'n') + ".pen";
    ASSERT_GT(joinPath(folder, name).size(), 300u);
    const Snapshot before = snapshot();
    ASSERT_TRUE(savePenFile(pens, table, folder, name));
    pens[0]->drawMode = 0;
    ASSERT_TRUE(loadPenFile(pens, table, folder, name));
    EXPECT_EQ(snapshot(), before);
}

}  // namespace
}  // namespace nelmora
