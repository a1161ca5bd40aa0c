#include "appearance/PaintedBox.h"

#include <QPainter>

namespace kwiklet {

PaintedBox::PaintedBox(QWidget* parent, QSize pixels) : QWidget(parent) {
    resize(pixels);
    background_.emplace(*this, pixels, Qt::black);
}

void PaintedBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    background_->draw(painter);
}

}  // namespace kwiklet
