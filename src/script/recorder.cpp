#include "script/recorder.h"

#include <algorithm>
#include <cstdio>

namespace nelmora {

namespace {

constexpr const char* kPenFieldNames[] = {"drawMode", "lineColor", "endFlag", "blendIndex"};

std::string hex(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

std::string numbers(std::initializer_list<int32_t> values)
{
    std::string out;
    for (int32_t v : values) out += ' ' + std::to_string(v);
    return out;
}

// A tablet's point carries its reading; a mouse's is the two numbers alone.
std::string pointLine(const char* name, const Action& action)
{
    std::string line = name + numbers({action.a, action.b});
    if (action.reading) line += numbers({action.reading->pressure, action.reading->angle});
    return line;
}

std::string fillLine(uint32_t a, uint32_t b)
{
    if (a == 0xFFFFFF && b == 0xFFFFFF) return "fill white";
    if (a == kCheckerDark && b == kCheckerLight) return "fill checker";
    if (a == 0 && b == 0) return "fill black";
    return "fill " + hex(a) + ' ' + hex(b);
}

}  // namespace

Recorder::Recorder(Workspace& workspace, PictureKeeper keepPicture)
    : workspace_(workspace), keepPicture_(std::move(keepPicture))
{
    workspace_.setActionRecorder(this);
    workspace_.addListener([this](const Change& change) { noted(change); });
}

Recorder::~Recorder() { workspace_.setActionRecorder(nullptr); }

std::string Recorder::script(const std::function<std::string(size_t)>& pictureName) const
{
    std::string out;
    size_t from = 0;
    for (size_t i = 0; i < pictureMarks_.size(); ++i) {
        out.append(text_, from, pictureMarks_[i] - from);
        out += pictureName(i);
        from = pictureMarks_[i];
    }
    out.append(text_, from, std::string::npos);
    return out;
}

void Recorder::write(const std::string& line)
{
    text_ += line;
    text_ += '\n';
}

void Recorder::syncRandom()
{
    const uint32_t now = workspace_.random().value;
    if (now != replayRandom_) write("random " + std::to_string(now));
    replayRandom_ = now;
}

void Recorder::actionStarts(const Action& action)
{
    if (depth_++ > 0) return;
    const auto& [kind, a, b, c, image, reading] = action;
    if (kind == Action::down) syncRandom();
    if (kind == Action::down || kind == Action::move || kind == Action::up || kind == Action::repaint)
        strokeLine_ = text_.size();
    switch (kind) {
    case Action::down: write(pointLine("down", action)); break;
    case Action::move: write(pointLine("move", action)); break;
    case Action::up: write(pointLine("up", action)); break;
    case Action::pick: write("pick" + numbers({a, b})); break;
    case Action::fill: write(fillLine(uint32_t(a), uint32_t(b))); break;
    case Action::newImage: write("new" + numbers({a, b}) + ' ' + hex(uint32_t(c))); break;
    case Action::openImage: {
        const std::string kept = keepPicture_ && image ? keepPicture_(*image) : std::string();
        if (kept.empty()) complete_ = false;
        pictures_.push_back(kept);
        text_ += "image ";
        pictureMarks_.push_back(text_.size());
        text_ += '\n';
        break;
    }
    case Action::undo: write("undo"); break;
    case Action::redo: write("redo"); break;
    case Action::regen: syncRandom(); write("regen" + numbers({a})); break;
    case Action::repaint: write("repaint"); break;
    case Action::cancel:
        // A call abandoned part way never finished: the replay leaves it out
        // and cancels from where the finished calls leave the stroke.
        if (a != 0) text_.resize(std::min(strokeLine_, text_.size()));
        write("cancel");
        break;
    case Action::reset:
        // The start-up state again: what came before no longer matters.
        text_.clear();
        pictureMarks_.clear();
        pictures_.clear();
        complete_ = true;
        break;
    }
}

void Recorder::actionDone()
{
    if (--depth_ == 0) replayRandom_ = workspace_.random().value;
}

void Recorder::noted(const Change& change)
{
    if (depth_ > 0) return;
    const int p = change.pen;
    switch (change.kind) {
    case Change::drawingValue:
        write("value" + numbers({change.index, workspace_.drawingValue(change.index)}));
        break;
    case Change::penField:
        write("pen " + std::to_string(p) + ' ' + kPenFieldNames[change.index] + ' ' +
              std::to_string(penFieldValue(workspace_.pen(p), PenField(change.index))));
        break;
    case Change::slot: {
        const PenParam& s = workspace_.pen(p).params[change.index];
        write("slot" + numbers({p, change.index, s.sourceA, s.scaleA, s.sourceB, s.scaleB, s.base, s.jitter}));
        break;
    }
    case Change::shapeSettings: {
        std::string line = "shape " + std::to_string(p);
        for (int k = 0; k < kShapeSettingCount; ++k)
            line += ' ' + std::to_string(shapeSetting(workspace_.shapeSettings(p), k));
        write(line);
        break;
    }
    case Change::pens: {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        std::string line = "pens ";
        for (uint8_t byte : workspace_.penFileBytes()) {
            line += kDigits[byte >> 4];
            line += kDigits[byte & 15];
        }
        write(line);
        break;
    }
    case Change::random:
        write("random " + std::to_string(workspace_.random().value));
        replayRandom_ = workspace_.random().value;
        break;
    // Where the pens were last loaded from or saved to is no part of the painting.
    case Change::shapeMap: case Change::image: case Change::pixels: case Change::history: case Change::penFile: break;
    }
}

}  // namespace nelmora
