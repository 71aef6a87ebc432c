#include "pentools/pen_creator_window.h"

#include "app/app_state.h"
#include "app/tool_windows.h"
#include "engine/blend_modes.h"
#include "pentools/parameter_slider.h"
#include "pentools/pen_creator_defaults.h"
#include "pentools/pen_creator_panes.h"
#include "platform/invalidate.h"

namespace nelmora {

namespace {

constexpr QSize kClientSize(240, 300);
constexpr QRect kPreviewGeometry(10, 10, 80, 80);
constexpr QRect kGraphGeometry(100, 10, 120, 80);

}  // namespace

PenCreatorWindow::PenCreatorWindow(AppState& state)
    : ToolWindow(QStringLiteral("PenCreator"), kClientSize),
      state_(state),
      blendNames_(blendModeNames()),
      typeNames_(shapeTypeNames())
{
    setObjectName(QStringLiteral("PENCREATOR"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    aimSliderTargets(targets_, currentPen(), currentSettings());
    int top = kPenCreatorFirstSliderTop;
    for (int k = 0; k < kPenCreatorSliderCount; ++k) {
        const SliderRow& row = kPenCreatorRows[size_t(k)];
        const NameList* names = k == kModeRow ? &blendNames_ : k == kTypeRow ? &typeNames_ : nullptr;
        // The window, not the slider, repaints after a change, so the previews follow.
        sliders_[size_t(k)] = createParameterSlider(this, QPoint(kPenCreatorSliderLeft + row.xOffset, top),
                                                    QSize(row.width, row.height),
                                                    makeSliderRecord(row, &targets_[size_t(k)], names), this);
        top += row.pitch;
    }
    applyPenCreatorDefaults(state_);

    preview_ = new ShapePreviewView(*this, this, kPreviewGeometry);
    graph_ = new ProfileGraphView(*this, this, kGraphGeometry);
}

void PenCreatorWindow::selectPen(int penIndex)
{
    if (penIndex < 0 || penIndex >= kPenCount) return;
    pen_ = penIndex;
    aimSliderTargets(targets_, currentPen(), currentSettings());
    invalidateWithChildren(this);
}

Pen& PenCreatorWindow::currentPen() const { return *state_.pens[size_t(pen_)]; }

ShapeSettings& PenCreatorWindow::currentSettings() const { return *state_.shapeSettingsTable[size_t(pen_)]; }

QWidget* createPenCreatorWindow(AppState& state) { return new PenCreatorWindow(state); }

void selectPen(QWidget* penCreatorWindow, int penIndex)
{
    if (auto* window = qobject_cast<PenCreatorWindow*>(penCreatorWindow)) window->selectPen(penIndex);
}

}  // namespace nelmora
