// Every SIMD level of the dab kernels against the one-pixel-at-a-time oracle:
// random maps, images, colors, angles and thicknesses, dabs at and across
// the image edges; pixels, update box, clamped values and the random state
// after the dab must all match.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "dab_reference.h"
#include "engine/blend_modes.h"
#include "engine/dab.h"
#include "engine/dab_kernels.h"

namespace nelmora {
namespace {

std::vector<SimdLevel> availableLevels()
{
    std::vector<SimdLevel> levels;
    for (SimdLevel level : {SimdLevel::scalar, SimdLevel::sse2, SimdLevel::avx2})
        if (dabKernelsFor(level)) levels.push_back(level);
    return levels;
}

// Restores the level in use when a test ends.
struct LevelGuard {
    SimdLevel saved = dabKernels().level;
    ~LevelGuard() { setSimdLevel(saved); }
};

struct RandomDab {
    explicit RandomDab(uint32_t seed) : rng(seed) {}

    int32_t pick(int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(rng); }
    bool chance(int percent) { return pick(0, 99) < percent; }

    ShapeMap* makeMap()
    {
        const int32_t w = pick(2, 40), h = pick(2, 40);
        ShapeMap* map = createShapeMap(w, h, pick(0, w * 256), pick(0, h * 256));
        // Blobs of coverage with zero patches, full coverage and single values.
        const int zeros = pick(0, 60);
        for (int32_t i = 0; i < w * h; ++i)
            map->coverage[i] = chance(zeros) ? 0 : uint8_t(chance(20) ? 255 : pick(1, 255));
        return map;
    }

    Image* makeImage()
    {
        const int32_t w = chance(5) ? 1 : pick(2, 90), h = chance(5) ? 1 : pick(2, 90);
        Image* image = createImage(w, h, 0, 0, 0);
        // Any top byte: the modes must keep or replace it exactly as the oracle.
        for (int32_t i = 0; i < w * h; ++i) {
            uint32_t p = uint32_t(rng());
            if (chance(30)) p &= 0x00FFFFFFu;
            if (chance(10)) p = (p & 0xFF000000u) | (uint32_t(pick(0, 255)) * 0x010101u);  // greys
            image->pixels[i] = p;
        }
        clearUpdate(image->update);
        return image;
    }

    SlotValues makeValues(int32_t group)
    {
        SlotValues v{};
        v[slot::hue1] = pick(0, 0x1FFFF);
        v[slot::saturation1] = chance(10) ? pick(-3000, 0x12000) : pick(0, 0xFFFF);
        v[slot::brightness1] = chance(10) ? pick(-3000, 0x12000) : pick(0, 0xFFFF);
        if (chance(50)) {
            v[slot::hue2] = v[slot::hue1];
            v[slot::saturation2] = v[slot::saturation1];
            v[slot::brightness2] = v[slot::brightness1];
        } else {
            v[slot::hue2] = pick(0, 0xFFFF);
            v[slot::saturation2] = pick(0, 0xFFFF);
            v[slot::brightness2] = pick(0, 0xFFFF);
        }
        // Thickness 0.01 to 3.0, with the exact steps of the fast paths often.
        const int32_t thicknesses[] = {0x10000, 0x20000, 0x8000, 0x30000};
        v[slot::thickness] = chance(30) ? thicknesses[pick(0, 3)] : pick(655, 0x30000);
        v[slot::interval] = pick(0, 0x40000);
        const int32_t angles[] = {0, 0x8000, 0x4000, 0xC000};
        v[slot::angle] = chance(40) ? angles[pick(0, 3)] : pick(0, 0xFFFF);
        v[slot::strength] = chance(20) ? 0xFFFF : pick(0, 0xFFFF);
        if (group != kColorGroup && chance(15)) v[slot::strength] = pick(-0x30000, 0x30000);
        if (group == kColorGroup && chance(10)) v[slot::strength] = pick(-3000, 0x12000);
        v[slot::motionAngle] = pick(0, 0xFFFF);
        v[slot::placement] = chance(50) ? 0 : pick(-3000, 3000);
        v[slot::placementAngle] = pick(0, 0xFFFF);
        v[slot::ex1] = pick(0, 0xFFFF);
        v[slot::ex2] = pick(-0x4000, 0x4000);
        return v;
    }

    std::mt19937 rng;
};

// One random dab drawn by the engine and by the oracle from equal starts.
void expectSameDab(RandomDab& r, int32_t code, SimdLevel level, int dabIndex)
{
    ShapeMap* map = r.makeMap();
    ImagePtr engineImage(r.makeImage());
    ImagePtr oracleImage(createImage(engineImage->width, engineImage->height, 0, 0, 0));
    std::memcpy(oracleImage->pixels, engineImage->pixels, size_t(engineImage->width) * engineImage->height * 4);
    clearUpdate(oracleImage->update);
    SlotValues engineValues = r.makeValues(code & 0xF00);
    SlotValues oracleValues = engineValues;
    // Centres from well outside the left and top edges to well past the right
    // and bottom ones, in sub-pixel steps.
    const int32_t reach = std::max(map->width, map->height) * (engineValues[slot::thickness] >> 8);
    const int32_t x = r.pick(-reach, engineImage->width * 256 + reach);
    const int32_t y = r.pick(-reach, engineImage->height * 256 + reach);
    RandomState engineRandom{uint32_t(r.rng())}, oracleRandom = engineRandom;

    const int32_t engineResult = drawDab(*engineImage, *map, engineValues, code, x, y, engineRandom);
    const int32_t oracleResult = drawDabReference(*oracleImage, *map, oracleValues, code, x, y, oracleRandom);

    char where[80];
    std::snprintf(where, sizeof where, "level %s, code 0x%X, dab %d", simdLevelName(level), unsigned(code), dabIndex);
    ASSERT_EQ(engineResult, oracleResult) << where;
    ASSERT_EQ(engineRandom.value, oracleRandom.value) << where;
    ASSERT_EQ(engineValues, oracleValues) << where;
    const UpdateRect& a = engineImage->update;
    const UpdateRect& b = oracleImage->update;
    ASSERT_TRUE(a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom) << where;
    const int32_t count = engineImage->width * engineImage->height;
    for (int32_t i = 0; i < count; ++i)
        ASSERT_EQ(engineImage->pixels[i], oracleImage->pixels[i])
            << where << ", pixel (" << i % engineImage->width << ", " << i / engineImage->width << ")";
    freeShapeMap(map);
}

TEST(DabSimd, EveryModeAtEveryLevelMatchesTheOracle)
{
    LevelGuard guard;
    for (SimdLevel level : availableLevels()) {
        ASSERT_TRUE(setSimdLevel(level));
        for (const BlendMode& mode : blendModes) {
            RandomDab r(uint32_t(mode.code) * 7919u + uint32_t(level));
            for (int i = 0; i < 400; ++i) ASSERT_NO_FATAL_FAILURE(expectSameDab(r, mode.code, level, i));
        }
    }
}

// Diffusions draw one number per covered pixel: large dabs over long rows
// (runs split into several kernel calls) must leave the generator where the
// oracle leaves it.
TEST(DabSimd, DiffusionsOnWideDabsKeepTheRandomSequence)
{
    LevelGuard guard;
    for (SimdLevel level : availableLevels()) {
        ASSERT_TRUE(setSimdLevel(level));
        for (int32_t code : {0x304, 0x305}) {
            ShapeMap* map = createShapeMap(200, 30, 100 * 256, 15 * 256);
            for (int32_t i = 0; i < 200 * 30; ++i) map->coverage[i] = uint8_t((i * 37) % 5 == 0 ? 0 : i * 13);
            ImagePtr engineImage(createImage(600, 60, 0, 0, 0x336699));
            ImagePtr oracleImage(createImage(600, 60, 0, 0, 0x336699));
            for (int32_t i = 0; i < 600 * 60; ++i)
                engineImage->pixels[i] = oracleImage->pixels[i] = uint32_t(i) * 2654435761u;
            SlotValues values{};
            values[slot::thickness] = 0x2A000;
            values[slot::strength] = 0xFFFF;
            values[slot::angle] = 0x0700;
            SlotValues oracleValues = values;
            RandomState engineRandom, oracleRandom;
            drawDab(*engineImage, *map, values, code, 300 * 256 + 77, 30 * 256, engineRandom);
            drawDabReference(*oracleImage, *map, oracleValues, code, 300 * 256 + 77, 30 * 256, oracleRandom);
            EXPECT_EQ(engineRandom.value, oracleRandom.value) << simdLevelName(level) << " " << code;
            EXPECT_EQ(0, std::memcmp(engineImage->pixels, oracleImage->pixels, 600 * 60 * 4))
                << simdLevelName(level) << " " << code;
            freeShapeMap(map);
        }
    }
}

// Scaled-up dabs: unrotated rows reuse the run and the samples of the row
// before (only while a row is one kernel call: boxes past 256 columns split),
// and every run loses its uncovered ends. A ring with empty rows, empty row
// ends and holes, scaled across that width, rotated or not, in every mode.
TEST(DabSimd, ScaledRingsWithEmptyEndsMatchTheOracle)
{
    LevelGuard guard;
    ShapeMap* map = createShapeMap(120, 50, 60 * 256 + 40, 25 * 256 + 200);
    for (int32_t y = 0; y < 50; ++y)
        for (int32_t x = 0; x < 120; ++x) {
            const int32_t dx = (x - 60) / 2, dy = y - 25, r = dx * dx + dy * dy;
            map->coverage[y * 120 + x] = uint8_t(r < 400 && r > 60 ? 40 + (x * 7 + y * 3) % 216 : 0);
        }
    for (SimdLevel level : availableLevels()) {
        ASSERT_TRUE(setSimdLevel(level));
        for (const BlendMode& mode : blendModes)
            for (int32_t thickness : {0x20000, 0x28000, 0x38000})
                for (int32_t angle : {0, 0x8000, 0x1234}) {
                    ImagePtr engineImage(createImage(320, 120, 0, 0, 0));
                    ImagePtr oracleImage(createImage(320, 120, 0, 0, 0));
                    for (int32_t i = 0; i < 320 * 120; ++i)
                        engineImage->pixels[i] = oracleImage->pixels[i] = uint32_t(i) * 2654435761u;
                    SlotValues values{0x1000, 50000, 60000, 0x9000, 30000, 40000, thickness, 5000, angle, 50000};
                    values[slot::ex1] = 0x2345;
                    values[slot::ex2] = 3000;
                    SlotValues oracleValues = values;
                    RandomState engineRandom{12345}, oracleRandom{12345};
                    drawDab(*engineImage, *map, values, mode.code, 170 * 256 + 30, 55 * 256 + 99, engineRandom);
                    drawDabReference(*oracleImage, *map, oracleValues, mode.code, 170 * 256 + 30, 55 * 256 + 99,
                                     oracleRandom);
                    const std::string where = std::string(simdLevelName(level)) + " code " +
                                              std::to_string(mode.code) + " thickness " + std::to_string(thickness) +
                                              " angle " + std::to_string(angle);
                    ASSERT_EQ(engineRandom.value, oracleRandom.value) << where;
                    ASSERT_EQ(0, std::memcmp(engineImage->pixels, oracleImage->pixels, 320 * 120 * 4)) << where;
                }
    }
    freeShapeMap(map);
}

// The bilinear batches clamp every sample into the image; images one pixel
// wide or high have no right or lower neighbour and take the per-sample path.
// Displacements and filters with far-reaching offsets on thin and tiny images.
TEST(DabSimd, SamplesOffThinAndTinyImagesClampLikeTheOracle)
{
    LevelGuard guard;
    ShapeMap* map = createShapeMap(30, 30, 15 * 256, 15 * 256);
    for (int32_t i = 0; i < 30 * 30; ++i) map->coverage[i] = uint8_t(i % 7 == 0 ? 0 : 60 + i % 190);
    const int32_t sizes[][2] = {{1, 40}, {40, 1}, {2, 2}, {3, 50}, {50, 3}, {37, 29}};
    for (SimdLevel level : availableLevels()) {
        ASSERT_TRUE(setSimdLevel(level));
        for (int32_t code : {0x301, 0x302, 0x303, 0x304, 0x305, 0x401, 0x402})
            for (const auto& size : sizes)
                for (int32_t reach : {300, 0x3000}) {
                    ImagePtr engineImage(createImage(size[0], size[1], 0, 0, 0));
                    ImagePtr oracleImage(createImage(size[0], size[1], 0, 0, 0));
                    for (int32_t i = 0; i < size[0] * size[1]; ++i)
                        engineImage->pixels[i] = oracleImage->pixels[i] = uint32_t(i + 1) * 2246822519u;
                    SlotValues values{};
                    values[slot::thickness] = 0x18000;
                    values[slot::strength] = 0xFFFF;
                    values[slot::interval] = reach * 64;
                    values[slot::motionAngle] = 0x2345;
                    values[slot::ex1] = 0x1234;
                    values[slot::ex2] = reach;
                    SlotValues oracleValues = values;
                    RandomState engineRandom{777}, oracleRandom{777};
                    const int32_t x = size[0] * 128 + 50, y = size[1] * 128 + 90;
                    drawDab(*engineImage, *map, values, code, x, y, engineRandom);
                    drawDabReference(*oracleImage, *map, oracleValues, code, x, y, oracleRandom);
                    EXPECT_EQ(0, std::memcmp(engineImage->pixels, oracleImage->pixels,
                                             size_t(size[0]) * size_t(size[1]) * 4))
                        << simdLevelName(level) << " code " << code << " image " << size[0] << " x " << size[1]
                        << " reach " << reach;
                }
    }
    freeShapeMap(map);
}

// One dab by the engine and by the oracle on copies of `pixels`; pixels and
// random state must match.
void expectLikeTheOracle(const ShapeMap& map, int32_t width, int32_t height, const SlotValues& values, int32_t code,
                         int32_t x, int32_t y, const std::string& where)
{
    ImagePtr engineImage(createImage(width, height, 0, 0, 0));
    ImagePtr oracleImage(createImage(width, height, 0, 0, 0));
    for (int32_t i = 0; i < width * height; ++i)
        engineImage->pixels[i] = oracleImage->pixels[i] = uint32_t(i + 7) * 2654435761u;
    SlotValues engineValues = values, oracleValues = values;
    RandomState engineRandom{99}, oracleRandom{99};
    drawDab(*engineImage, map, engineValues, code, x, y, engineRandom);
    drawDabReference(*oracleImage, map, oracleValues, code, x, y, oracleRandom);
    ASSERT_EQ(engineRandom.value, oracleRandom.value) << where;
    ASSERT_EQ(0, std::memcmp(engineImage->pixels, oracleImage->pixels, size_t(width) * size_t(height) * 4)) << where;
}

// Rotated rows sample only the pixels that land on the map, found from a
// reciprocal and corrected by stepping: every angle step, thicknesses from
// 0.01 to 3.0, centres on all four edges and corners and in the middle, with
// the whole map (color group) and without its last column and row (others).
TEST(DabSimd, RotatedRowsAtEveryAngleAndEdgeMatchTheOracle)
{
    LevelGuard guard;
    ShapeMap* map = createShapeMap(37, 23, 18 * 256 + 100, 11 * 256 + 30);
    for (int32_t i = 0; i < 37 * 23; ++i) map->coverage[i] = uint8_t(1 + (i * 29) % 255);
    const int32_t width = 70, height = 50;
    for (SimdLevel level : availableLevels()) {
        ASSERT_TRUE(setSimdLevel(level));
        for (int32_t code : {0x101, 0x302})
            for (int32_t angle = 0x0123; angle < 0x10000; angle += 0x0FF1)
                for (int32_t thickness : {655, 0x5F00, 0x10000, 0x29A00, 0x30000})
                    for (int32_t cx : {-300, width * 128 + 77, width * 256 + 200})
                        for (int32_t cy : {-150, height * 128 + 33, height * 256 + 90}) {
                            SlotValues values{0x1000, 50000, 60000, 0x9000, 30000, 40000, thickness, 5000, angle,
                                              50000};
                            ASSERT_NO_FATAL_FAILURE(expectLikeTheOracle(
                                *map, width, height, values, code, cx, cy,
                                std::string(simdLevelName(level)) + " code " + std::to_string(code) + " angle " +
                                    std::to_string(angle) + " thickness " + std::to_string(thickness) + " at " +
                                    std::to_string(cx) + ", " + std::to_string(cy)));
                        }
    }
    freeShapeMap(map);
}

// A map point placed near the 32-bit limit makes rotated rows' map positions
// wrap within the row: those rows are checked pixel by pixel. Every position
// stays far off the map, before the wrap and after it, so nothing is painted.
TEST(DabSimd, RotatedRowsWhoseMapPositionsWrapPaintNothingOffTheMap)
{
    LevelGuard guard;
    for (SimdLevel level : availableLevels()) {
        ASSERT_TRUE(setSimdLevel(level));
        for (int32_t below : {0, 3000, 9000, 17000}) {
            ShapeMap* map = createShapeMap(37, 23, INT32_MAX - below, 11 * 256 + 30);
            std::memset(map->coverage, 255, 37 * 23);
            for (int32_t angle : {0x0123, 0x3000, 0x9ABC, 0xF00F}) {
                ImagePtr image(createImage(70, 50, 0, 0, 0x123456));
                SlotValues values{0x1000, 50000, 60000, 0x9000, 30000, 40000, 0x10000, 5000, angle, 50000};
                RandomState random{1};
                drawDab(*image, *map, values, 0x101, 35 * 256, 25 * 256, random);
                for (int32_t i = 0; i < 70 * 50; ++i)
                    ASSERT_EQ(image->pixels[i], 0x123456u) << simdLevelName(level) << " below " << below << " angle "
                                                           << angle << " pixel " << i;
            }
            freeShapeMap(map);
        }
    }
}

// Mosaic reads its fixed-offset samples along the image row when the run's
// samples lie whole on the image, else per position: offsets of none (both
// fractions 0 keep a pixel's top byte), whole pixels and fractions, runs
// inside the image and across each of its edges.
TEST(DabSimd, MosaicRowsAtEveryOffsetMatchTheOracle)
{
    LevelGuard guard;
    ShapeMap* map = createShapeMap(30, 30, 15 * 256, 15 * 256);
    for (int32_t i = 0; i < 30 * 30; ++i) map->coverage[i] = uint8_t(i % 11 == 0 ? 0 : 30 + i % 220);
    for (SimdLevel level : availableLevels()) {
        ASSERT_TRUE(setSimdLevel(level));
        for (int32_t offset : {0, 16, 40, 200, -72, 1000})
            for (int32_t turn : {0, 0x1000, 0x2345, 0xC000})
                for (int32_t cx : {-200, 45 * 256 + 128, 90 * 256 + 20})
                    for (int32_t cy : {-100, 30 * 256 + 60, 60 * 256 + 200}) {
                        SlotValues values{};
                        values[slot::thickness] = 0x14000;
                        values[slot::strength] = 0xFFFF;
                        values[slot::ex1] = turn;
                        values[slot::ex2] = offset;
                        ASSERT_NO_FATAL_FAILURE(expectLikeTheOracle(
                            *map, 90, 60, values, 0x402, cx, cy,
                            std::string(simdLevelName(level)) + " offset " + std::to_string(offset) + " turn " +
                                std::to_string(turn) + " at " + std::to_string(cx) + ", " + std::to_string(cy)));
                    }
    }
    freeShapeMap(map);
}

TEST(DabSimd, LevelsAreChosenAndForcedByName)
{
    LevelGuard guard;
    // The portable level exists in every build; a level switched to is the one in use.
    ASSERT_NE(dabKernelsFor(SimdLevel::scalar), nullptr);
    for (SimdLevel level : availableLevels()) {
        EXPECT_TRUE(setSimdLevel(level));
        EXPECT_EQ(dabKernels().level, level);
        EXPECT_EQ(dabKernelsFor(level)->level, level);
    }
#if defined(NELMORA_FORCE_SCALAR) || !(defined(__x86_64__) || defined(_M_X64))
    EXPECT_EQ(availableLevels().size(), 1u);
#else
    EXPECT_NE(dabKernelsFor(SimdLevel::sse2), nullptr);
    EXPECT_EQ(dabKernelsFor(SimdLevel::avx2) != nullptr, __builtin_cpu_supports("avx2") != 0);
#endif
}

// Run by CTest once per level with NELMORA_SIMD set: the level named there
// is the one the program starts with, when the build and CPU have it.
TEST(DabSimd, EnvironmentForcesTheStartingLevel)
{
    const char* forced = std::getenv("NELMORA_SIMD");
    if (!forced) GTEST_SKIP() << "NELMORA_SIMD not set";
    for (SimdLevel level : availableLevels()) {
        if (std::strcmp(forced, simdLevelName(level)) == 0) {
            EXPECT_EQ(dabKernels().level, level);
        }
    }
}

}  // namespace
}  // namespace nelmora
