// The render tool reads any picture Open reads and writes by the output's
// extension, as Save does. (Kept here, beside the picture tests, because it
// needs Qt's image plug-ins; the tool's other tests live in tests/tools.)
#include <gtest/gtest.h>

#include <sstream>

#include "image/bmp_file.h"
#include "image/temp_files.h"
#include "picture/picture_files.h"
#include "picture_test_util.h"
#include "render/render_tool.h"

namespace nelmora {
namespace {

using namespace testing_files;
using namespace picture_testing;

struct RenderFormats : ::testing::Test {
    int run(const std::vector<std::string>& args, const std::string& script = "")
    {
        std::istringstream in(script);
        std::ostringstream err;
        const int status = runRenderTool(args, in, err);
        errors = err.str();
        return status;
    }
    TempDir dir;
    std::string errors;
};

const char* const kStroke = "down 10 10\nmove 30 20\nup 30 20\n";

TEST_F(RenderFormats, ReadsAndWritesEveryFormat)
{
    const ImagePtr original = patterned(60, 40);
    ASSERT_EQ(run({"--image", "/dev/null", "-o", dir.file("x.bmp")}), 2);  // sanity: a bad input is refused
    for (const char* input : {"in.png", "in.webp", "in.tif", "in.bmp"}) {
        SCOPED_TRACE(input);
        ASSERT_TRUE(writePicture(*original, dir.file(input)));
        // An empty script writes the picture back unchanged.
        ASSERT_EQ(run({"--image", dir.file(input), "-o", dir.file("copy.png")}), 0) << errors;
        ImagePtr copy = readPicture(dir.file("copy.png"));
        ASSERT_TRUE(copy);
        ASSERT_EQ(copy->width, 60);
        ASSERT_EQ(copy->height, 40);
        for (int32_t i = 0; i < 60 * 40; ++i) ASSERT_EQ(copy->pixels[i], original->pixels[i]) << i;
    }
}

TEST_F(RenderFormats, OutputFormatFollowsTheExtensionAndBmpStaysAsBefore)
{
    ASSERT_EQ(run({"-o", dir.file("a.bmp")}, kStroke), 0) << errors;
    ASSERT_EQ(run({"-o", dir.file("a.PNG")}, kStroke), 0) << errors;
    ASSERT_EQ(run({"-o", dir.file("a.out")}, kStroke), 0) << errors;
    const std::vector<uint8_t> bmp = readAll(dir.file("a.bmp"));
    ASSERT_GE(bmp.size(), kBmpHeaderSize);
    EXPECT_TRUE(isPlainBmpHeader(bmp.data(), bmp.size()));
    EXPECT_EQ(readAll(dir.file("a.out")), bmp);
    const std::vector<uint8_t> png = readAll(dir.file("a.PNG"));
    ASSERT_GE(png.size(), 4u);
    EXPECT_EQ(png[1], 'P');
    ImagePtr fromBmp = readPicture(dir.file("a.bmp"));
    ImagePtr fromPng = readPicture(dir.file("a.PNG"));
    ASSERT_TRUE(fromBmp && fromPng);
    EXPECT_EQ(encodeBmp(*fromPng), bmp);
}

TEST_F(RenderFormats, UnreadableInputAndUnwritableOutputAreReported)
{
    writeAll(dir.file("bad.png"), {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0});
    EXPECT_EQ(run({"--image", dir.file("bad.png"), "-o", dir.file("out.png")}), 2);
    EXPECT_NE(errors.find(dir.file("bad.png") + ": "), std::string::npos) << errors;
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.png")));

    // Wider than WebP allows: the old output stays.
    writeAll(dir.file("old.webp"), {'o', 'l', 'd'});
    EXPECT_EQ(run({"--size", "16384x1", "-o", dir.file("old.webp")}), 1);
    EXPECT_NE(errors.find(dir.file("old.webp")), std::string::npos) << errors;
    EXPECT_EQ(readAll(dir.file("old.webp")), (std::vector<uint8_t>{'o', 'l', 'd'}));
}

}  // namespace
}  // namespace nelmora
