#pragma once
// The "LineOption" tool window (PENOPTION): fifteen parameter sliders over the
// line settings and EX values of the drawing values, and a menu bar that
// chooses how many rows are visible.

#include <array>

#include "pen/drawing_values.h"
#include "platform/tool_window.h"

class QMenuBar;

namespace nelmora {

class Document;
class ParameterSlider;

class LineOptionWindow : public ToolWindow {
    Q_OBJECT
public:
    explicit LineOptionWindow(Document& document);

    // The client height below the menu bar: 58, 100, 167 or 280 by the menu.
    void setVisibleHeight(int height);
    int visibleHeight() const;

    ParameterSlider* slider(int row) const { return sliders_[size_t(row)]; }
    QWidget* clientArea() const { return client_; }
    QMenuBar* menuBar() const { return menuBar_; }

private:
    std::array<ParameterSlider*, kLineOptionCount> sliders_{};
    QMenuBar* menuBar_;
    QWidget* client_;
};

}  // namespace nelmora
