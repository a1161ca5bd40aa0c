#pragma once

// Units shared by the windows and the settings: positions in twips, colours as
// red + 256 * green + 65536 * blue, and the 16-bit integers the settings store keeps.

#include <cmath>
#include <cstdint>

namespace kwiklet::units {

inline constexpr double kTwipsPerInch = 1440.0;

// Twips per device pixel at the given dots per inch (15 at 96 dpi).
inline constexpr double twipsPerPixel(double dotsPerInch) {
    return kTwipsPerInch / dotsPerInch;
}

inline constexpr double pixelsToTwips(double pixels, double dotsPerInch) {
    return pixels * twipsPerPixel(dotsPerInch);
}

inline int twipsToPixels(double twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips / twipsPerPixel(dotsPerInch)));
}

inline constexpr std::int32_t rgbColour(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}

inline constexpr bool fitsInt16(double value) {
    return value >= -32768.0 && value <= 32767.0;
}

inline constexpr bool fitsInt32(double value) {
    return value >= -2147483648.0 && value <= 2147483647.0;
}

}  // namespace kwiklet::units
