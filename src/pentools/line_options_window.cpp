#include "pentools/line_options_window.h"

#include <QMenuBar>

#include <algorithm>

#include "app/document.h"
#include "app/tool_windows.h"
#include "pentools/parameter_slider.h"
#include "pentools/slider_row.h"

namespace nelmora {

namespace {

constexpr int kClientWidth = 290;
constexpr int kFullClientHeight = 280;
constexpr int kSliderLeft = 10;
constexpr int kFirstSliderTop = 10;

constexpr int32_t kPercent = 0x10000;  // divisor of percent and degree rows

// Rows in window order; each edits the lineOptionValues entry of the same
// position. Widths and heights are the outer size of the bordered control.
constexpr SliderRow kRows[kLineOptionCount] = {
    {"太さ ", 0x000080, 0xF080F0, "%", 1, 0x10000, 0x20000, kPercent, 100, 655, 270, 14, 0, 15},
    {"強さ ", 0x001080, 0xE080F0, "%", 0, 0xFFFF, 0x20000, kPercent, 100, 655, 270, 14, 0, 15},
    {"間隔 ", 0x002080, 0xD080F0, "%", 1, 10000, 80000, kPercent, 100, 655, 270, 14, 0, 19},
    {"角度 ", 0x003080, 0xC080F0, "ﾟ", 0, 0, 0x10000, kPercent, 360, 182, 270, 14, 0, 15},
    {"種類 ", 0x004080, 0xB080F0, " ", 0, 0, 0x10000, kPercent, 100, 655, 270, 14, 0, 26},
    {"太さ2", 0x005080, 0xA080F0, "%", 1, 0x10000, 0x20000, kPercent, 100, 655, 270, 14, 0, 15},
    {"強さ2", 0x006080, 0x9080F0, "%", 0, 0xFFFF, 0x20000, kPercent, 100, 655, 270, 14, 0, 15},
    {"角度2", 0x007080, 0x8080F0, "ﾟ", 0, 0, 0x10000, kPercent, 360, 182, 270, 14, 0, 15},
    {"種類2", 0x008080, 0x8090F0, " ", 0, 0, 0x10000, kPercent, 100, 655, 270, 14, 0, 24},
    {"EX 1 ", 0x008070, 0x80A0F0, "_", 0, 0x10000, 0x20000, kPercent, 100, 655, 270, 14, 0, 15},
    {"EX 2 ", 0x008060, 0x80B0F0, "_", 0, 0x10000, 0x20000, kPercent, 100, 655, 270, 14, 0, 15},
    {"EX 3 ", 0x008050, 0x80C0F0, "_", 0, 0x10000, 0x20000, kPercent, 100, 655, 270, 14, 0, 19},
    {"EX 4 ", 0x008040, 0x80D0F0, "_", 0, 0x10000, 0x20000, kPercent, 100, 655, 270, 14, 0, 15},
    {"EX 5 ", 0x008030, 0x80E0F0, "_", 0, 0x10000, 0x20000, kPercent, 100, 655, 270, 14, 0, 15},
    {"EX 6 ", 0x008020, 0x80F0F0, "_", 0, 0x10000, 0x20000, kPercent, 100, 655, 270, 14, 0, 15},
};

// The menu bar "LOMENU": how much of the window each command shows.
struct RowsCommand {
    const char* text;
    int clientHeight;
};
constexpr RowsCommand kRowsCommands[] = {{"1", 58}, {"2", 100}, {"3", 167}, {"4", 280}};

}  // namespace

LineOptionWindow::LineOptionWindow(Document& document)
    : ToolWindow(QStringLiteral("LineOption"), QSize(kClientWidth, kFullClientHeight)),
      menuBar_(new QMenuBar(this)),
      client_(new QWidget(this))
{
    setObjectName(QStringLiteral("PENOPTION"));
    menuBar_->setObjectName(QStringLiteral("LOMENU"));
    menuBar_->setNativeMenuBar(false);
    for (const RowsCommand& command : kRowsCommands) {
        const int height = command.clientHeight;
        menuBar_->addAction(QString::fromLatin1(command.text), this, [this, height] { setVisibleHeight(height); });
    }
    const int menuHeight = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, kClientWidth, menuHeight);

    // The sliders always keep their full-height places; the window's height
    // decides how many of them can be seen.
    client_->setGeometry(0, menuHeight, kClientWidth, kFullClientHeight);
    paintWhite(*client_);

    int top = kFirstSliderTop;
    for (int i = 0; i < kLineOptionCount; ++i) {
        const SliderRow& row = kRows[i];
        const int index = lineOptionValues[size_t(i)];
        Workspace& workspace = document.workspace();
        sliders_[size_t(i)] = createParameterSlider(
            client_, QPoint(kSliderLeft + row.xOffset, top), QSize(row.width, row.height), makeSliderRecord(row),
            {[&workspace, index] { return workspace.drawingValue(index); },
             [&workspace, index](int32_t v) { workspace.setDrawingValue(index, v); }});
        top += row.pitch;
    }
    setVisibleHeight(kRowsCommands[0].clientHeight);

    connect(&document, &Document::drawingValueChanged, this, [this](int index) {
        const auto row = std::find(lineOptionValues.begin(), lineOptionValues.end(), index);
        if (row != lineOptionValues.end()) sliders_[size_t(row - lineOptionValues.begin())]->update();
    });
}

void LineOptionWindow::setVisibleHeight(int height) { setClientHeight(client_->y() + height); }

int LineOptionWindow::visibleHeight() const { return height() - client_->y(); }

ToolWindow* createLineOptionWindow(Document& document) { return new LineOptionWindow(document); }

}  // namespace nelmora
