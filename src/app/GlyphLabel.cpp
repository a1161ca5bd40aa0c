#include "app/GlyphLabel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace kwiklet {

GlyphLabel::GlyphLabel(Glyph glyph, QWidget* parent) : QLabel(parent), glyph_(glyph) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void GlyphLabel::setGlyph(Glyph glyph) {
    glyph_ = glyph;
    update();
}

void GlyphLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = palette().color(QPalette::WindowText);
    // The glyph's square, centred in the label, as a symbol font draws it inside its cell.
    const qreal side = std::min(width(), height()) * 0.7;
    const QRectF box(QPointF((width() - side) / 2, (height() - side) / 2), QSizeF(side, side));
    if (glyph_ == Glyph::Cross) {
        painter.setPen(QPen(ink, std::max<qreal>(1.5, side / 5), Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomLeft());
        return;
    }
    const bool up = glyph_ == Glyph::UpTriangle;
    const qreal apex = up ? box.top() : box.bottom();
    const qreal base = up ? box.bottom() - side * 0.2 : box.top() + side * 0.2;
    const QPolygonF triangle{QPointF(box.center().x(), apex), QPointF(box.right(), base),
                             QPointF(box.left(), base)};
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPolygon(triangle);
}

void GlyphLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void GlyphLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Q_EMIT clicked();
    }
}

}  // namespace kwiklet
