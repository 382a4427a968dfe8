#pragma once

#include <QRgb>
#include <cstdint>

namespace quoravex {

// Colours are 24-bit values with red in the low byte: 0x00BBGGRR.
using Color = uint32_t;

constexpr Color ColorNegro = 0x000000;
constexpr Color ColorBlanco = 0xFFFFFF;
constexpr Color ColorGris = 0xE0E0E0;      // dimmed common-part objects
constexpr Color ColorCianClaro = 0xFFFFC0; // new or placed objects

// The only conversions between our colour order and Qt's 0xAARRGGBB.
constexpr QRgb AQRgb(Color c) {
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr Color DeQRgb(QRgb q) {
    return ((q >> 16) & 0xFFu) | (q & 0xFF00u) | ((q & 0xFFu) << 16);
}

// Byte `indice` of a colour: 1 red, 2 green, 3 blue; -1 for an index outside 1..3
// or a value that is no colour.
constexpr int ComponenteColor(int64_t color, int indice) {
    if (indice < 1 || indice > 3 || color < 0 || color > 0xFFFFFF) return -1;
    return static_cast<int>((color >> (8 * (indice - 1))) & 0xFF);
}

// Darkness measure: 3R + 6G + B, 0 for black up to 2550 for white.
constexpr int Oscuridad(Color c) {
    return 3 * static_cast<int>(c & 0xFF) + 6 * static_cast<int>((c >> 8) & 0xFF) +
           static_cast<int>((c >> 16) & 0xFF);
}

} // namespace quoravex
