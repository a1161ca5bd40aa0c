#include "appearance/Gradient.h"

#include <algorithm>
#include <cmath>

namespace kwiklet {
namespace {

constexpr int kBands = 63;
constexpr std::int32_t kDarkening = 4;

// Rounded to the nearest integer, an exact half to the even neighbour, as a 16-bit value.
std::int16_t roundedTo16Bits(double value) {
    return static_cast<std::int16_t>(std::nearbyint(value));
}

}  // namespace

SkinState& skinState() {
    static SkinState state;
    return state;
}

void paintGradient(GradientSurface& surface, std::int32_t& red, std::int32_t& green,
                   std::int32_t& blue, const bool& topToBottom) {
    const int height = surface.heightTwips();
    const std::int16_t step = roundedTo16Bits(height / static_cast<double>(kBands));
    std::int16_t top = topToBottom ? std::int16_t{0} : roundedTo16Bits(height - step);
    const std::int16_t left = 0;
    const std::int16_t right = roundedTo16Bits(surface.widthTwips());
    auto bottom = static_cast<std::int16_t>(top + step);
    for (int band = 1; band <= kBands; ++band) {
        surface.fillBox(left, top, right, bottom, red, green, blue);
        red -= kDarkening;
        green -= kDarkening;
        blue -= kDarkening;
        for (std::int32_t* component : {&red, &green, &blue}) {
            *component = std::max<std::int32_t>(0, *component);
        }
        top = topToBottom ? bottom : static_cast<std::int16_t>(top - step);
        bottom = static_cast<std::int16_t>(top + step);
    }
}

}  // namespace kwiklet
