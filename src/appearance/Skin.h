#pragma once

#include "appearance/Gradient.h"

namespace kwiklet {

// Paints the saved skin over the surface: the start colour "firstVal", "secondVal",
// "thirdVal" and the direction "TopToBottom". Without a saved skin ("firstVal" -1 or
// absent), or with one that is not numbers, the built-in skin: 133, 128, 233, from the
// top. Components outside 0 to 255 count as the nearer end. The skin read is left in
// SkinState, and the paint leaves it darkened there.
void applySavedSkin(GradientSurface& surface);

// The skin nothing saved: red 133, green 128, blue 233, lightest at the top.
inline constexpr SkinState kBuiltInSkin{133, 128, 233, true};

}  // namespace kwiklet
