#pragma once

// A label whose caption is a character of the Webdings symbol font, drawn as the shape
// that font gives it, so that it looks the same where no Webdings font is installed:
// "5" an up-pointing triangle, "6" a down-pointing one, "r" a cross. It takes its
// clicks for itself.

#include <QLabel>

namespace kwiklet {

class GlyphLabel : public QLabel {
    Q_OBJECT
public:
    GlyphLabel(const QString& caption, QWidget* parent);

Q_SIGNALS:
    // The left button was pressed and released on the glyph.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace kwiklet
