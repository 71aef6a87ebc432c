#pragma once
// The POSLIDER control: a one-line slider over a 32-bit integer that lives
// elsewhere, reached through its record's value cell on every paint and click.

#include <QFrame>
#include <memory>

#include "image/image.h"
#include "pentools/slider_row.h"

namespace nelmora {

class ParameterSlider : public QFrame {
    Q_OBJECT
public:
    // redrawTarget (with its children) is repainted after every change; null
    // means the control itself.
    ParameterSlider(QWidget* parent, SliderRecord record, QWidget* redrawTarget = nullptr);
    ~ParameterSlider() override;

    SliderRecord& record() { return record_; }
    const SliderRecord& record() const { return record_; }
    QWidget* redrawTarget() { return redrawTarget_ ? redrawTarget_ : this; }

    // The picture's size: the client area inside the thin border.
    int clientWidth() const { return contentsRect().width(); }
    int clientHeight() const { return contentsRect().height(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void store(int32_t value);

    SliderRecord record_;
    QWidget* redrawTarget_;
    std::shared_ptr<Image> strip_;  // shared by every slider
};

// Creates a visible control at `position` with the outer size `size`.
ParameterSlider* createParameterSlider(QWidget* parent, QPoint position, QSize size, SliderRecord record,
                                       QWidget* redrawTarget = nullptr);

}  // namespace nelmora
