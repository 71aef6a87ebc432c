#pragma once
// ColorCreatorWindow: the color creator ("Color"), a tool window with the color
// box, three channel sliders and the color field below them.

#include "color/color_creator_state.h"
#include "image/image.h"
#include "platform/tool_window.h"

namespace nelmora {

class Document;

class ColorCreatorWindow : public ToolWindow {
    Q_OBJECT
public:
    // Edits color 1 first; repaints whenever a color value changes.
    explicit ColorCreatorWindow(Document& document);

    // False when the field image could not be allocated.
    bool valid() const { return fieldImage_ != nullptr; }
    ColorCreatorState& state() { return state_; }
    // How often the field picture was rendered (it is kept between paints otherwise).
    int fieldRenderCount() const { return fieldRenderCount_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    ColorCreatorState state_;
    ImagePtr fieldImage_;
    int fieldRenderCount_ = 0;
};

}  // namespace nelmora
