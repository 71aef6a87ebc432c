#pragma once
// ColorSliderControl: a channel slider of the color creator. It holds no value of its
// own; every paint reads the edited color, so it follows changes made anywhere.

#include <QFrame>
#include <memory>

#include "color/color_slider.h"

namespace nelmora {

class ColorSliderControl : public QFrame {
    Q_OBJECT
public:
    // channel 1, 2 or 3; colorCreator is repainted with its children after a change.
    ColorSliderControl(ColorCreatorState& state, int32_t channel, QWidget* colorCreator);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    ColorCreatorState& state_;
    ColorSliderRecord record_;
    QWidget* colorCreator_;
    // The strip all sliders compose on; it lives as long as any slider does.
    std::shared_ptr<Image> strip_;
};

}  // namespace nelmora
