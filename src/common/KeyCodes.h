#pragma once

// Keys as the windows' key handlers take them: by their character codes.

namespace kwiklet {

inline constexpr int kKeyEscape = 27;

}  // namespace kwiklet
