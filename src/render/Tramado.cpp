#include "Tramado.h"

#include "Color.h"
#include "Surface.h"

#include <algorithm>
#include <array>
#include <vector>

namespace quoravex {

namespace {

// Grey levels in darkness units, 3R + 6G + B: ten per grey step, 0 black to 2550 white.
constexpr int NivelBlanco = 2550;
// A level at or below it is black.
constexpr int UmbralNegro = 1280;

// A neighbour that takes peso / divisor of a pixel's error.
struct Vecino {
    int dx, dy, peso;
};

constexpr int FilasDifusion = 3;  // the pixel's row and two below
constexpr int MargenDifusion = 2; // neighbours reach two columns either side

constexpr std::array<Vecino, 4> VecinosFloydSteinberg{{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}};
constexpr std::array<Vecino, 6> VecinosAtkinson{
    {{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}}};

// 4 x 4 Bayer matrix: the order in which a growing darkness fills each tile.
constexpr int Bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// A row of grey levels with the brightness added, kept within black and white.
void LeerFila(const QImage& fuente, int y, int ajuste, std::vector<int>& niveles) {
    const auto* entrada = reinterpret_cast<const QRgb*>(fuente.constScanLine(y));
    for (int x = 0; x < fuente.width(); ++x)
        niveles[x] = std::clamp(Oscuridad(DeQRgb(entrada[x])) + ajuste, 0, NivelBlanco);
}

// Error diffusion, scanning rows alternately left to right and right to left. The shares
// are cut from the running sum, so a full set of weights passes on the whole error.
template <size_t N>
void Difundir(const QImage& fuente, QImage& salida, int ajuste, const std::array<Vecino, N>& vecinos,
              int divisor) {
    const int ancho = fuente.width();
    std::vector<int> niveles(ancho);
    std::vector<std::vector<int>> errores(FilasDifusion, std::vector<int>(ancho + 2 * MargenDifusion, 0));
    for (int y = 0; y < fuente.height(); ++y) {
        LeerFila(fuente, y, ajuste, niveles);
        auto* linea = reinterpret_cast<QRgb*>(salida.scanLine(y));
        const int paso = (y % 2 == 0) ? 1 : -1;
        for (int i = 0; i < ancho; ++i) {
            const int x = paso > 0 ? i : ancho - 1 - i;
            const int valor = niveles[x] + errores[0][x + MargenDifusion];
            const bool negro = valor <= UmbralNegro;
            linea[x] = AQRgb(negro ? ColorNegro : ColorBlanco);
            const int error = valor - (negro ? 0 : NivelBlanco);
            int acumulado = 0, repartido = 0;
            for (const Vecino& v : vecinos) {
                acumulado += v.peso;
                const int parte = error * acumulado / divisor - repartido;
                repartido += parte;
                errores[v.dy][x + paso * v.dx + MargenDifusion] += parte;
            }
        }
        std::rotate(errores.begin(), errores.begin() + 1, errores.end());
        std::fill(errores.back().begin(), errores.back().end(), 0);
    }
}

} // namespace

QImage ConvertirBlancoYNegro(const QImage& origen, Conversion metodo, int brillo) {
    const QImage fuente = origen.convertToFormat(QImage::Format_RGB32);
    QImage salida = Surface::nuevaImagen(fuente.width(), fuente.height(), ColorBlanco);
    // Brightness is in grey steps, ten darkness units each.
    const int ajuste = 10 * std::clamp(brillo, BrilloMinimo, BrilloMaximo);
    switch (metodo) {
    case Conversion::FloydSteinberg:
        Difundir(fuente, salida, ajuste, VecinosFloydSteinberg, 16);
        return salida;
    case Conversion::Atkinson:
        Difundir(fuente, salida, ajuste, VecinosAtkinson, 8);
        return salida;
    case Conversion::Umbral:
    case Conversion::Ordenado:
        break;
    }
    std::vector<int> niveles(fuente.width());
    for (int y = 0; y < fuente.height(); ++y) {
        LeerFila(fuente, y, ajuste, niveles);
        auto* linea = reinterpret_cast<QRgb*>(salida.scanLine(y));
        for (int x = 0; x < fuente.width(); ++x) {
            // Ordered: black below the cell's threshold, (2b + 1) / 32 of white.
            const bool negro = metodo == Conversion::Ordenado
                                   ? 32 * niveles[x] < (2 * Bayer[y % 4][x % 4] + 1) * NivelBlanco
                                   : niveles[x] <= UmbralNegro;
            linea[x] = AQRgb(negro ? ColorNegro : ColorBlanco);
        }
    }
    return salida;
}

QString NombreConversion(Conversion c) {
    switch (c) {
    case Conversion::Umbral:
        return QStringLiteral("Umbral");
    case Conversion::FloydSteinberg:
        return QStringLiteral("Floyd-Steinberg");
    case Conversion::Atkinson:
        return QStringLiteral("Atkinson");
    case Conversion::Ordenado:
        return QStringLiteral("Ordenado");
    }
    return QString();
}

} // namespace quoravex
