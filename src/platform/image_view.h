#pragma once
// Showing an Image on a widget: widgets paint from the Image's pixels.

#include <QRect>

#include "image/image.h"

class QPainter;
class QWidget;

namespace nelmora {

// The update rectangle as a QRect, clipped to the image; empty when there is nothing to show.
QRect toQRect(const UpdateRect& rect, const Image& image);

// Paints the pixels of `area` at the same coordinates. The pixels' top byte
// means nothing, so it never reaches the screen as alpha.
void paintImage(QPainter& painter, const Image& image, const QRect& area);

// Synchronously repaints the part of `widget` under the image's update rectangle.
void showImageChanges(QWidget& widget, const Image& image);

}  // namespace nelmora
