#pragma once

class QWidget;

namespace kwiklet {

// Paints the saved skin into the window's background. Until the gradient painter
// lands, windows keep the toolkit's own background.
void ApplySkin(QWidget& window);

}  // namespace kwiklet
