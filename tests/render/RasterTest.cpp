#include "render/CodificacionRaster.h"
#include "render/SalidaRaster.h"
#include "render/Workspace.h"

#include "document/Design.h"
#include "support/Bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace quoravex;
using namespace quoravex::pruebas;

namespace {

// Adds an object whose box is a solid rectangle of the colour, the size of its record.
int agregar(Design& d, Workspace& ws, int16_t tipo, QRect r, uint32_t pulsadores, Color color = ColorNegro) {
    const int i = d.agregar({tipo, {}, r.top(), r.left(), r.width(), r.height(), {}, pulsadores});
    ws.item(i).setGeometry(r.left(), r.top(), r.width(), r.height());
    ws.item(i).setBackColor(color);
    ws.item(i).clear();
    return i;
}

} // namespace

TEST(CodificacionRaster, RowSegmentsWholeFilesAndDecoding) {
    const std::pair<std::vector<uint8_t>, QByteArray> filas[] = {
        {{0xFF, 0, 0, 0, 0xFF}, Bytes({0, 0, 5, 0xFF, 0, 0, 0, 0xFF})},    // three zeros stay inside
        {{0xFF, 0, 0, 0, 0, 0xFF}, Bytes({0, 0, 1, 0xFF, 0, 5, 1, 0xFF})}, // a fourth closes it
        {{0, 0, 7, 0, 0, 0}, Bytes({0, 2, 1, 7})},                         // trailing zeros dropped
        {{0, 0, 0, 0, 0, 0}, QByteArray()},
        {{1, 0, 0, 0, 0, 0, 0, 0, 2, 0}, Bytes({0, 0, 1, 1, 0, 8, 1, 2})},
        {{0, 3, 0, 4, 0, 0, 0}, Bytes({0, 1, 3, 3, 0, 4})}};
    for (const auto& [fila, esperado] : filas) {
        QByteArray salida;
        CodificarFila(fila.data(), static_cast<int>(fila.size()), 0, salida);
        EXPECT_EQ(salida.toHex(' '), esperado.toHex(' '));
    }
    // A whole file: its number as 16 bits whose high byte the first segment overwrites; the
    // last row's addresses reach 32751.
    RasterBits vacio(501), ultima(512);
    ultima.poner(383, 511);
    EXPECT_EQ(std::pair(CodificarRaster(vacio, 0).toHex(' '), CodificarRaster(ultima, 1).toHex(' ')),
              std::pair(QByteArray("00 00"), QByteArray("01 7f ef 01 80")));
    RasterBits r(100), leido(100);
    for (int i = 0; i < 300; ++i)
        r.poner((i * 37) % PuntosPorFila, (i * 13) % 100);
    const QByteArray archivo = CodificarRaster(r, 3);
    DecodificarRaster(archivo, [&](int x, int y) { leido.poner(x, y); });
    EXPECT_EQ(leido.bytes, r.bytes);
    int puntos = 0; // a cut file stops without reading past its end
    DecodificarRaster(archivo.left(archivo.size() - 2), [&](int, int) { ++puntos; });
    EXPECT_LT(puntos, 300);
}

// The files of each view byte for byte: one dot of the common part, one of push-button 2 and a
// byte shared by the common part and push-button 1. A stale file is replaced; a failed write
// leaves none.
TEST(SalidaRaster, FilesOfTheExamples) {
    QTemporaryDir dir;
    Design d;
    Workspace ws;
    d.NumPulsadores = 2;
    agregar(d, ws, TipoLinea, QRect(0, 0, 1, 1), 1);
    agregar(d, ws, TipoLinea, QRect(383, 499, 1, 1), 4);
    agregar(d, ws, TipoLinea, QRect(8, 10, 8, 1), 1 | 2);
    ASSERT_TRUE(Escribir(dir.filePath(QStringLiteral("Salida00.bin")), QByteArray(100, 'x')));
    const QByteArray esperados[] = {Bytes({0x00, 0x00, 0x00, 0x01, 0x01, 0x02, 0x81, 0x01, 0xFF}),
                                    Bytes({0x01, 0x02, 0x81, 0x01, 0xFF}),
                                    Bytes({0x02, 0x7C, 0xEF, 0x01, 0x80})};
    for (int k = 0; k < 3; ++k) {
        d.VistaActual = Design::mascaraVista(k);
        ASSERT_EQ(EscribirSalida(k + 1, d, ws, dir.path()), QString());
        EXPECT_EQ(Leer(dir.filePath(QStringLiteral("Salida0%1.bin").arg(k))).toHex(' '),
                  esperados[k].toHex(' '))
            << k;
    }
    const QString noDir = dir.filePath(QStringLiteral("no-existe"));
    EXPECT_FALSE(EscribirSalida(1, d, ws, noDir).isEmpty());
    EXPECT_FALSE(QFile::exists(NombreArchivoSalida(1, noDir)));
}

TEST(SalidaRaster, WhatDecidesADot) {
    Design d;
    Workspace ws;
    agregar(d, ws, TipoLinea, QRect(0, 0, 16, 1), 1);   // row 0: a line under a turn field
    agregar(d, ws, TipoTurno, QRect(0, 0, 100, 50), 1); // that leaves no dot
    agregar(d, ws, TipoLinea, QRect(0, 20, 16, 1), 1);  // row 20: half hidden by a white text box
    agregar(d, ws, TipoTextoFijo, QRect(0, 18, 8, 5), 1, ColorBlanco);
    agregar(d, ws, TipoLinea, QRect(0, 30, 8, 1), 1, ColorGris); // row 30: grey (2240) is not black
    // Row 40: a box larger than its record is cut (dots 100..103); a smaller one is white beyond.
    const int grande = agregar(d, ws, TipoImagen, QRect(100, 40, 8, 1), 1);
    ws.item(grande).resize(40, 10);
    ws.item(grande).fillRect(QRect(0, 0, 40, 10), ColorNegro);
    agregar(d, ws, TipoLinea, QRect(200, 40, 16, 1), 1);
    ws.item(agregar(d, ws, TipoTextoFijo, QRect(200, 40, 16, 1), 1)).resize(8, 1);
    // Row 50: of two objects of the same Orden the lowest slot is on top.
    const int encima = agregar(d, ws, TipoTextoFijo, QRect(0, 50, 8, 1), 1, ColorBlanco);
    d.objeto(agregar(d, ws, TipoLinea, QRect(0, 50, 16, 1), 1)).Orden = d.objeto(encima).Orden;

    const RasterBits r = ComponerRaster(d, ws);
    auto byte = [&](int fila, int x) { return int(r.fila(fila)[x / 8]); }; // the byte of dot x
    const std::vector<int> bytes = {byte(0, 0),    byte(0, 8),    byte(20, 0),   byte(20, 8),   byte(30, 0),
                                    byte(40, 100), byte(40, 104), byte(40, 112), byte(41, 104), byte(40, 200),
                                    byte(40, 208), byte(50, 0),   byte(50, 8)};
    EXPECT_EQ(bytes, (std::vector<int>{0xFF, 0xFF, 0, 0xFF, 0, 0xF0, 0x0F, 0, 0, 0xFF, 0, 0, 0xFF}));
    EXPECT_EQ(std::pair(r.filas, r.bytes), std::pair(501, RasterPorPuntos(d, ws).bytes)); // rows 0..LargoTicket
}

TEST(SalidaRaster, FastCompositionEqualsThePerDotReference) {
    std::mt19937 azar(20261206);
    auto entre = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(azar); };
    const Color colores[] = {ColorNegro, ColorBlanco, ColorGris, 0x808080, 0x0000FF, 0x00FF00, 0x707070};
    for (int caso = 0; caso < 300; ++caso) {
        SCOPED_TRACE(caso);
        Design d;
        Workspace ws;
        d.LargoTicket = static_cast<int16_t>(entre(1, 120));
        d.NumPulsadores = static_cast<int16_t>(entre(0, 1) ? 0 : entre(2, 16));
        const int numObjetos = entre(0, 12);
        for (int k = 0; k < numObjetos; ++k) {
            const int16_t tipo = static_cast<int16_t>(entre(1, 6));
            const QRect rect(entre(-60, 400), entre(-60, 130), entre(1, 150), entre(1, 80));
            const uint32_t mascara = entre(0, 3) == 0 ? 1u : static_cast<uint32_t>(entre(0, 0x1FFFF));
            const int i = agregar(d, ws, tipo, rect, mascara, colores[entre(0, 6)]);
            Surface& caja = ws.item(i);
            caja.resize(std::max(1, rect.width() + entre(-40, 40)),
                        std::max(1, rect.height() + entre(-30, 30)));
            for (int p = 0; p < 40; ++p)
                caja.pset(entre(0, caja.width() - 1), entre(0, caja.height() - 1), colores[entre(0, 6)]);
            if (entre(0, 9) == 0)
                d.objeto(i).Orden = static_cast<int16_t>(entre(0, numObjetos)); // gaps, ties
        }
        if (numObjetos > 2 && entre(0, 2) == 0) d.borrar(entre(1, numObjetos));
        d.VistaActual = Design::mascaraVista(entre(0, std::max<int>(d.NumPulsadores, 1)));
        ASSERT_EQ(ComponerRaster(d, ws).bytes, RasterPorPuntos(d, ws).bytes);
    }
}
