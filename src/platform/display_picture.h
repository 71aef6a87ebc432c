#pragma once
// The picture as the screen shows it: an opaque copy of the Image's pixels
// (their top byte means nothing, so it never reaches the screen as alpha) and
// half- and quarter-size copies averaged from it for the small magnifications.
// Only the rectangle that changed is copied again; painting reads the copies.

#include <QImage>
#include <QRect>

#include "image/image.h"

class QPainter;

namespace nelmora {

// The view pixels that show the picture pixels `picture` at `percent`.
QRect viewRect(const QRect& picture, int percent);

class DisplayPicture {
public:
    // Copies the whole picture (a new picture, a fill, an undo).
    void rebuild(const Image& image);
    // Copies `area` (picture pixels) again; the smaller copies are averaged
    // from it when a small magnification next paints it.
    void refresh(const Image& image, const QRect& area);

    // Paints the view pixels `exposed` of a view at `percent`: sharp squares at
    // 100 % and above, the averaged copies below.
    void paint(QPainter& painter, const QRect& exposed, int percent);

    const QImage& full() const { return full_; }

private:
    void average(const QImage& from, QImage& to, const QRect& toArea);
    void averageStale();

    QImage full_;
    QRect stale_;  // picture pixels changed since the smaller copies were averaged
    QImage half_;
    QImage quarter_;
};

}  // namespace nelmora
