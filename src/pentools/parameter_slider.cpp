#include "pentools/parameter_slider.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <utility>

#include "platform/image_view.h"
#include "platform/shared_image.h"
#include "platform/shift_jis_text.h"
#include "platform/ui_font.h"
#include "pentools/slider_click.h"
#include "pentools/slider_picture.h"

namespace nelmora {

namespace {
// Every slider composes its picture on this one strip; it lives while any slider does.
std::weak_ptr<Image> stripSlot;
}  // namespace

ParameterSlider::ParameterSlider(QWidget* parent, SliderRecord record, SliderBinding binding)
    : QFrame(parent), record_(std::move(record)), binding_(std::move(binding))
{
    setObjectName(QStringLiteral("POSLIDER"));
    // The thin black border of a bordered child window.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    strip_ = acquireSharedImage(stripSlot, kSliderStripWidth, kSliderStripHeight);
}

ParameterSlider::~ParameterSlider() = default;

void ParameterSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);

    const QRect client = contentsRect();
    const int w = client.width();
    const int h = client.height();
    if (!strip_ || w <= 0 || h <= 0) return;
    const int32_t current = value();
    composeSliderPicture(*strip_, record_, current, w, h);
    painter.translate(client.topLeft());
    paintImage(painter, *strip_, QRect(0, 0, w, h));

    const QFont font = minchoFont(h - 1);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::WindowText));
    // Texts fill a cell of h - 1 pixels from y = 1. The stand-in face's line is
    // taller than it was asked for, so the cell is kept by its bottom edge:
    // descenders such as the EX rows' "_" stay inside the picture.
    const int baseline = 1 + (h - 1) - QFontMetrics(font).descent();
    if (!record_.compact) painter.drawText(w - 88, baseline, fromShiftJis(sliderLabelText(record_)));
    painter.drawText(w - 61, baseline, fromShiftJis(sliderNumberText(record_, current)));
    painter.drawText(w - 18, baseline, QStringLiteral("< >"));
}

void ParameterSlider::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    // The border is not part of the control's client area.
    if (!contentsRect().contains(at)) return;
    if (event->button() == Qt::LeftButton)
        store(sliderLeftClick(record_, value(), at.x() - contentsRect().left(), clientWidth()));
    else if (event->button() == Qt::RightButton)
        store(sliderRightClick(record_));
}

void ParameterSlider::store(int32_t newValue)
{
    binding_.write(newValue);
    // Values outside the document (the pen number) have no signal to repaint them.
    update();
}

ParameterSlider* createParameterSlider(QWidget* parent, QPoint position, QSize size, SliderRecord record,
                                       SliderBinding binding)
{
    auto* slider = new ParameterSlider(parent, std::move(record), std::move(binding));
    slider->setGeometry(QRect(position, size));
    slider->show();
    return slider;
}

}  // namespace nelmora
