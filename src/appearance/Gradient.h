#pragma once

// The gradient every window's background is painted with: 63 horizontal bands from a
// start colour towards black, each band 4 darker in every component.

#include <cstdint>

namespace kwiklet {

// What the gradient is painted on: a surface that keeps what is drawn on it.
class GradientSurface {
public:
    virtual ~GradientSurface() = default;
    // The surface's outer size, in twips.
    virtual int heightTwips() const = 0;
    virtual int widthTwips() const = 0;
    // Fills the box from (left, top) to (right, bottom), twips, with the colour; each
    // component is taken as 0 to 255, anything beyond as the nearer end.
    virtual void fillBox(int left, int top, int right, int bottom, int red, int green,
                         int blue) = 0;
};

// The skin the last skinned paint used, shared by the whole program: the About window
// paints from its red, which the paints before it left at their darkened end.
struct SkinState {
    std::int32_t red = 0;
    std::int32_t green = 0;
    std::int32_t blue = 0;
    bool topToBottom = false;
};
SkinState& skinState();

// Paints the 63 bands over the surface: the band height is its height / 63, rounded half
// to even; the start colour at the top when topToBottom is true, else at the bottom with
// the bands rising. Leaves each component variable at its darkened end value,
// max(0, start - 252), as the next paint from the same variables starts from there.
void paintGradient(GradientSurface& surface, std::int32_t& red, std::int32_t& green,
                   std::int32_t& blue, const bool& topToBottom);

}  // namespace kwiklet
