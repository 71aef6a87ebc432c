#include "pentools/pen_set_window.h"

#include <QMouseEvent>
#include <QPalette>

#include <utility>

#include "app/app_state.h"
#include "app/tool_windows.h"
#include "engine/color.h"
#include "pen/drawing_values.h"
#include "pentools/parameter_slider.h"
#include "pentools/slider_row.h"

namespace nelmora {

namespace {

constexpr QSize kClientSize(650, 350);

// The destinations in slot order. Only the unit is used here; the label is
// kept in each grid slider's record, though compact sliders do not draw it.
constexpr SliderRow destination(std::string_view label)
{
    return {label, 0x008000, 0x80F0F0, " ", 0, 0, 0x10000, 0x10000, 100, 655, 220, 14, 0, 24};
}
constexpr SliderRow kDestinations[kSlotCount] = {
    destination("色相1"), destination("彩度1"), destination("明度1"), destination("色相2"),
    destination("彩度2"), destination("明度2"), destination("太さ "), destination("間隔 "),
    destination("角度 "), destination("強さ "), destination("動き "), destination("動角 "),
    destination("筆圧 "), destination("筆角 "), destination("種類 "), destination("配置 "),
    destination("配角 "), destination("EX  1"), destination("EX  2"), destination("EX  3"),
};

// Header sliders: the pen number, then the three switches in PenSetTargets order.
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

// One grid column. Its bar colours come from hsbToRgb with a hue that turns
// from row to row; the end colour's hue runs 10000 ahead of the start's.
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
    const SliderRow& target = kDestinations[slotIndex];
    const int32_t hue = (5000 * slotIndex) % 65536;
    const int32_t endHue = (5000 * slotIndex + 10000) % 65536;
    return {target.label,
            hsbToRgb(hue, column.startSaturation, column.startBrightness),
            hsbToRgb(endHue, column.endSaturation, column.endBrightness),
            target.unit,
            column.min,
            column.source ? slotIndex + 1 : column.defaultValue,
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

PenSetWindow::PenSetWindow(std::array<Pen*, kPenCount>& pens, std::function<void(int)> selectPen)
    : ToolWindow(QStringLiteral("PenSet"), kClientSize),
      pens_(pens),
      selectPen_(std::move(selectPen)),
      drawModeNames_(makeNameList({"しない", "通常  ", "遅延  "})),
      lineColorNames_(makeNameList({"１色  ", "２色  "})),
      endNames_(makeNameList({"なし  ", "描く  "}))
{
    setObjectName(QStringLiteral("PENSET"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    if (pens_[0]) aimPenSetTargets(targets_, *pens_[0]);

    // The pen number repaints the whole window, whose paint re-aims the others.
    penNumberSlider_ = createParameterSlider(
        this, kPenNumberSlider.position, QSize(kPenNumberSlider.row.width, kPenNumberSlider.row.height),
        makeSliderRecord(kPenNumberSlider.row, &penNumberCell_), this);

    const NameList* switchNames[kPenSetSwitchCount] = {&drawModeNames_, &lineColorNames_, &endNames_};
    for (int k = 0; k < kPenSetSwitchCount; ++k) {
        const HeaderSlider& header = kSwitchSliders[k];
        switches_[size_t(k)] = createParameterSlider(
            this, header.position, QSize(header.row.width, header.row.height),
            makeSliderRecord(header.row, &targets_.switches[size_t(k)], switchNames[k]));
    }

    for (int i = 0; i < kSlotCount; ++i) {
        for (int k = 0; k < kPenSetColumnCount; ++k) {
            const GridColumn& column = kColumns[k];
            const SliderRow row = gridRow(column, i);
            grid_[size_t(k)][size_t(i)] = createParameterSlider(
                this, QPoint(column.x, kGridTop + kGridPitch * i), QSize(row.width, row.height),
                makeSliderRecord(row, &targets_.grid[size_t(k)][size_t(i)],
                                 column.source ? &sourceLabels() : nullptr, true));
        }
    }
}

void PenSetWindow::paintEvent(QPaintEvent*)
{
    // Children paint after their parent, so they already see the new pen.
    if (penNumber_ != shownPen_ && penNumber_ >= 0 && penNumber_ < kPenCount && pens_[size_t(penNumber_)]) {
        aimPenSetTargets(targets_, *pens_[size_t(penNumber_)]);
        shownPen_ = penNumber_;
        if (selectPen_) selectPen_(shownPen_);
    }
}

void PenSetWindow::mousePressEvent(QMouseEvent* event) { event->accept(); }

QWidget* createPenSetWindow(AppState& state, std::function<void(int)> selectPen)
{
    return new PenSetWindow(state.pens, std::move(selectPen));
}

}  // namespace nelmora
