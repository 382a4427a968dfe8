#include "render/Tramado.h"
#include "render/ImagenObjeto.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace quoravex;

namespace {

constexpr int AnchoRampa = 380, AltoRampa = 40, Decimos = 10, Columnas = AnchoRampa / Decimos;

int GrisRampa(int x) {
    return (x * 255 + (AnchoRampa - 1) / 2) / (AnchoRampa - 1);
}

} // namespace

// A grey ramp, black on the left to white on the right: each tenth of its width gets as many
// black dots as the tone of its greys, brightness added, asks for. Umbral: exactly the share
// of greys up to 128 (3R + 6G + B <= 1280). Atkinson passes on only 3/4 of each error,
// which stretches the tones about middle grey: darkness d below 1/8 prints white, above 7/8
// black, (4d - 1/2) / 3 in between; against the plain darkness it is up to 12.5 points off.
TEST(Tramado, BlackDotsFollowTheToneOfARampAndItsBrightness) {
    QImage rampa(AnchoRampa, AltoRampa, QImage::Format_RGB32);
    for (int x = 0; x < AnchoRampa; ++x)
        for (int y = 0; y < AltoRampa; ++y)
            rampa.setPixel(x, y, qRgb(GrisRampa(x), GrisRampa(x), GrisRampa(x)));
    using Tono = double (*)(int gris);
    const struct {
        Conversion metodo;
        Tono tono;
        double tolerancia; // points
    } casos[] = {
        {Conversion::Umbral, [](int g) { return g <= 128 ? 1.0 : 0.0; }, 0},
        {Conversion::FloydSteinberg, [](int g) { return (255 - g) / 255.0; }, 5},
        {Conversion::Atkinson, [](int g) { return std::clamp((4 * (255 - g) / 255.0 - 0.5) / 3, 0.0, 1.0); },
         5},
        {Conversion::Ordenado, [](int g) { return (255 - g) / 255.0; }, 5},
    };
    for (const auto& c : casos) {
        long negrosPorBrillo[3] = {};
        for (int b : {0, 1, 2}) {
            const int brillo = 50 * b - 50;
            const std::string nombre =
                NombreConversion(c.metodo).toStdString() + " " + std::to_string(brillo);
            const QImage bn = ConvertirBlancoYNegro(rampa, c.metodo, brillo);
            ASSERT_EQ(bn.size(), rampa.size()) << nombre;
            ASSERT_EQ(bn.format(), BlancoYNegro(rampa).format()) << nombre;
            double negros[Decimos] = {}, esperados[Decimos] = {};
            for (int x = 0; x < AnchoRampa; ++x) {
                esperados[x / Columnas] += 100 * c.tono(std::clamp(GrisRampa(x) + brillo, 0, 255)) / Columnas;
                for (int y = 0; y < AltoRampa; ++y) {
                    const QRgb p = bn.pixel(x, y);
                    ASSERT_TRUE(p == 0xFF000000u || p == 0xFFFFFFFFu) << nombre << " at " << x << "," << y;
                    negros[x / Columnas] += p == 0xFF000000u ? 100.0 / (AltoRampa * Columnas) : 0;
                    negrosPorBrillo[b] += p == 0xFF000000u;
                }
            }
            for (int d = 0; d < Decimos; ++d)
                EXPECT_NEAR(negros[d], esperados[d], c.tolerancia + 1e-9) << nombre << " tenth " << d;
            if (c.metodo == Conversion::Umbral && brillo == 0) {
                EXPECT_EQ(bn, BlancoYNegro(rampa));
            }
        }
        EXPECT_GT(negrosPorBrillo[0], negrosPorBrillo[1]) << NombreConversion(c.metodo).toStdString();
        EXPECT_GT(negrosPorBrillo[1], negrosPorBrillo[2]) << NombreConversion(c.metodo).toStdString();
    }
}
