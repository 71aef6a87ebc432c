#include "platform/image_view.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

namespace nelmora {

QRect toQRect(const UpdateRect& rect, const Image& image)
{
    const QRect r(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
    if (isEmpty(rect)) return {};
    return r.intersected(QRect(0, 0, image.width, image.height));
}

void paintImage(QPainter& painter, const Image& image, const QRect& area)
{
    const QRect r = area.intersected(QRect(0, 0, image.width, image.height));
    if (r.isEmpty()) return;
    QImage opaque(r.size(), QImage::Format_RGB32);
    for (int y = 0; y < r.height(); ++y) {
        const uint32_t* from = image.pixels + size_t(r.top() + y) * image.stride + r.left();
        auto* to = reinterpret_cast<uint32_t*>(opaque.scanLine(y));
        for (int x = 0; x < r.width(); ++x) to[x] = from[x] | 0xFF000000u;
    }
    painter.drawImage(r.topLeft(), opaque);
}

void showImageChanges(QWidget& widget, const Image& image)
{
    const QRect r = toQRect(image.update, image);
    if (!r.isEmpty()) widget.repaint(r);
}

}  // namespace nelmora
