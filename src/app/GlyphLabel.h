#pragma once

// A small symbol of the title strip, drawn as a shape in the label's text colour so that
// it looks the same whatever fonts are installed: a triangle pointing up or down (rolling
// the window up and down again) or a cross (closing it). It takes its clicks for itself.

#include <QLabel>

namespace kwiklet {

enum class Glyph { UpTriangle, DownTriangle, Cross };

class GlyphLabel : public QLabel {
    Q_OBJECT
public:
    GlyphLabel(Glyph glyph, QWidget* parent);

    Glyph glyph() const { return glyph_; }
    void setGlyph(Glyph glyph);

Q_SIGNALS:
    // The left button was pressed and released on the glyph.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Glyph glyph_;
};

}  // namespace kwiklet
