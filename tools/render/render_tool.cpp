#include "render/render_tool.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <optional>

#include "picture/picture_files.h"
#include "render/render_script.h"

namespace nelmora {

namespace {

constexpr const char* kUsage =
    "usage: nelmora-render [--size WxH | --image IN] [--pens FILE.pen] [--events FILE] [--undo-memory MiB]\n"
    "                      -o OUT.bmp|.png|.jpg|.webp|.tif";
constexpr int kBadInput = 2;
constexpr int kCannotWrite = 1;

struct Options {
    int32_t width = 200, height = 200;
    bool sized = false;
    std::string image, pens, events, output;
    size_t undoBudget = kDefaultUndoBudget;
    bool undoBudgetGiven = false;
};

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
            flag == "--undo-memory") {
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
    if (o.output.empty()) problem = "-o OUT is required";
    else if (o.sized && !o.image.empty()) problem = "--size and --image exclude each other";
    if (!problem.empty()) return std::nullopt;
    return o;
}

}  // namespace

int runRenderTool(const std::vector<std::string>& args, std::istream& standardInput, std::ostream& errors)
{
    auto fail = [&errors](const std::string& message, int status) {
        errors << "nelmora-render: " << message << '\n';
        return status;
    };
    std::string problem;
    const std::optional<Options> options = parseArguments(args, problem);
    if (!options) return fail(problem + "\n" + kUsage, kBadInput);

    std::vector<ScriptCommand> commands;
    if (options->events.empty()) {
        if (!parseRenderScript(standardInput, commands, problem)) return fail(problem, kBadInput);
    } else {
        std::ifstream file(options->events);
        if (!file) return fail("cannot read " + options->events, kBadInput);
        if (!parseRenderScript(file, commands, problem)) return fail(options->events + ": " + problem, kBadInput);
    }

    std::unique_ptr<Workspace> workspace;
    try {
        workspace = std::make_unique<Workspace>(options->width, options->height);
    } catch (const std::bad_alloc&) {
        return fail("cannot create a " + std::to_string(options->width) + "x" + std::to_string(options->height) +
                        " image",
                    kBadInput);
    }
    if (!options->image.empty()) {
        ImagePtr picture = readPicture(options->image, &problem);
        if (!picture) return fail("cannot read the image " + problem, kBadInput);
        if (!workspace->replaceImage(std::move(picture)))
            return fail("cannot read the image " + options->image, kBadInput);
    }
    // The given picture is where the script starts, not a step it can undo.
    workspace->clearHistory();
    workspace->setUndoBudget(options->undoBudget);
    if (!options->pens.empty()) {
        const std::filesystem::path path(options->pens);
        const std::string folder = path.has_parent_path() ? path.parent_path().string() : ".";
        if (!workspace->loadPens(folder, path.filename().string()))
            return fail("cannot load the pens " + options->pens, kBadInput);
    }

    CanvasStroke canvas;
    runRenderScript(*workspace, canvas, commands);
    if (!writePicture(workspace->image(), options->output, &problem))
        return fail("cannot write " + options->output + (problem.empty() ? "" : ": " + problem), kCannotWrite);
    return 0;
}

}  // namespace nelmora
