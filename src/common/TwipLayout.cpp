#include "common/TwipLayout.h"

#include "common/Units.h"
#include "platform/Platform.h"

#include <QWidget>

namespace kwiklet {

int pixelsFromTwips(double twips) {
    return units::twipsToPixels(twips, platform().screenMetrics().dotsPerInch);
}

void placeInTwips(QWidget& control, int left, int top, int width, int height) {
    control.setGeometry(pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width),
                        pixelsFromTwips(height));
}

}  // namespace kwiklet
