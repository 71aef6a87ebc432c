#include "doc/workspace.h"

#include <new>
#include <utility>

#include "engine/color.h"
#include "engine/shape_generator.h"

namespace nelmora {

int32_t& penField(Pen& pen, PenField field)
{
    switch (field) {
    case PenField::drawMode: return pen.drawMode;
    case PenField::lineColor: return pen.lineColor;
    case PenField::endFlag: return pen.endFlag;
    case PenField::blendIndex: break;
    }
    return pen.blendIndex;
}

int32_t& slotField(PenParam& param, SlotField field)
{
    switch (field) {
    case SlotField::sourceA: return param.sourceA;
    case SlotField::scaleA: return param.scaleA;
    case SlotField::sourceB: return param.sourceB;
    case SlotField::scaleB: return param.scaleB;
    case SlotField::base: return param.base;
    case SlotField::jitter: break;
    }
    return param.jitter;
}

Workspace::Workspace(int32_t imageWidth, int32_t imageHeight)
{
    image_.reset(createImage(imageWidth, imageHeight, 0, 0, kStartImageFill));
    if (!image_) throw std::bad_alloc();
    startUp();
}

// Everything of the start-up recipe but the picture.
void Workspace::startUp()
{
    Pen* pens[kPenCount] = {};
    if (!makeDefaultPens(pens)) throw std::bad_alloc();
    for (int n = 0; n < kPenCount; ++n) pens_[size_t(n)].reset(pens[n]);
    resetDrawingValues(values_);
    for (int n = 0; n < kPenCount; ++n) {
        shapeSettings_[size_t(n)] = kStartShapeSettings;
        pens_[size_t(n)]->blendIndex = kStartBlendIndex;
    }
    random_ = RandomState{};
}

void Workspace::reset()
{
    ImagePtr picture(createImage(kStartImageSize, kStartImageSize, 0, 0, kStartImageFill));
    if (!picture) throw std::bad_alloc();
    ActionScope scope(*this, {Action::reset});
    startUp();
    image_ = std::move(picture);
    history_.clear();
    notify({Change::pens});
    for (int index = dv::none + 1; index < kDrawingValueCount; ++index) notify({Change::drawingValue, -1, index});
    notify({Change::random});
    notify({Change::image});
    notify({Change::history});
    // The start-up pens come from no file.
    rememberPenFile({}, {});
}

Workspace::ActionScope::ActionScope(Workspace& workspace, const Action& action) : recorder_(workspace.recorder_)
{
    if (recorder_) recorder_->actionStarts(action);
}

Workspace::ActionScope::~ActionScope()
{
    if (recorder_) recorder_->actionDone();
}

void Workspace::notify(const Change& change) const
{
    for (const ChangeListener& listener : listeners_) listener(change);
}

void Workspace::setDrawingValue(int index, int32_t value)
{
    if (index <= dv::none || index >= kDrawingValueCount) return;
    values_[size_t(index)] = value;
    notify({Change::drawingValue, -1, index});
}

void Workspace::setPenField(int pen, PenField field, int32_t value)
{
    penField(*pens_[size_t(pen)], field) = value;
    notify({Change::penField, pen, int(field)});
}

void Workspace::setSlotField(int pen, int slotIndex, SlotField field, int32_t value)
{
    slotField(pens_[size_t(pen)]->params[slotIndex], field) = value;
    notify({Change::slot, pen, slotIndex});
}

void Workspace::setSlot(int pen, int slotIndex, const PenParam& param)
{
    pens_[size_t(pen)]->params[slotIndex] = param;
    notify({Change::slot, pen, slotIndex});
}

void Workspace::setShapeSetting(int pen, int k, int32_t value)
{
    shapeSetting(shapeSettings_[size_t(pen)], k) = value;
    notify({Change::shapeSettings, pen, k});
}

void Workspace::setShapeSettings(int pen, const ShapeSettings& settings)
{
    shapeSettings_[size_t(pen)] = settings;
    notify({Change::shapeSettings, pen, -1});
}

void Workspace::regenerateShapeMap(int pen)
{
    ActionScope scope(*this, {Action::regen, pen});
    generateShapeMap(*pens_[size_t(pen)], shapeSettings_[size_t(pen)], random_);
    notify({Change::shapeMap, pen, -1});
}

bool Workspace::loadPens(const std::string& folder, const std::string& name, std::string* error)
{
    if (!loadPenFile(penTable(), settingsTable(), folder, name, error)) return false;
    notify({Change::pens});
    rememberPenFile(folder, name);
    return true;
}

bool Workspace::loadPens(const uint8_t* data, size_t size)
{
    if (!decodePenFile(data, size, penTable(), settingsTable())) return false;
    notify({Change::pens});
    return true;
}

bool Workspace::savePens(const std::string& folder, const std::string& name, std::string* error)
{
    if (!savePenFile(penTable(), settingsTable(), folder, name, error)) return false;
    rememberPenFile(folder, name);
    return true;
}

void Workspace::rememberPenFile(const std::string& folder, const std::string& name)
{
    penFileName_ = {folder, name};
    notify({Change::penFile});
}

bool Workspace::replaceImage(ImagePtr image)
{
    if (!image || history_.inPixelStep()) return false;
    ActionScope scope(*this, {Action::openImage, 0, 0, 0, image.get()});
    std::swap(image_, image);
    history_.pushPictureStep(std::move(image));
    notify({Change::image});
    notify({Change::history});
    return true;
}

bool Workspace::newImage(int32_t width, int32_t height, uint32_t color)
{
    if (history_.inPixelStep()) return false;
    ImagePtr picture(createImage(width, height, 0, 0, color));
    if (!picture) return false;
    ActionScope scope(*this, {Action::newImage, width, height, int32_t(color)});
    std::swap(image_, picture);
    history_.pushPictureStep(std::move(picture));
    notify({Change::image});
    notify({Change::history});
    return true;
}

void Workspace::fill(uint32_t a, uint32_t b)
{
    if (history_.inPixelStep()) return;
    ActionScope scope(*this, {Action::fill, int32_t(a), int32_t(b)});
    history_.beginPixelStep(*image_);
    history_.keep({0, 0, image_->width, image_->height});
    fillImage(*image_, a, b);
    markWholeImage(*image_);
    history_.endPixelStep();
    notify({Change::pixels});
    notify({Change::history});
}

void Workspace::beginStep()
{
    if (!history_.inPixelStep()) history_.beginPixelStep(*image_);
}

void Workspace::endStep()
{
    if (!history_.inPixelStep()) return;
    history_.endPixelStep();
    notify({Change::history});
}

bool Workspace::cancelStep()
{
    if (!history_.inPixelStep()) return false;
    const bool restored = history_.cancelPixelStep();
    markWholeImage(*image_);
    notify({Change::pixels});
    notify({Change::history});
    return restored;
}

bool Workspace::undo()
{
    ActionScope scope(*this, {Action::undo});
    const UndoHistory::Restored what = history_.undo(image_);
    restored(what);
    return what != UndoHistory::Restored::nothing;
}

bool Workspace::redo()
{
    ActionScope scope(*this, {Action::redo});
    const UndoHistory::Restored what = history_.redo(image_);
    restored(what);
    return what != UndoHistory::Restored::nothing;
}

void Workspace::restored(UndoHistory::Restored what)
{
    if (what == UndoHistory::Restored::nothing) return;
    markWholeImage(*image_);
    notify({what == UndoHistory::Restored::picture ? Change::image : Change::pixels});
    notify({Change::history});
}

void Workspace::setUndoBudget(size_t bytes)
{
    history_.setBudget(bytes);
    notify({Change::history});
}

bool Workspace::revertLastStep()
{
    if (!history_.revertLastStep()) return false;
    markWholeImage(*image_);
    return true;
}

void Workspace::setRandomState(uint32_t state)
{
    random_.value = state;
    notify({Change::random});
}

void Workspace::clearHistory()
{
    history_.clear();
    notify({Change::history});
}

bool Workspace::pickColor(int32_t x, int32_t y)
{
    const Image& picture = *image_;
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return false;
    ActionScope scope(*this, {Action::pick, x, y});
    rgbToHsb(picture.at(x, y), values_[dv::hue1], values_[dv::saturation1], values_[dv::brightness1]);
    for (int index : {dv::hue1, dv::saturation1, dv::brightness1}) notify({Change::drawingValue, -1, index});
    return true;
}

void Workspace::swapColors()
{
    for (int i = 0; i < 3; ++i) std::swap(values_[size_t(dv::hue1 + i)], values_[size_t(dv::hue2 + i)]);
    for (int index = dv::hue1; index <= dv::brightness2; ++index) notify({Change::drawingValue, -1, index});
}

void fillImage(Image& image, uint32_t a, uint32_t b)
{
    for (int32_t y = 0; y < image.height; ++y) {
        uint32_t* row = image.pixels + size_t(y) * image.stride;
        for (int32_t x = 0; x < image.width; ++x) row[x] = (((x >> 3) + (y >> 3)) & 1) ? a : b;
    }
}

}  // namespace nelmora
