#include "app/GlyphLabel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace kwiklet {

GlyphLabel::GlyphLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void GlyphLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = palette().color(QPalette::WindowText);
    // The glyph's square, centred in the label, as the font draws it inside its cell.
    const qreal side = std::min(width(), height()) * 0.7;
    const QRectF box(QPointF((width() - side) / 2, (height() - side) / 2), QSizeF(side, side));
    const QString glyph = text();
    if (glyph == QLatin1String("5") || glyph == QLatin1String("6")) {
        const bool up = glyph == QLatin1String("5");
        const qreal apex = up ? box.top() : box.bottom();
        const qreal base = up ? box.bottom() - side * 0.2 : box.top() + side * 0.2;
        const QPolygonF triangle{QPointF(box.center().x(), apex), QPointF(box.right(), base),
                                 QPointF(box.left(), base)};
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawPolygon(triangle);
    } else if (glyph == QLatin1String("r")) {
        painter.setPen(QPen(ink, std::max<qreal>(1.5, side / 5), Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomLeft());
    }
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
