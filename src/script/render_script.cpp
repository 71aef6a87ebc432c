#include "script/render_script.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ios>


namespace nelmora {

namespace {

constexpr int64_t kMouseMin = -32768, kMouseMax = 65535;

// Decimal or 0x-hex, optionally negative, from -2^31 to 2^32 - 1; values
// above 2^31 - 1 are taken modulo 2^32, so 0xFFFFFFFF reads as -1.
bool parseNumber(std::string_view token, int32_t& out)
{
    bool negative = false;
    if (!token.empty() && token.front() == '-') {
        negative = true;
        token.remove_prefix(1);
    }
    int base = 10;
    if (token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
        base = 16;
        token.remove_prefix(2);
    }
    if (token.empty()) return false;
    int64_t magnitude = 0;
    for (char c : token) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return false;
        magnitude = magnitude * base + digit;
        if (magnitude > 0xFFFFFFFFLL) return false;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN) return false;
    out = int32_t(uint32_t(value));
    return true;
}

struct CommandShape {
    std::string_view name;
    ScriptOp op;
    int numbers;              // arguments after the name; -1: one word of text
    int optionalNumbers = 0;  // that may follow them, all or none
};

// A point's optional numbers: a tablet's pressure and pen angle.
constexpr int kReadingNumbers = 2;

constexpr CommandShape kCommands[] = {
    {"down", ScriptOp::down, 2, kReadingNumbers},
    {"move", ScriptOp::move, 2, kReadingNumbers},
    {"up", ScriptOp::up, 2, kReadingNumbers},
    {"pick", ScriptOp::pick, 2},   {"value", ScriptOp::value, 2},   {"pen", ScriptOp::pen, 3},
    {"slot", ScriptOp::slot, 8},   {"shape", ScriptOp::shape, 11},  {"regen", ScriptOp::regen, 1},
    {"fill", ScriptOp::fill, 1},   {"undo", ScriptOp::undo, 0},     {"redo", ScriptOp::redo, 0},
    {"repaint", ScriptOp::repaint, 0}, {"new", ScriptOp::newImage, 3}, {"image", ScriptOp::image, -1},
    {"pens", ScriptOp::pens, -1},  {"random", ScriptOp::random, 1},  {"cancel", ScriptOp::cancel, 0},
};

constexpr std::string_view kPenFields[] = {"drawMode", "lineColor", "endFlag", "blendIndex"};
constexpr std::string_view kFillPatterns[] = {"white", "checker", "black"};

// The index of `word` in `names`, or -1. Pen field words are in PenField order.
template <size_t N>
int32_t wordIndex(const std::string_view (&names)[N], std::string_view word)
{
    for (size_t i = 0; i < N; ++i)
        if (names[i] == word) return int32_t(i);
    return -1;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> splitWords(std::string_view text)
{
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i])) ++i;
        const size_t start = i;
        while (i < text.size() && !isBlank(text[i])) ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The text argument of "image" (the rest of the line) and "pens" (hex bytes).
std::string parseText(const CommandShape& shape, std::string_view rest, ScriptCommand& command)
{
    if (rest.empty()) return "'" + std::string(shape.name) + "' takes an argument";
    if (shape.op == ScriptOp::image) {
        command.text = std::string(rest);
        return {};
    }
    if (rest.size() != 2 * kPenFileSize) return "'pens' takes the " + std::to_string(kPenFileSize) + " bytes of a pen file in hex";
    command.text.resize(kPenFileSize);
    for (size_t i = 0; i < kPenFileSize; ++i) {
        const int high = hexDigit(rest[2 * i]), low = hexDigit(rest[2 * i + 1]);
        if (high < 0 || low < 0) return quotedToken(rest.substr(2 * i, 2)) + " is not a hex byte";
        command.text[i] = char(high << 4 | low);
    }
    return {};
}

std::string checkRanges(const ScriptCommand& command)
{
    const auto& a = command.args;
    switch (command.op) {
    case ScriptOp::down: case ScriptOp::move: case ScriptOp::up: case ScriptOp::pick:
        if (a[0] < kMouseMin || a[0] > kMouseMax || a[1] < kMouseMin || a[1] > kMouseMax)
            return "mouse position outside -32768..65535";
        break;
    case ScriptOp::value:
        if (a[0] < 1 || a[0] >= kDrawingValueCount) return "drawing value index must be 1..33";
        break;
    case ScriptOp::slot:
        if (a[1] < 0 || a[1] >= kSlotCount) return "slot index must be 0..19";
        [[fallthrough]];
    case ScriptOp::pen: case ScriptOp::shape: case ScriptOp::regen:
        if (a[0] < 0 || a[0] >= kPenCount) return "pen must be 0 or 1";
        break;
    case ScriptOp::newImage:
        if (a[0] <= 0 || a[1] <= 0) return "the new picture's size must be positive";
        break;
    default: break;
    }
    return {};
}

// Checks one line's words into `command`; returns an empty string or what is wrong.
std::string parseCommand(std::string_view text, const std::vector<std::string_view>& words, ScriptCommand& command)
{
    const CommandShape* shape = nullptr;
    for (const CommandShape& c : kCommands)
        if (c.name == words[0]) shape = &c;
    if (!shape) return "unknown command " + quotedToken(words[0]);
    command.op = shape->op;
    command.args = {};
    command.text.clear();
    command.reading.reset();
    if (shape->numbers < 0) {
        const size_t nameEnd = size_t(words[0].data() - text.data()) + words[0].size();
        return parseText(*shape, trimmed(text.substr(nameEnd)), command);
    }
    // "fill A B": the two-color form.
    const bool twoColorFill = shape->op == ScriptOp::fill && words.size() == 3;
    const int given = int(words.size()) - 1;
    const int full = shape->numbers + shape->optionalNumbers;
    const int numbers = twoColorFill ? 2 : (shape->optionalNumbers > 0 && given == full ? full : shape->numbers);
    if (given != numbers) {
        const std::string counts = std::to_string(shape->numbers) +
                                   (shape->optionalNumbers > 0 ? " or " + std::to_string(full) : std::string());
        return "'" + std::string(words[0]) + "' takes " + counts + " arguments";
    }
    for (int i = 0; i < numbers; ++i) {
        const std::string_view word = words[size_t(i) + 1];
        const bool named = (shape->op == ScriptOp::pen && i == 1) || (shape->op == ScriptOp::fill && !twoColorFill);
        if (named) {
            const int32_t index = shape->op == ScriptOp::fill ? wordIndex(kFillPatterns, word) : wordIndex(kPenFields, word);
            if (index < 0) return "unknown " + std::string(shape->op == ScriptOp::fill ? "fill " : "pen field ") + quotedToken(word);
            command.args[size_t(i)] = index;
        } else if (!parseNumber(word, command.args[size_t(i)])) {
            return quotedToken(word) + " is not a number";
        }
    }
    if (twoColorFill) command.args[2] = 1;
    if (shape->optionalNumbers > 0 && numbers == full)
        command.reading = PenReading{command.args[2], command.args[3]};
    return checkRanges(command);
}

enum class LineRead { line, end, tooLong };

// One line without its break; the stream buffer throws on a read error.
LineRead readLine(std::streambuf& in, std::string& line)
{
    line.clear();
    for (;;) {
        const int c = in.sbumpc();
        if (c == std::char_traits<char>::eof()) return line.empty() ? LineRead::end : LineRead::line;
        if (c == '\n') return LineRead::line;
        if (line.size() == kMaxScriptLine) {
            while (in.sgetc() != std::char_traits<char>::eof() && in.sbumpc() != '\n') {}
            return LineRead::tooLong;
        }
        line.push_back(char(c));
    }
}

// Reads the lines of `in`, handing each command to `take` with its line
// number; stops at the first problem, which `take` may report too.
bool forEachCommand(std::istream& in, std::string& error,
                    const std::function<bool(const ScriptCommand&, std::string&)>& take)
{
    std::streambuf* buffer = in.rdbuf();
    if (!buffer) {
        error = "no input";
        return false;
    }
    std::string text;
    ScriptCommand command{};
    for (int64_t line = 1;; ++line) {
        LineRead read;
        try {
            read = readLine(*buffer, text);
        } catch (const std::ios_base::failure&) {
            const int code = errno;
            error = "cannot read line " + std::to_string(line) + ": " + std::strerror(code);
            return false;
        }
        if (read == LineRead::end) return true;
        std::string problem;
        if (read == LineRead::tooLong) {
            problem = "longer than " + std::to_string(kMaxScriptLine) + " bytes";
        } else {
            bool isCommand = false;
            problem = parseScriptLine(text, command, isCommand);
            if (problem.empty() && !isCommand) continue;
        }
        command.line = line;
        if (problem.empty() && take(command, problem)) continue;
        if (!problem.empty()) error = "line " + std::to_string(line) + ": " + problem;
        return problem.empty();
    }
}

}  // namespace

std::string quotedToken(std::string_view token)
{
    constexpr size_t kLongest = 40;
    std::string out = "'";
    for (size_t i = 0; i < token.size() && i < kLongest; ++i) {
        const unsigned char c = static_cast<unsigned char>(token[i]);
        if (c < 0x20 || c == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += char(c);
        }
    }
    out += token.size() > kLongest ? "'..." : "'";
    return out;
}

std::string parseScriptLine(std::string_view text, ScriptCommand& command, bool& isCommand)
{
    const std::vector<std::string_view> words = splitWords(text);
    isCommand = !words.empty() && words[0][0] != '#';
    if (!isCommand) return {};
    return parseCommand(text, words, command);
}

bool parseRenderScript(std::istream& in, std::vector<ScriptCommand>& commands, std::string& error)
{
    return forEachCommand(in, error, [&commands](const ScriptCommand& command, std::string&) {
        commands.push_back(command);
        return true;
    });
}

ScriptRunner::ScriptRunner(Workspace& workspace, CanvasStroke& canvas, ScriptFiles files)
    : workspace_(workspace), canvas_(canvas), files_(std::move(files))
{
}

bool ScriptRunner::run(std::istream& in, std::string& error, const std::function<bool(int64_t)>& afterCommand)
{
    int64_t done = 0;
    bool stopped = false;
    const bool finished = forEachCommand(in, error, [&](const ScriptCommand& command, std::string& problem) {
        if (!runCommand(command, problem)) return false;
        stopped = afterCommand && !afterCommand(++done);
        return !stopped;
    });
    return finished || stopped;
}

bool ScriptRunner::runCommand(const ScriptCommand& c, std::string& error)
{
    Workspace& workspace = workspace_;
    // Showing changes is what the canvas does between calls; there is no screen here.
    const auto show = [&workspace] { clearUpdate(workspace.strokeImage().update); };
    const auto& a = c.args;
    switch (c.op) {
    case ScriptOp::down: canvas_.buttonDown(workspace, a[0], a[1], c.reading); break;
    case ScriptOp::move:
        if (canvas_.mouseMove(workspace, a[0], a[1], c.reading)) show();
        break;
    case ScriptOp::up: canvas_.buttonUp(workspace, a[0], a[1], show, c.reading); break;
    case ScriptOp::pick: workspace.pickColor(a[0], a[1]); break;
    case ScriptOp::value: workspace.setDrawingValue(a[0], a[1]); break;
    case ScriptOp::pen: workspace.setPenField(a[0], PenField(a[1]), a[2]); break;
    case ScriptOp::slot: workspace.setSlot(a[0], a[1], {a[2], a[3], a[4], a[5], a[6], a[7]}); break;
    case ScriptOp::shape: {
        ShapeSettings settings{};
        for (int k = 0; k < kShapeSettingCount; ++k) shapeSetting(settings, k) = a[size_t(k) + 1];
        workspace.setShapeSettings(a[0], settings);
        break;
    }
    case ScriptOp::regen: workspace.regenerateShapeMap(a[0]); break;
    case ScriptOp::fill: {
        const uint32_t colors[][2] = {{0xFFFFFF, 0xFFFFFF}, {kCheckerDark, kCheckerLight}, {0, 0}};
        if (a[2]) workspace.fill(uint32_t(a[0]), uint32_t(a[1]));
        else workspace.fill(colors[a[0]][0], colors[a[0]][1]);
        break;
    }
    case ScriptOp::undo: workspace.undo(); break;
    case ScriptOp::redo: workspace.redo(); break;
    case ScriptOp::repaint: canvas_.repaintLast(workspace, show); break;
    case ScriptOp::newImage:
        if (!workspace.newImage(a[0], a[1], uint32_t(a[2]))) {
            error = "cannot make a " + std::to_string(a[0]) + "x" + std::to_string(a[1]) + " picture";
            return false;
        }
        break;
    case ScriptOp::image: {
        const std::filesystem::path name(c.text);
        const std::string path = name.is_absolute() ? c.text : (std::filesystem::path(files_.folder) / name).string();
        std::string problem = "no picture reader";
        ImagePtr picture = files_.readPicture ? files_.readPicture(path, &problem) : nullptr;
        if (!picture || !workspace.replaceImage(std::move(picture))) {
            error = "cannot open " + path + (problem.empty() ? "" : ": " + problem);
            return false;
        }
        break;
    }
    case ScriptOp::pens:
        if (!workspace.loadPens(reinterpret_cast<const uint8_t*>(c.text.data()), c.text.size())) {
            error = "the pens are no pen file";
            return false;
        }
        break;
    case ScriptOp::random: workspace.setRandomState(uint32_t(a[0])); break;
    case ScriptOp::cancel: canvas_.cancel(workspace); break;
    }
    return true;
}

void runRenderScript(Workspace& workspace, CanvasStroke& canvas, const std::vector<ScriptCommand>& commands)
{
    ScriptRunner runner(workspace, canvas);
    std::string unused;
    for (const ScriptCommand& command : commands) runner.runCommand(command, unused);
}

}  // namespace nelmora
