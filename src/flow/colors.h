#pragma once

#include <cstdint>

namespace quorbel {

// A colour as red + 256 * green + 65536 * blue.
using Color = std::uint32_t;

constexpr Color rgb(int red, int green, int blue) {
    return static_cast<Color>(red) | static_cast<Color>(green) << 8 |
           static_cast<Color>(blue) << 16;
}
constexpr int redOf(Color c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(Color c) {
    return static_cast<int>(c >> 8 & 0xFF);
}
constexpr int blueOf(Color c) {
    return static_cast<int>(c >> 16 & 0xFF);
}

// The fixed 16-colour palette of the classic PC text mode, n = 0..15.
constexpr Color PaletteColor(int n) {
    constexpr Color palette[16] = {
        rgb(0, 0, 0),       rgb(0, 0, 128),   rgb(0, 128, 0),   rgb(0, 128, 128),
        rgb(128, 0, 0),     rgb(128, 0, 128), rgb(128, 128, 0), rgb(192, 192, 192),
        rgb(128, 128, 128), rgb(0, 0, 255),   rgb(0, 255, 0),   rgb(0, 255, 255),
        rgb(255, 0, 0),     rgb(255, 0, 255), rgb(255, 255, 0), rgb(255, 255, 255),
    };
    return palette[n & 15];
}

// Fixed colours of the window that the logic sets.
constexpr Color kMenuButtonColor = rgb(0, 255, 255);

}  // namespace quorbel
