#include "platform/display_picture.h"

#include <QPainter>

#include "app/view_scale.h"

namespace nelmora {

namespace {

QSize reducedSize(QSize size, int factor)
{
    return {(size.width() + factor - 1) / factor, (size.height() + factor - 1) / factor};
}

// The rectangle of a reduced copy that covers `area` of the larger one.
QRect reducedArea(const QRect& area, int factor)
{
    return QRect(QPoint(area.left() / factor, area.top() / factor),
                 QPoint(area.right() / factor, area.bottom() / factor));
}

}  // namespace

QRect viewRect(const QRect& picture, int percent)
{
    return QRect(QPoint(int(viewStart(picture.left(), percent)), int(viewStart(picture.top(), percent))),
                 QPoint(int(viewEnd(picture.right() + 1, percent)) - 1,
                        int(viewEnd(picture.bottom() + 1, percent)) - 1));
}

void DisplayPicture::rebuild(const Image& image)
{
    const QSize size(image.width, image.height);
    if (full_.size() != size) {
        full_ = QImage(size, QImage::Format_RGB32);
        half_ = QImage(reducedSize(size, 2), QImage::Format_RGB32);
        quarter_ = QImage(reducedSize(size, 4), QImage::Format_RGB32);
    }
    refresh(image, QRect(QPoint(0, 0), size));
}

void DisplayPicture::refresh(const Image& image, const QRect& area)
{
    const QRect r = area.intersected(QRect(0, 0, image.width, image.height));
    if (r.isEmpty() || full_.isNull()) return;
    // One detach and plain pointers: with the rectangle's width read through
    // the loop, the stores might alias it and the copy would stay scalar.
    uchar* bits = full_.bits();
    const qsizetype bytesPerLine = full_.bytesPerLine();
    const int width = r.width();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const uint32_t* __restrict from = image.pixels + size_t(y) * size_t(image.stride) + size_t(r.left());
        auto* __restrict to = reinterpret_cast<uint32_t*>(bits + y * bytesPerLine) + r.left();
        for (int x = 0; x < width; ++x) to[x] = from[x] | 0xFF000000u;
    }
    stale_ |= r;
}

void DisplayPicture::averageStale()
{
    if (stale_.isEmpty()) return;
    const QRect halfArea = reducedArea(stale_, 2);
    average(full_, half_, halfArea);
    average(half_, quarter_, reducedArea(halfArea, 2));
    stale_ = QRect();
}

// Each pixel of `to` is the rounded mean of the 2 x 2 block of `from` it
// covers; blocks cut by the edge average the pixels they have.
void DisplayPicture::average(const QImage& from, QImage& to, const QRect& toArea)
{
    const QRect r = toArea.intersected(to.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const int y0 = 2 * y, y1 = std::min(2 * y + 1, from.height() - 1);
        const auto* row0 = reinterpret_cast<const uint32_t*>(from.constScanLine(y0));
        const auto* row1 = reinterpret_cast<const uint32_t*>(from.constScanLine(y1));
        auto* out = reinterpret_cast<uint32_t*>(to.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) {
            const int x0 = 2 * x, x1 = std::min(2 * x + 1, from.width() - 1);
            const uint32_t p[4] = {row0[x0], row0[x1], row1[x0], row1[x1]};
            uint32_t pixel = 0xFF000000u;
            for (int shift : {16, 8, 0}) {
                uint32_t sum = 2;
                for (uint32_t q : p) sum += (q >> shift) & 0xFF;
                pixel |= (sum / 4) << shift;
            }
            out[x] = pixel;
        }
    }
}

void DisplayPicture::paint(QPainter& painter, const QRect& exposed, int percent)
{
    const int reduction = reductionAt(percent);
    if (reduction > 1) {
        averageStale();
        // The reduced copy is shown one to one.
        const QImage& copy = reduction == 2 ? half_ : quarter_;
        const QRect r = exposed.intersected(copy.rect());
        if (!r.isEmpty()) painter.drawImage(r.topLeft(), copy, r);
        return;
    }
    if (full_.isNull()) return;
    // The picture pixels under the exposed view pixels, drawn as whole squares.
    const int left = int(pictureCoordinate(exposed.left(), percent));
    const int top = int(pictureCoordinate(exposed.top(), percent));
    const int right = int(pictureCoordinate(exposed.right(), percent));
    const int bottom = int(pictureCoordinate(exposed.bottom(), percent));
    const QRect source = QRect(QPoint(left, top), QPoint(right, bottom)).intersected(full_.rect());
    if (source.isEmpty()) return;
    if (percent == 100) {
        painter.drawImage(source.topLeft(), full_, source);
        return;
    }
    painter.drawImage(viewRect(source, percent), full_, source);
}

}  // namespace nelmora
