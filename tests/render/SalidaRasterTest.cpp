#include "render/SalidaRaster.h"
#include "render/Workspace.h"

#include "document/Design.h"

#include "support/Bytes.h"
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <random>

using namespace quoravex;
using namespace quoravex::pruebas;

namespace {

// Adds an object whose box is a solid rectangle of the colour, the size of its record.
int agregar(Design& d, Workspace& ws, int16_t tipo, QRect r, uint32_t pulsadores, Color color = ColorNegro) {
    NuevoObjeto n;
    n.Tipo = tipo;
    n.Left = r.left();
    n.Top = r.top();
    n.Width = r.width();
    n.Height = r.height();
    n.Pulsadores = pulsadores;
    const int i = d.agregar(n);
    Surface& caja = ws.item(i);
    caja.setGeometry(r.left(), r.top(), r.width(), r.height());
    caja.setBackColor(color);
    caja.clear();
    return i;
}

} // namespace

TEST(SalidaRaster, FilesOfTheExamples) {
    QTemporaryDir dir;
    Design d;
    Workspace ws;
    d.NumPulsadores = 2;
    agregar(d, ws, TipoLinea, QRect(0, 0, 1, 1), 1);
    agregar(d, ws, TipoLinea, QRect(383, 499, 1, 1), 4);
    agregar(d, ws, TipoLinea, QRect(8, 10, 8, 1), 1 | 2); // common part and push-button 1

    const QByteArray esperados[] = {Bytes({0x00, 0x00, 0x00, 0x01, 0x01, 0x02, 0x81, 0x01, 0xFF}),
                                    Bytes({0x01, 0x02, 0x81, 0x01, 0xFF}),
                                    Bytes({0x02, 0x7C, 0xEF, 0x01, 0x80})};
    for (int k = 0; k < 3; ++k) {
        d.VistaActual = Design::mascaraVista(k);
        ASSERT_EQ(EscribirSalida(k + 1, d, ws, dir.path()), QString());
        EXPECT_EQ(Leer(NombreArchivoSalida(k + 1, dir.path())).toHex(' '), esperados[k].toHex(' ')) << k;
    }
    EXPECT_EQ(NombreArchivoSalida(3, dir.path()), dir.filePath(QStringLiteral("Salida02.bin")));

    // Objects of push-buttons only leave the common part empty.
    Design soloPulsador;
    Workspace ws2;
    soloPulsador.NumPulsadores = 2;
    agregar(soloPulsador, ws2, TipoLinea, QRect(0, 0, 50, 50), 2);
    ASSERT_EQ(EscribirSalida(1, soloPulsador, ws2, dir.path()), QString());
    EXPECT_EQ(Leer(dir.filePath(QStringLiteral("Salida00.bin"))), Bytes({0x00, 0x00}));
}

TEST(SalidaRaster, WhatDecidesADot) {
    Design d;
    Workspace ws;
    // A line under a turn field: the field leaves no dot, the line shows through.
    agregar(d, ws, TipoLinea, QRect(0, 0, 16, 1), 1);
    agregar(d, ws, TipoTurno, QRect(0, 0, 100, 50), 1);
    // A white text box above a line hides it.
    agregar(d, ws, TipoLinea, QRect(0, 20, 16, 1), 1);
    agregar(d, ws, TipoTextoFijo, QRect(0, 18, 8, 5), 1, ColorBlanco);
    // A grey box is not black: 2240 is above the threshold.
    agregar(d, ws, TipoLinea, QRect(0, 30, 8, 1), 1, ColorGris);
    // The record bounds the dot: a box larger than its record is cut, a smaller one is white beyond.
    const int grande = agregar(d, ws, TipoImagen, QRect(100, 40, 8, 1), 1);
    ws.item(grande).resize(40, 10);
    ws.item(grande).fillRect(QRect(0, 0, 40, 10), ColorNegro);
    agregar(d, ws, TipoLinea, QRect(200, 40, 16, 1), 1);
    const int pequena = agregar(d, ws, TipoTextoFijo, QRect(200, 40, 16, 1), 1);
    ws.item(pequena).resize(8, 1);

    const RasterBits r = ComponerRaster(d, ws);
    EXPECT_EQ(r.fila(0)[0], 0xFF);
    EXPECT_EQ(r.fila(0)[1], 0xFF);
    EXPECT_EQ(r.fila(20)[0], 0x00); // hidden under the white box
    EXPECT_EQ(r.fila(20)[1], 0xFF);
    EXPECT_EQ(r.fila(30)[0], 0x00);
    EXPECT_EQ(r.fila(40)[100 / 8], 0xF0); // dots 100..103 of byte 12 (96..103)
    EXPECT_EQ(r.fila(40)[104 / 8], 0x0F);
    EXPECT_EQ(r.fila(40)[112 / 8], 0x00);
    EXPECT_EQ(r.fila(41)[104 / 8], 0x00);
    EXPECT_EQ(r.fila(40)[200 / 8], 0xFF);
    EXPECT_EQ(r.fila(40)[208 / 8], 0x00); // box too small: white beyond it hides the line
    EXPECT_EQ(r.bytes, RasterPorPuntos(d, ws).bytes);
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
                d.objeto(i).Orden = static_cast<int16_t>(entre(0, numObjetos)); // gaps and duplicates
        }
        if (numObjetos > 2 && entre(0, 2) == 0) d.borrar(entre(1, numObjetos));
        const int vista = entre(0, std::max<int>(d.NumPulsadores, 1));
        d.VistaActual = Design::mascaraVista(vista);
        ASSERT_EQ(ComponerRaster(d, ws).bytes, RasterPorPuntos(d, ws).bytes);
    }
}

TEST(SalidaRaster, WriteFailureLeavesNoFileAndSaysWhy) {
    QTemporaryDir dir;
    Design d;
    Workspace ws;
    const QString noDir = dir.filePath(QStringLiteral("no-existe"));
    const QString error = EscribirSalida(1, d, ws, noDir);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(NombreArchivoSalida(1, noDir)));

    // A stale file of the same name is replaced.
    ASSERT_TRUE(Escribir(NombreArchivoSalida(1, dir.path()), QByteArray(100, 'x')));
    ASSERT_EQ(EscribirSalida(1, d, ws, dir.path()), QString());
    EXPECT_EQ(Leer(NombreArchivoSalida(1, dir.path())), Bytes({0, 0}));
}
