#pragma once

// A picture box: a control that shows its back image, the gradient painted on it.

#include "appearance/PaintedBackground.h"

#include <QWidget>

#include <optional>

namespace kwiklet {

class PaintedBox : public QWidget {
public:
    // A box of the given size in pixels, black until painted.
    PaintedBox(QWidget* parent, QSize pixels);

    PaintedBackground& background() { return *background_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<PaintedBackground> background_;
};

}  // namespace kwiklet
