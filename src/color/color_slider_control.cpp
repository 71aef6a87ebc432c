#include "color/color_slider_control.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "platform/image_view.h"
#include "platform/invalidate.h"
#include "platform/shared_image.h"

namespace nelmora {

namespace {
std::weak_ptr<Image> stripSlot;
}

ColorSliderControl::ColorSliderControl(ColorCreatorState& state, int32_t channel, QWidget* colorCreator)
    : QFrame(colorCreator), state_(state), record_{channel}, colorCreator_(colorCreator),
      strip_(acquireSharedImage(stripSlot, kColorSliderStripWidth, kColorSliderStripHeight))
{
    setObjectName(QStringLiteral("SLIDERH"));
    // The thin border is the frame; the picture fills the client inside it.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool ColorSliderControl::event(QEvent* event)
{
    // The channel changes with the RGB switch, which any slider may flip.
    if (event->type() == QEvent::ToolTip)
        setToolTip(QString::fromUtf8(colorChannelName(effectiveChannel(record_.channel, state_.rgbMode))));
    return QFrame::event(event);
}

void ColorSliderControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    if (!strip_) return;
    const QRect client = contentsRect();
    const int32_t n = effectiveChannel(record_.channel, state_.rgbMode);
    renderColorSlider(*strip_, client.width(), client.height(), n, editedHue(state_), editedSaturation(state_),
                      editedBrightness(state_));
    painter.translate(client.topLeft());
    paintImage(painter, *strip_,
               QRect(0, 0, std::min(client.width(), kColorSliderStripWidth),
                     std::min(client.height(), kColorSliderStripHeight)));
}

void ColorSliderControl::mousePressEvent(QMouseEvent* event)
{
    // Presses on the border are outside the client, like a non-client hit.
    const QRect client = contentsRect();
    const QPoint pos = event->position().toPoint();
    if (!client.contains(pos)) return;
    if (event->button() == Qt::LeftButton) {
        colorSliderClick(state_, record_, pos.x() - client.left(), client.width());
        dragging_ = true;
    } else if (event->button() == Qt::RightButton) {
        toggleRgbMode(state_.rgbMode);
    } else {
        return;
    }
    invalidateWithChildren(colorCreator_);
}

void ColorSliderControl::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
    const QRect client = contentsRect();
    colorSliderDrag(state_, record_, event->position().toPoint().x() - client.left(), client.width());
    invalidateWithChildren(colorCreator_);
}

void ColorSliderControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) dragging_ = false;
}

void ColorSliderControl::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const int steps = wheel_.takeSteps(event);
    if (steps == 0) return;
    colorSliderStep(state_, record_, steps);
    invalidateWithChildren(colorCreator_);
}

}  // namespace nelmora
