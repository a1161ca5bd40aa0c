#include "appearance/PaintedBackground.h"

#include "common/Units.h"
#include "platform/Platform.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace kwiklet {
namespace {

int component(int value) {
    return std::clamp(value, 0, 255);
}

}  // namespace

PaintedBackground::PaintedBackground(QWidget& widget, QSize pixels, QColor colour)
    : widget_(widget), image_(pixels, QImage::Format_RGB32) {
    image_.fill(colour);
}

void PaintedBackground::setSizeInTwips(std::function<QSize()> sizeInTwips) {
    sizeInTwips_ = std::move(sizeInTwips);
}

double PaintedBackground::twipsPerPixel() const {
    return units::twipsPerPixel(platform().screenMetrics().dotsPerInch);
}

QSize PaintedBackground::sizeInTwips() const {
    if (sizeInTwips_) {
        return sizeInTwips_();
    }
    const double perPixel = twipsPerPixel();
    return {static_cast<int>(std::lround(widget_.width() * perPixel)),
            static_cast<int>(std::lround(widget_.height() * perPixel))};
}

int PaintedBackground::heightTwips() const {
    return sizeInTwips().height();
}

int PaintedBackground::widthTwips() const {
    return sizeInTwips().width();
}

void PaintedBackground::fillBox(int left, int top, int right, int bottom, int red, int green, int blue) {
    const double perPixel = twipsPerPixel();
    const auto pixel = [perPixel](int twips) {
        return static_cast<int>(std::lround(twips / perPixel));
    };
    const QRect box = QRect(QPoint(pixel(left), pixel(top)), QPoint(pixel(right), pixel(bottom)))
                          .normalized()
                          .adjusted(0, 0, -1, -1);
    QPainter painter(&image_);
    painter.fillRect(box, QColor(component(red), component(green), component(blue)));
    widget_.update();
}

void PaintedBackground::draw(QPainter& painter) const {
    painter.drawImage(0, 0, image_);
}

}  // namespace kwiklet
