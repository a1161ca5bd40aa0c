#pragma once

// A window's or a preview box's painted background: an image that keeps what the
// gradient painter drew on it until the next paint, so that it survives repaints,
// exposes and a window rolled up and down again. The widget draws it in its paint event.

#include "appearance/Gradient.h"

#include <QImage>
#include <QSize>

#include <functional>

class QPainter;
class QWidget;

namespace kwiklet {

class PaintedBackground : public GradientSurface {
public:
    // An image of the given pixel size in the colour, for the widget, whose size in
    // twips it reports from its pixels unless told otherwise.
    PaintedBackground(QWidget& widget, QSize pixels, QColor colour);
    // For a widget whose size in twips is kept apart from its pixels (a rolled-up window
    // is 350 twips high, whatever whole number of pixels that makes).
    void setSizeInTwips(std::function<QSize()> sizeInTwips);

    int heightTwips() const override;
    int widthTwips() const override;
    void fillBox(int left, int top, int right, int bottom, int red, int green, int blue) override;

    void draw(QPainter& painter) const;
    const QImage& image() const { return image_; }

private:
    QSize sizeInTwips() const;
    double twipsPerPixel() const;

    QWidget& widget_;
    QImage image_;
    std::function<QSize()> sizeInTwips_;
};

}  // namespace kwiklet
