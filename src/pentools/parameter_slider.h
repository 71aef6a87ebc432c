#pragma once
// The POSLIDER control: a one-line slider over a 32-bit integer that lives
// elsewhere, read through its binding on every paint and written on a click,
// a drag along its bar, a held step button or the wheel.

#include <QFrame>
#include <QTimer>
#include <functional>
#include <memory>

#include "image/image.h"
#include "platform/wheel_notches.h"
#include "pentools/slider_row.h"

namespace nelmora {

// Where a slider's integer lives. A write goes through the document's named
// edits (or the owning window), whose change signal repaints what shows it.
struct SliderBinding {
    std::function<int32_t()> read;
    std::function<void(int32_t)> write;
};

// A held step button repeats after this long, then at this pace.
inline constexpr int kStepRepeatDelayMs = 400;
inline constexpr int kStepRepeatIntervalMs = 50;

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

    // Steps while a step button is held: +1, -1, or 0 when none is.
    int repeatingSteps() const { return repeatSteps_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void store(int32_t value);
    void repeatStep();
    int32_t clientX(const QMouseEvent* event) const;

    SliderRecord record_;
    SliderBinding binding_;
    std::shared_ptr<Image> strip_;  // shared by every slider
    bool draggingBar_ = false;
    int repeatSteps_ = 0;
    QTimer repeatTimer_;
    WheelNotches wheel_;
};

// Creates a visible control at `position` with the outer size `size`; its
// tooltip names what it sets (the record's label unless `toolTip` is given).
ParameterSlider* createParameterSlider(QWidget* parent, QPoint position, QSize size, SliderRecord record,
                                       SliderBinding binding, const QString& toolTip = {});

}  // namespace nelmora
