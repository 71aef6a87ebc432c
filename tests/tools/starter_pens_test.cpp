#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

#include "doc/canvas_stroke.h"
#include "doc/workspace.h"
#include "pen/pen_file.h"
#include "pen_description.h"

namespace nelmora {
namespace {

namespace fs = std::filesystem;

class StarterPens : public ::testing::Test {
protected:
    Workspace state{240, 120};
};

TEST_F(StarterPens, DescriptionsDefinePensOnly)
{
    std::istringstream good("# comment\npen 0 blendIndex 22\nslot 1 6 7 0x6000 0 0 0 5\n");
    std::string error;
    ASSERT_TRUE(applyPenDescription(good, state, error)) << error;
    EXPECT_EQ(state.pen(0).blendIndex, 22);
    EXPECT_EQ(state.pen(1).params[6].scaleA, 0x6000);
    EXPECT_EQ(state.pen(1).params[6].jitter, 5);

    // A stroke or a drawing value is not part of a pen: refused before anything changes.
    std::istringstream stroke("pen 0 blendIndex 3\ndown 10 10\n");
    EXPECT_FALSE(applyPenDescription(stroke, state, error));
    EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
    EXPECT_EQ(state.pen(0).blendIndex, 22);
    std::istringstream value("value 7 0x20000\n");
    EXPECT_FALSE(applyPenDescription(value, state, error));
    std::istringstream bad("slot 0 20 0 0 0 0 0 0\n");
    EXPECT_FALSE(applyPenDescription(bad, state, error));
}

// Two saturated colors in 8 x 8 squares: the effect pens need edges and hues to act on.
void fillColoredChecker(Image& image) { fillImage(image, 0x2050C0, 0xE0C040); }

// Changed pixels after a wavy stroke across the image with the loaded pens;
// a tablet pen's stroke carries its reading.
int paintStroke(Workspace& state, std::optional<PenReading> reading)
{
    const Image& image = state.image();
    fillColoredChecker(state.strokeImage());
    const std::vector<uint32_t> before(image.pixels, image.pixels + size_t(image.width) * size_t(image.height));
    resetDrawingValues(state.strokeValues());
    CanvasStroke canvas;
    canvas.buttonDown(state, 20, 60, reading);
    for (int x = 24; x <= 220; x += 4)
        canvas.mouseMove(state, x, 60 + int(std::lround(30 * std::sin(x / 25.0))), reading);
    canvas.buttonUp(state, 220, 60, [] {}, reading);
    int changed = 0;
    for (size_t i = 0; i < before.size(); ++i)
        if ((image.pixels[i] & 0xFFFFFF) != (before[i] & 0xFFFFFF)) ++changed;
    return changed;
}

TEST_F(StarterPens, EveryShippedPenLoadsAndPaints)
{
    const fs::path library = fs::path(NELMORA_BINARY_DIR) / "bin" / "Pen";
    std::vector<fs::path> pens;
    std::set<std::string> folders;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(library, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() != ".pen") continue;
        pens.push_back(it->path());
        folders.insert(it->path().parent_path().filename().string());
    }
    EXPECT_GE(pens.size(), 10u);
    EXPECT_GE(folders.size(), 4u);
    EXPECT_EQ(folders.count("tablet"), 1u);

    std::sort(pens.begin(), pens.end());
    for (const fs::path& pen : pens) {
        SCOPED_TRACE(pen.string());
        ASSERT_EQ(fs::file_size(pen), kPenFileSize);
        std::string error;
        ASSERT_TRUE(state.loadPens(pen.parent_path().string(), pen.filename().string(), &error)) << error;
        // A fifth of the pixels a 30-pixel-wide line over the stroke would cover;
        // the tablet's pens at half pressure, leaning right.
        const bool tablet = pen.parent_path().filename() == "tablet";
        EXPECT_GT(paintStroke(state, tablet ? std::optional(PenReading{0x8000, 0x4000}) : std::nullopt), 1000);
    }
}

}  // namespace
}  // namespace nelmora
