#include "pentools/pen_set_window.h"

#include <QMouseEvent>

#include <utility>

#include "app/document.h"
#include "app/tool_windows.h"
#include "engine/color.h"
#include "pen/drawing_values.h"
#include "pen/slot_table.h"
#include "pentools/parameter_slider.h"
#include "pentools/slider_row.h"
#include "platform/invalidate.h"

namespace nelmora {

namespace {

constexpr QSize kClientSize(650, 350);

// The grid row of a slot: its label and unit; compact sliders do not draw the label.
constexpr SliderRow destination(std::string_view label)
{
    return {label, 0x008000, 0x80F0F0, " ", 0, 0, 0x10000, 0x10000, 100, 655, 220, 14, 0, 24};
}

// Header sliders: the pen number, then the three switches in kSwitchFields order.
struct HeaderSlider {
    QPoint position;
    SliderRow row;
};
constexpr SliderRow header(std::string_view label, int32_t max, int32_t width)
{
    return {label, 0x808080, 0xC0C0C0, " ", 0, 0, max, 1, 1, 1, width, 14, 0, 0};
}
constexpr HeaderSlider kPenNumberSlider{{10, 10}, header("PenNo", 1, 130)};
constexpr HeaderSlider kSwitchSliders[kPenSetSwitchCount] = {
    {{200, 10}, header("描画 ", 2, 105)},
    {{310, 10}, header("線色 ", 1, 100)},
    {{415, 10}, header("終端 ", 1, 100)},
};
constexpr PenField kSwitchFields[kPenSetSwitchCount] = {PenField::drawMode, PenField::lineColor, PenField::endFlag};

// One grid column. Its bar colors come from hsbToRgb with a hue that turns
// from row to row; the end color's hue runs 10000 ahead of the start's.
struct GridColumn {
    int x;
    int width;
    bool source;  // a source index: default slot + 1, shown by name
    int32_t min, defaultValue, max, divisor, multiplier, step;
    int32_t startSaturation, startBrightness, endSaturation, endBrightness;
};
constexpr GridColumn kColumns[kPenSetColumnCount] = {
    {10, 95, true, 0, 0, 33, 33, 33, 1, 50000, 45535, 30000, 65535},
    {105, 100, false, -0x20000, 0x10000, 0x20000, 0x10000, 100, 655, 50000, 45535, 30000, 65535},
    {210, 100, true, 0, 0, 33, 33, 33, 1, 30000, 45535, 30000, 65535},
    {310, 100, false, -0x50000, 0, 0x50000, 0x10000, 100, 655, 30000, 45535, 30000, 65535},
    {415, 100, false, -0x20000, 0, 0x20000, 0x10000, 100, 655, 40000, 65535, 30000, 65535},
    {520, 100, false, 0, 0, 0x10000, 0x8000, 100, 327, 30000, 65535, 40000, 45535},
};
constexpr int kGridTop = 40;
constexpr int kGridPitch = 15;
constexpr int kGridHeight = 14;

SliderRow gridRow(const GridColumn& column, int slotIndex)
{
    const SliderRow target = destination(slotTable[size_t(slotIndex)].label);
    const int32_t hue = (5000 * slotIndex) % 65536;
    const int32_t endHue = (5000 * slotIndex + 10000) % 65536;
    return {target.label,
            hsbToRgb(hue, column.startSaturation, column.startBrightness),
            hsbToRgb(endHue, column.endSaturation, column.endBrightness),
            target.unit,
            column.min,
            column.source ? defaultSlotSource(slotIndex) : column.defaultValue,
            column.max,
            column.divisor,
            column.multiplier,
            column.step,
            column.width,
            kGridHeight,
            0,
            kGridPitch};
}

}  // namespace

PenSetWindow::PenSetWindow(Document& document)
    : ToolWindow(QStringLiteral("PenSet"), kClientSize),
      document_(document),
      drawModeNames_(makeNameList({"しない", "通常  ", "遅延  "})),
      lineColorNames_(makeNameList({"１色  ", "２色  "})),
      endNames_(makeNameList({"なし  ", "描く  "}))
{
    setObjectName(QStringLiteral("PENSET"));
    paintWhite(*this);
    Workspace& workspace = document.workspace();

    penNumberSlider_ = createParameterSlider(
        this, kPenNumberSlider.position, QSize(kPenNumberSlider.row.width, kPenNumberSlider.row.height),
        makeSliderRecord(kPenNumberSlider.row),
        {[this] { return penNumber_; }, [this](int32_t number) { setPenNumber(number); }});

    const NameList* switchNames[kPenSetSwitchCount] = {&drawModeNames_, &lineColorNames_, &endNames_};
    for (int k = 0; k < kPenSetSwitchCount; ++k) {
        const HeaderSlider& header = kSwitchSliders[k];
        const PenField field = kSwitchFields[k];
        switches_[size_t(k)] = createParameterSlider(
            this, header.position, QSize(header.row.width, header.row.height),
            makeSliderRecord(header.row, switchNames[k]),
            {[this, &workspace, field] { return penFieldValue(workspace.pen(shownPen()), field); },
             [this, &workspace, field](int32_t v) { workspace.setPenField(shownPen(), field, v); }});
    }

    for (int i = 0; i < kSlotCount; ++i) {
        for (int k = 0; k < kPenSetColumnCount; ++k) {
            const GridColumn& column = kColumns[k];
            const SliderRow row = gridRow(column, i);
            const SlotField field = SlotField(k);
            grid_[size_t(k)][size_t(i)] = createParameterSlider(
                this, QPoint(column.x, kGridTop + kGridPitch * i), QSize(row.width, row.height),
                makeSliderRecord(row, column.source ? &sourceLabels() : nullptr, true),
                {[this, &workspace, i, field] { return slotFieldValue(workspace.pen(shownPen()).params[i], field); },
                 [this, &workspace, i, field](int32_t v) { workspace.setSlotField(shownPen(), i, field, v); }});
        }
    }

    const auto repaintIfShown = [this](int pen) {
        if (pen == shownPen()) invalidateWithChildren(this);
    };
    connect(&document, &Document::penChanged, this, repaintIfShown);
    connect(&document, &Document::pensReplaced, this, [this] { invalidateWithChildren(this); });
}

int PenSetWindow::shownPen() const { return document_.editedPen(); }

void PenSetWindow::setPenNumber(int32_t number)
{
    penNumber_ = number;
    if (number >= 0 && number < kPenCount && number != shownPen()) {
        document_.selectPen(number);
        invalidateWithChildren(this);
    }
}

void PenSetWindow::mousePressEvent(QMouseEvent* event) { event->accept(); }

ToolWindow* createPenSetWindow(Document& document) { return new PenSetWindow(document); }

}  // namespace nelmora
