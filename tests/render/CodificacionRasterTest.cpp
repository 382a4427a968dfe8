#include "render/CodificacionRaster.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>

using namespace quoravex;
using quoravex::pruebas::Bytes;

TEST(CodificacionRaster, RowSegments) {
    const struct {
        std::vector<uint8_t> fila;
        QByteArray esperado;
    } casos[] = {
        {{0xFF, 0, 0, 0, 0xFF}, Bytes({0, 0, 5, 0xFF, 0, 0, 0, 0xFF})},    // one segment of five
        {{0xFF, 0, 0, 0, 0, 0xFF}, Bytes({0, 0, 1, 0xFF, 0, 5, 1, 0xFF})}, // two of one byte
        {{0, 0, 7, 0, 0, 0}, Bytes({0, 2, 1, 7})},                         // trailing zeros dropped
        {{0, 0, 0, 0, 0, 0}, QByteArray()},
        {{1, 0, 0, 0, 0, 0, 0, 0, 2, 0}, Bytes({0, 0, 1, 1, 0, 8, 1, 2})},
        {{0, 3, 0, 4, 0, 0, 0}, Bytes({0, 1, 3, 3, 0, 4})},
    };
    for (const auto& c : casos) {
        QByteArray salida;
        CodificarFila(c.fila.data(), static_cast<int>(c.fila.size()), 0, salida);
        EXPECT_EQ(salida.toHex(' '), c.esperado.toHex(' '));
    }
}

TEST(CodificacionRaster, WholeFiles) {
    RasterBits vacio(501);
    EXPECT_EQ(CodificarRaster(vacio, 0), Bytes({0x00, 0x00}));

    RasterBits origen(501);
    origen.poner(0, 0);
    EXPECT_EQ(CodificarRaster(origen, 0), Bytes({0x00, 0x00, 0x00, 0x01, 0x01}));

    RasterBits esquina(501);
    esquina.poner(383, 499);
    EXPECT_EQ(CodificarRaster(esquina, 2), Bytes({0x02, 0x7C, 0xEF, 0x01, 0x80}));

    RasterBits ultima(512); // LargoTicket 511: the last row's addresses reach 32751
    ultima.poner(383, 511);
    EXPECT_EQ(CodificarRaster(ultima, 1), Bytes({0x01, 0x7F, 0xEF, 0x01, 0x80}));
}

TEST(CodificacionRaster, DecodingGivesTheDotsBack) {
    RasterBits r(100);
    for (int i = 0; i < 300; ++i)
        r.poner((i * 37) % PuntosPorFila, (i * 13) % 100);
    const QByteArray archivo = CodificarRaster(r, 3);
    RasterBits leido(100);
    DecodificarRaster(archivo, [&](int x, int y) { leido.poner(x, y); });
    EXPECT_EQ(leido.bytes, r.bytes);

    // A cut file stops without reading past its end.
    int puntos = 0;
    DecodificarRaster(archivo.left(archivo.size() - 2), [&](int, int) { ++puntos; });
    EXPECT_LT(puntos, 300);
}
