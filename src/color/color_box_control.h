#pragma once
// ColorBoxControl: shows color 1 and color 2, selects which one the color creator
// edits (left button) and swaps them (right button).

#include <QWidget>

#include "color/color_creator_state.h"

namespace nelmora {

class ColorBoxControl : public QWidget {
    Q_OBJECT
public:
    ColorBoxControl(ColorCreatorState& state, QWidget* colorCreator);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    ColorCreatorState& state_;
    QWidget* colorCreator_;
};

}  // namespace nelmora
