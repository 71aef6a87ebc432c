#include "pentools/pen_creator_panes.h"

#include <QMouseEvent>
#include <QPainter>

#include "pentools/pen_creator_window.h"
#include "pentools/profile_graph.h"
#include "pentools/shape_preview.h"
#include "platform/image_view.h"

namespace nelmora {

namespace {

// A visible child with the thin border of a bordered window at `geometry`
// (its outer size), and an image of the client size that results inside it,
// white, with its centre point at half that size. Null when refused.
ImagePtr placePane(QFrame& pane, const QRect& geometry)
{
    pane.setFrameStyle(QFrame::Box | QFrame::Plain);
    pane.setLineWidth(1);
    // The pane paints every pixel itself.
    pane.setAttribute(Qt::WA_OpaquePaintEvent);
    pane.setGeometry(geometry);
    pane.show();
    const QSize client = pane.contentsRect().size();
    return ImagePtr(createImage(client.width(), client.height(), client.width() / 2, client.height() / 2, 0xFFFFFF));
}

void showPane(QFrame& pane, QPainter& painter, Image& image)
{
    painter.translate(pane.contentsRect().topLeft());
    paintImage(painter, image, QRect(0, 0, image.width, image.height));
    clearUpdate(image.update);
}

}  // namespace

ShapePreviewView::ShapePreviewView(PenCreatorWindow& owner, QWidget* parent, const QRect& geometry)
    : QFrame(parent), owner_(owner)
{
    setObjectName(QStringLiteral("PCVIEW"));
    image_ = placePane(*this, geometry);
}

void ShapePreviewView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    if (!image_) return;
    renderShapePreview(*image_, owner_.currentPen(), pattern_, noise_);
    showPane(*this, painter, *image_);
}

void ShapePreviewView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) return;
    pattern_ = nextPreviewPattern(pattern_);
    owner_.regenerateMap();
    update();
}

ProfileGraphView::ProfileGraphView(const PenCreatorWindow& owner, QWidget* parent, const QRect& geometry)
    : QFrame(parent), owner_(owner)
{
    setObjectName(QStringLiteral("PCHVIEW"));
    image_ = placePane(*this, geometry);
}

void ProfileGraphView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    if (!image_) return;
    composeProfileGraph(*image_, owner_.currentSettings(), noise_);
    showPane(*this, painter, *image_);
}

}  // namespace nelmora
