#include "color/color_slider_control.h"

#include <QMouseEvent>
#include <QPainter>
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
    if (event->button() == Qt::LeftButton)
        colorSliderClick(state_, record_, pos.x() - client.left(), client.width());
    else if (event->button() == Qt::RightButton)
        toggleRgbMode(state_.rgbMode);
    else
        return;
    invalidateWithChildren(colorCreator_);
}

}  // namespace nelmora
