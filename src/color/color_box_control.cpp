#include "color/color_box_control.h"

#include <QMouseEvent>
#include <QPainter>

#include "color/color_box.h"
#include "platform/invalidate.h"

namespace nelmora {

ColorBoxControl::ColorBoxControl(ColorCreatorState& state, QWidget* colorCreator)
    : QWidget(colorCreator), state_(state), colorCreator_(colorCreator)
{
    setObjectName(QStringLiteral("COLBOX"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColorBoxControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::black);
    for (const ColorBoxLayer& layer : colorBoxLayers(state_, width(), height())) {
        const QRect r(layer.rect.left, layer.rect.top, layer.rect.right - layer.rect.left,
                      layer.rect.bottom - layer.rect.top);
        // QColor takes 0x00RRGGBB as it is; the top byte is ignored.
        painter.fillRect(r, QColor(QRgb(layer.color)));
        // A one-pixel frame on the rectangle's own edge pixels.
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

void ColorBoxControl::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        colorBoxLeftClick(state_, pos.x(), pos.y(), width(), height());
    else if (event->button() == Qt::RightButton)
        state_.workspace->swapColors();
    else
        return;
    invalidateWithChildren(colorCreator_);
}

}  // namespace nelmora
