#include "render/render_tool.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <optional>
#include <cstdio>
#include <functional>

#include "picture/picture_files.h"
#include "script/render_script.h"

namespace nelmora {

namespace {

constexpr const char* kUsage =
    "usage: nelmora-render [--size WxH | --image IN] [--pens FILE.pen] [--events FILE] [--undo-memory MiB]\n"
    "                      [--frames DIR [--every N]] -o OUT.bmp|.png|.jpg|.webp|.tif";
constexpr int kBadInput = 2;
constexpr int kCannotWrite = 1;
constexpr int kOutOfMemory = 3;

struct Options {
    int32_t width = 200, height = 200;
    bool sized = false;
    std::string image, pens, events, output, frames;
    size_t undoBudget = kDefaultUndoBudget;
    bool undoBudgetGiven = false;
    int64_t every = 0;  // 0: --every not given
};

// A whole number from 1 to 10^9.
bool parseCount(const std::string& text, int64_t& out)
{
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::stoll(text);
    return out >= 1 && out <= 1000000000;
}

bool parseSize(const std::string& text, int32_t& width, int32_t& height)
{
    const size_t x = text.find('x');
    if (x == std::string::npos || x == 0 || x + 1 == text.size()) return false;
    auto number = [](const std::string& digits, int32_t& out) {
        if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        out = std::stoi(digits);
        return out > 0;
    };
    return number(text.substr(0, x), width) && number(text.substr(x + 1), height);
}

// Null with a message in `problem` when the arguments are not usable.
std::optional<Options> parseArguments(const std::vector<std::string>& args, std::string& problem)
{
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& flag = args[i];
        std::string* target = nullptr;
        if (flag == "--size" || flag == "--image" || flag == "--pens" || flag == "--events" || flag == "-o" ||
            flag == "--undo-memory" || flag == "--frames" || flag == "--every") {
            if (i + 1 == args.size()) {
                problem = flag + " needs a value";
                return std::nullopt;
            }
        } else {
            problem = "unknown argument '" + flag + "'";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (flag == "--size") {
            if (o.sized || !parseSize(value, o.width, o.height)) {
                problem = "--size wants WxH once, e.g. 640x480";
                return std::nullopt;
            }
            o.sized = true;
            continue;
        }
        if (flag == "--undo-memory") {
            const std::optional<size_t> budget = undoBudgetFromMiB(value);
            if (o.undoBudgetGiven || !budget) {
                problem = "--undo-memory wants a number of MiB (1 to 1048576) once";
                return std::nullopt;
            }
            o.undoBudget = *budget;
            o.undoBudgetGiven = true;
            continue;
        }
        if (flag == "--every") {
            if (o.every != 0 || !parseCount(value, o.every)) {
                problem = "--every wants a number of events (1 or more) once";
                return std::nullopt;
            }
            continue;
        }
        if (flag == "--frames") target = &o.frames;
        if (flag == "--image") target = &o.image;
        if (flag == "--pens") target = &o.pens;
        if (flag == "--events") target = &o.events;
        if (flag == "-o") target = &o.output;
        if (!target->empty()) {
            problem = flag + " given twice";
            return std::nullopt;
        }
        *target = value;
    }
    if (o.output.empty() && o.frames.empty()) problem = "-o OUT is required";
    else if (o.every != 0 && o.frames.empty()) problem = "--every needs --frames DIR";
    else if (o.sized && !o.image.empty()) problem = "--size and --image exclude each other";
    if (!problem.empty()) return std::nullopt;
    return o;
}

// The picture every `every` commands, as DIR/frame-000001.png and on.
class FrameWriter {
public:
    FrameWriter(const Workspace& workspace, std::string folder, int64_t every)
        : workspace_(workspace), folder_(std::move(folder)), every_(every)
    {
    }
    bool afterCommand(int64_t done)
    {
        if (done % every_ != 0) return true;
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06lld.png", static_cast<long long>(done / every_));
        const std::string path = (std::filesystem::path(folder_) / name).string();
        if (writePicture(workspace_.image(), path, &problem_)) return true;
        problem_ = "cannot write " + path + (problem_.empty() ? "" : ": " + problem_);
        return false;
    }
    const std::string& problem() const { return problem_; }

private:
    const Workspace& workspace_;
    std::string folder_;
    int64_t every_;
    std::string problem_;
};

int renderWith(const Options& options, std::istream& standardInput, std::ostream& errors)
{
    auto fail = [&errors](const std::string& message, int status) {
        errors << "nelmora-render: " << message << '\n';
        return status;
    };
    std::string problem;
    std::ifstream file;
    std::string folder = ".";
    if (!options.events.empty()) {
        if (std::filesystem::is_directory(options.events)) return fail("cannot read " + options.events + ": it is a folder", kBadInput);
        file.open(options.events, std::ios::binary);
        if (!file) return fail("cannot read " + options.events, kBadInput);
        const std::filesystem::path parent = std::filesystem::path(options.events).parent_path();
        if (!parent.empty()) folder = parent.string();
    }
    std::istream& script = options.events.empty() ? standardInput : file;
    const std::string scriptName = options.events.empty() ? "" : options.events + ": ";

    std::unique_ptr<Workspace> workspace;
    try {
        workspace = std::make_unique<Workspace>(options.width, options.height);
    } catch (const std::bad_alloc&) {
        return fail("cannot create a " + std::to_string(options.width) + "x" + std::to_string(options.height) +
                        " image",
                    kBadInput);
    }
    if (!options.image.empty()) {
        ImagePtr picture = readPicture(options.image, &problem);
        if (!picture) return fail("cannot read the image " + problem, kBadInput);
        if (!workspace->replaceImage(std::move(picture)))
            return fail("cannot read the image " + options.image, kBadInput);
    }
    // The given picture is where the script starts, not a step it can undo.
    workspace->clearHistory();
    workspace->setUndoBudget(options.undoBudget);
    if (!options.pens.empty()) {
        const std::filesystem::path path(options.pens);
        const std::string folder = path.has_parent_path() ? path.parent_path().string() : ".";
        if (!workspace->loadPens(folder, path.filename().string()))
            return fail("cannot load the pens " + options.pens, kBadInput);
    }

    if (!options.frames.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(options.frames, ignored);
    }
    FrameWriter frames(*workspace, options.frames, options.every ? options.every : 1);
    std::function<bool(int64_t)> afterCommand;
    if (!options.frames.empty()) afterCommand = [&frames](int64_t done) { return frames.afterCommand(done); };

    // Lines run as they are read; a failure at any line writes nothing.
    CanvasStroke canvas;
    ScriptRunner runner(*workspace, canvas, {folder, [](const std::string& path, std::string* error) {
                                                 return readPicture(path, error);
                                             }});
    if (!runner.run(script, problem, afterCommand)) return fail(scriptName + problem, kBadInput);
    if (!frames.problem().empty()) return fail(frames.problem(), kCannotWrite);
    if (!options.output.empty() && !writePicture(workspace->image(), options.output, &problem))
        return fail("cannot write " + options.output + (problem.empty() ? "" : ": " + problem), kCannotWrite);
    return 0;
}

}  // namespace

int runRenderTool(const std::vector<std::string>& args, std::istream& standardInput, std::ostream& errors)
{
    std::string problem;
    const std::optional<Options> options = parseArguments(args, problem);
    if (!options) {
        errors << "nelmora-render: " << problem << "\n" << kUsage << '\n';
        return kBadInput;
    }
    try {
        return renderWith(*options, standardInput, errors);
    } catch (const std::bad_alloc&) {
        errors << "nelmora-render: out of memory; nothing written\n";
        return kOutOfMemory;
    }
}

}  // namespace nelmora
