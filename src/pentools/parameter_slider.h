#pragma once
// The POSLIDER control: a one-line slider over a 32-bit integer that lives
// elsewhere, read through its binding on every paint and written on a click.

#include <QFrame>
#include <functional>
#include <memory>

#include "image/image.h"
#include "pentools/slider_row.h"

namespace nelmora {

// Where a slider's integer lives. A write goes through the document's named
// edits (or the owning window), whose change signal repaints what shows it.
struct SliderBinding {
    std::function<int32_t()> read;
    std::function<void(int32_t)> write;
};

class ParameterSlider : public QFrame {
    Q_OBJECT
public:
    ParameterSlider(QWidget* parent, SliderRecord record, SliderBinding binding);
    ~ParameterSlider() override;

    SliderRecord& record() { return record_; }
    const SliderRecord& record() const { return record_; }
    int32_t value() const { return binding_.read(); }

    // The picture's size: the client area inside the thin border.
    int clientWidth() const { return contentsRect().width(); }
    int clientHeight() const { return contentsRect().height(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void store(int32_t value);

    SliderRecord record_;
    SliderBinding binding_;
    std::shared_ptr<Image> strip_;  // shared by every slider
};

// Creates a visible control at `position` with the outer size `size`.
ParameterSlider* createParameterSlider(QWidget* parent, QPoint position, QSize size, SliderRecord record,
                                       SliderBinding binding);

}  // namespace nelmora
