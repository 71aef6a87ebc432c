#pragma once
// The pen creator's two panes. Each composes its picture in an Image of its
// own client size on every paint; a pane whose image could not be made stays
// blank.

#include <QFrame>

#include "engine/random.h"
#include "image/image.h"

namespace nelmora {

class PenCreatorWindow;

// PCVIEW: one dab of the current pen on a test background. A right click
// shows the next background and asks for a new map (fresh noise).
class ShapePreviewView : public QFrame {
    Q_OBJECT
public:
    ShapePreviewView(PenCreatorWindow& owner, QWidget* parent, const QRect& geometry);

    int backgroundPattern() const { return pattern_; }
    const Image* image() const { return image_.get(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    PenCreatorWindow& owner_;
    ImagePtr image_;
    int pattern_ = 0;
    // Diffusion modes scatter the preview dab with numbers of its own, so
    // showing it never moves the painting generator.
    RandomState noise_;
};

// PCHVIEW: the current pen's radial alpha profile across its diameter.
class ProfileGraphView : public QFrame {
    Q_OBJECT
public:
    ProfileGraphView(const PenCreatorWindow& owner, QWidget* parent, const QRect& geometry);

    const Image* image() const { return image_.get(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PenCreatorWindow& owner_;
    ImagePtr image_;
    RandomState noise_;  // the graph's display noise, apart from the painting generator
};

}  // namespace nelmora
