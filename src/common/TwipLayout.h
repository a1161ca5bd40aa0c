#pragma once

// Windows are laid out in twips (1440 to the inch), converted to the screen's pixels.

#include <QRect>

class QWidget;

namespace kwiklet {

// The twips as whole pixels of the primary screen.
int pixelsFromTwips(double twips);

// Places the control at (left, top) with the size, all in twips.
void placeInTwips(QWidget& control, int left, int top, int width, int height);

}  // namespace kwiklet
