#include "color/color_creator_window.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "app/document.h"
#include "app/tool_windows.h"
#include "color/color_box_control.h"
#include "color/color_slider_control.h"
#include "platform/image_view.h"
#include "platform/invalidate.h"

namespace nelmora {

ColorCreatorWindow::ColorCreatorWindow(Document& document)
    : ToolWindow(QStringLiteral("Color"), QSize(kColorFieldImageWidth, kFieldTop + kFieldSize)),
      fieldImage_(createImage(kColorFieldImageWidth, kColorFieldImageHeight, 0, 0, 0xFFFFFF))
{
    setObjectName(QStringLiteral("Quorvex01CL"));
    initColorCreatorState(state_, document.workspace());
    // The field image covers the whole client, so no background is painted.
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int32_t channel = 1; channel <= 3; ++channel) {
        auto* slider = new ColorSliderControl(state_, channel, this);
        slider->setGeometry(60, 10 + 22 * (channel - 1), 130, 20);
    }
    auto* box = new ColorBoxControl(state_, this);
    box->setGeometry(10, 10, 40, 60);
    connect(&document, &Document::drawingValueChanged, this, [this](int index) {
        if (index >= dv::hue1 && index <= dv::brightness2) invalidateWithChildren(this);
    });
}

void ColorCreatorWindow::paintEvent(QPaintEvent* event)
{
    if (!fieldImage_) return;
    if (renderFieldIfNeeded(state_, *fieldImage_)) ++fieldRenderCount_;
    QPainter painter(this);
    paintImage(painter, *fieldImage_, event->rect());
}

void ColorCreatorWindow::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        fieldLeftClick(state_, pos.x(), pos.y());
    else if (event->button() == Qt::RightButton)
        fieldRightClick(state_);
    else
        return;
    invalidateWithChildren(this);
}

ToolWindow* createColorCreatorWindow(Document& document)
{
    auto* window = new ColorCreatorWindow(document);
    if (!window->valid()) {
        delete window;
        return nullptr;
    }
    return window;
}

}  // namespace nelmora
