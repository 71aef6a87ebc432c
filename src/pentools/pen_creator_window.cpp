#include "pentools/pen_creator_window.h"

#include "app/document.h"
#include "app/tool_windows.h"
#include "engine/blend_modes.h"
#include "pentools/parameter_slider.h"
#include "pentools/pen_creator_panes.h"
#include "platform/invalidate.h"

namespace nelmora {

namespace {

constexpr QSize kClientSize(240, 300);
constexpr QRect kPreviewGeometry(10, 10, 80, 80);
constexpr QRect kGraphGeometry(100, 10, 120, 80);

}  // namespace

PenCreatorWindow::PenCreatorWindow(Document& document)
    : ToolWindow(QStringLiteral("PenCreator"), kClientSize),
      document_(document),
      blendNames_(blendModeNames()),
      typeNames_(shapeTypeNames())
{
    setObjectName(QStringLiteral("PENCREATOR"));
    paintWhite(*this);

    Workspace& workspace = document.workspace();
    int top = kPenCreatorFirstSliderTop;
    for (int k = 0; k < kPenCreatorSliderCount; ++k) {
        const SliderRow& row = kPenCreatorRows[size_t(k)];
        SliderBinding binding;
        if (k == kModeRow) {
            binding = {[this] { return currentPen().blendIndex; },
                       [this, &workspace](int32_t v) { workspace.setPenField(currentPenIndex(), PenField::blendIndex, v); }};
        } else {
            const int setting = k - 1;
            binding = {[this, setting] { return shapeSetting(currentSettings(), setting); },
                       [this, &workspace, setting](int32_t v) {
                           workspace.setShapeSetting(currentPenIndex(), setting, v);
                           regenerateMap();
                       }};
        }
        const NameList* names = k == kModeRow ? &blendNames_ : k == kTypeRow ? &typeNames_ : nullptr;
        sliders_[size_t(k)] = createParameterSlider(this, QPoint(kPenCreatorSliderLeft + row.xOffset, top),
                                                    QSize(row.width, row.height), makeSliderRecord(row, names),
                                                    std::move(binding));
        top += row.pitch;
    }

    preview_ = new ShapePreviewView(*this, this, kPreviewGeometry);
    graph_ = new ProfileGraphView(*this, this, kGraphGeometry);

    const auto repaintIfEdited = [this](int pen) {
        if (pen == currentPenIndex()) invalidateWithChildren(this);
    };
    connect(&document, &Document::penChanged, this, repaintIfEdited);
    connect(&document, &Document::shapeChanged, this, repaintIfEdited);
    connect(&document, &Document::pensReplaced, this, [this] { invalidateWithChildren(this); });
    connect(&document, &Document::editedPenChanged, this, [this] { invalidateWithChildren(this); });
}

int PenCreatorWindow::currentPenIndex() const { return document_.editedPen(); }

const Pen& PenCreatorWindow::currentPen() const { return document_.workspace().pen(currentPenIndex()); }

const ShapeSettings& PenCreatorWindow::currentSettings() const
{
    return document_.workspace().shapeSettings(currentPenIndex());
}

void PenCreatorWindow::regenerateMap() { document_.workspace().regenerateShapeMap(currentPenIndex()); }

ToolWindow* createPenCreatorWindow(Document& document) { return new PenCreatorWindow(document); }

}  // namespace nelmora
