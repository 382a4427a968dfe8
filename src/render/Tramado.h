#pragma once

#include <QImage>
#include <QString>

namespace quoravex {

// How a picture becomes the printer's black and white.
enum class Conversion {
    Umbral,         // a pixel with 3R + 6G + B <= 1280 is black, any other white
    FloydSteinberg, // error diffusion to four neighbours
    Atkinson,       // error diffusion of 3/4 of the error to six neighbours
    Ordenado,       // ordered dither with a 4 x 4 Bayer matrix
};

// Brightness adjustment range: added to each pixel's grey level (0 black .. 255 white)
// before the conversion.
constexpr int BrilloMinimo = -100;
constexpr int BrilloMaximo = 100;

// Pure black (0x000000) and white (0xFFFFFF) pixels in the picture's size and format of
// BlancoYNegro. Umbral with brightness 0 gives exactly what BlancoYNegro gives.
QImage ConvertirBlancoYNegro(const QImage& origen, Conversion metodo, int brillo = 0);

// Names shown in the image dialog: "Umbral", "Floyd-Steinberg", "Atkinson", "Ordenado".
QString NombreConversion(Conversion c);

} // namespace quoravex
