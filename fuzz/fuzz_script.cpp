// Any script goes through the render tool's reader and runner until its end
// or a line they refuse, with a reason. What ran was recorded: the recording,
// replayed on a fresh workspace, paints the same picture with the same pens,
// values, generator and history. Undoing every step then gives the start
// picture back, and redoing them the end picture.
//
// So that a run stays fast, the harness skips (never changes) scripts that
// would take it long; the product runs them all. Skipped are: more than
// kMaxCommands commands; `new` pictures over kMaxPicturePixels; and strokes
// whose dabs could cost too much (StrokeBudget). `image` lines open no file:
// the harness makes a picture of at most 128 x 128 from the name.
#include <cmath>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_checks.h"
#include "script/recorder.h"
#include "script/render_script.h"

using namespace nelmora;

namespace {

constexpr int32_t kCanvasSize = 64;
constexpr int kMaxCommands = 256;
constexpr int64_t kMaxPicturePixels = 256 * 256;
constexpr int32_t kLargestOpened = 128;

// The engine places a dab every 5/256 pixel at the closest, so a stroke
// places up to 52 dabs per pixel of its path, and a huge thickness makes
// every dab cover the whole picture. Both the path and the path times the
// largest picture the script can reach are capped.
constexpr double kMaxPathPixels = 4096;
constexpr double kMaxPathTimesPicture = double(1 << 18);

class StrokeBudget {
public:
    // False once the script could cost more than the caps allow.
    bool take(const ScriptCommand& command)
    {
        const auto& a = command.args;
        switch (command.op) {
        case ScriptOp::newImage:
            if (int64_t(a[0]) * a[1] > kMaxPicturePixels) return false;
            largestPicture_ = std::max(largestPicture_, double(a[0]) * a[1]);
            break;
        case ScriptOp::image:
            largestPicture_ = std::max(largestPicture_, double(kLargestOpened) * kLargestOpened);
            break;
        case ScriptOp::down:
            stroking_ = true;
            strokePath_ = 0;
            break;
        case ScriptOp::move:
            if (stroking_) addPath(std::hypot(double(a[0]) - lastX_, double(a[1]) - lastY_));
            break;
        case ScriptOp::up:
            if (stroking_) lastStrokePath_ = strokePath_;
            stroking_ = false;
            break;
        case ScriptOp::repaint: addPath(lastStrokePath_); break;
        default: break;
        }
        if (command.op == ScriptOp::down || command.op == ScriptOp::move || command.op == ScriptOp::up)
            lastX_ = a[0], lastY_ = a[1];
        return path_ <= kMaxPathPixels && work_ <= kMaxPathTimesPicture;
    }

private:
    void addPath(double length)
    {
        strokePath_ += length;
        path_ += length;
        // Undo and redo can bring any earlier picture back.
        work_ += length * largestPicture_;
    }

    double largestPicture_ = double(kCanvasSize) * kCanvasSize;
    bool stroking_ = false;
    double lastX_ = 0, lastY_ = 0;
    double strokePath_ = 0, lastStrokePath_ = 0, path_ = 0, work_ = 0;
};

// Whether the harness runs the script: the commands up to the first line the
// runner would refuse, checked with the runner's own line parser.
bool withinLimits(std::string_view script)
{
    StrokeBudget budget;
    int commands = 0;
    ScriptCommand command{};
    while (!script.empty()) {
        const size_t end = std::min(script.find('\n'), script.size());
        const std::string_view line = script.substr(0, end);
        script.remove_prefix(std::min(end + 1, script.size()));
        if (line.size() > kMaxScriptLine) return true;
        bool isCommand = false;
        if (!parseScriptLine(line, command, isCommand).empty()) return true;
        if (!isCommand) continue;
        if (++commands > kMaxCommands || !budget.take(command)) return false;
    }
    return true;
}

// The picture an `image` line opens: size and colors from its name; a name
// holding '?' names no picture.
ImagePtr pictureNamed(const std::string& path, std::string* error)
{
    if (path.find('?') != std::string::npos) {
        *error = "no such picture";
        return nullptr;
    }
    uint32_t hash = 2166136261u;
    for (char c : path) hash = (hash ^ uint8_t(c)) * 16777619u;
    const int32_t width = 1 + int32_t(hash % kLargestOpened), height = 1 + int32_t(hash / kLargestOpened % kLargestOpened);
    ImagePtr picture(createImage(width, height, width / 2, height / 2, 0));
    require(picture != nullptr);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) picture->at(x, y) = (hash >> 8) ^ (uint32_t(x * 0x010305 + y * 0x070503) & 0xFFFFFF);
    return picture;
}

// Runs `script` and ends a stroke left under way; false when a line stopped it.
bool runScript(Workspace& workspace, const std::string& script, const PictureReader& reader)
{
    CanvasStroke canvas;
    ScriptRunner runner(workspace, canvas, {"", reader});
    std::istringstream in(script);
    std::string error;
    const bool finished = runner.run(in, error);
    require(finished == error.empty() && (finished || error.rfind("line ", 0) == 0));
    if (canvas.stroking()) require(runner.runCommand({ScriptOp::up, 0, {}, {}, {}}, error));
    require(!canvas.stroking());
    return finished;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string script(reinterpret_cast<const char*>(data), size);
    if (!withinLimits(script)) return -1;

    Workspace workspace(kCanvasSize, kCanvasSize);
    const ImagePtr start = copyOf(workspace.image());
    std::vector<ImagePtr> opened;
    Recorder recorder(workspace, [&opened](const Image& picture) {
        opened.push_back(copyOf(picture));
        return std::to_string(opened.size());
    });
    runScript(workspace, script, pictureNamed);
    require(recorder.complete());

    // The recording names the pictures it opened by their place in `opened`.
    const std::string recording = recorder.script([](size_t n) { return "opened-" + std::to_string(n); });
    Workspace replay(kCanvasSize, kCanvasSize);
    const PictureReader keptPicture = [&opened](const std::string& path, std::string*) {
        const size_t n = std::stoul(path.substr(path.find('-') + 1));
        require(n < opened.size());
        return copyOf(*opened[n]);
    };
    require(runScript(replay, recording, keptPicture));
    require(samePixels(replay.image(), workspace.image()));
    require(replay.random().value == workspace.random().value);
    require(replay.drawingValues() == workspace.drawingValues());
    require(replay.penFileBytes() == workspace.penFileBytes());
    require(replay.history().stepCount() == workspace.history().stepCount() &&
            replay.history().undoableCount() == workspace.history().undoableCount());

    checkHistoryRoundTrip(workspace, *start);
    return 0;
}
