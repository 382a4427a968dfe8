#include "render/Redibujar.h"
#include "render/ImagenObjeto.h"
#include "render/TextoObjeto.h"
#include "render/Workspace.h"

#include "document/Design.h"
#include "support/FicherosImagen.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace pruebas;

namespace {

int agregar(Design& d, int16_t tipo, uint32_t pulsadores, QRect r = QRect(10, 10, 60, 30)) {
    NuevoObjeto n;
    n.Tipo = tipo;
    n.Pulsadores = pulsadores;
    n.Left = r.left();
    n.Top = r.top();
    n.Width = r.width();
    n.Height = r.height();
    n.Texto = tipo == TipoTurno ? QStringLiteral("A88") : QStringLiteral("Hola");
    const int i = d.agregar(n);
    d.objeto(i).FontName = QStringLiteral("DejaVu Sans");
    d.objeto(i).FontSize = 12;
    d.objeto(i).Pendiente = Falso;
    return i;
}

bool aparcada(const Workspace& ws, int i) {
    return ws.item(i).geometry() == QRect(1000, 0, 14, 17);
}

// The colour of the ink in a box: the first pixel that is not white, or white.
int32_t tinta(const Workspace& ws, int i) {
    const Surface& s = ws.item(i);
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.point(x, y) != 0xFFFFFF) return s.point(x, y);
    return 0xFFFFFF;
}

} // namespace

TEST(Redibujar, ViewRule) {
    Design d;
    Workspace ws;
    d.NumPulsadores = 4;
    const int comun = agregar(d, TipoTextoFijo, 1);
    const int comunY3 = agregar(d, TipoLinea, 9);
    const int solo1 = agregar(d, TipoLinea, 2);
    const int campo = agregar(d, TipoTurno, 1);

    d.VistaActual = 1;
    RedibujarTicket(d, ws);
    EXPECT_EQ(tinta(ws, comun), 0);
    EXPECT_EQ(tinta(ws, comunY3), 0);
    EXPECT_TRUE(aparcada(ws, solo1));
    EXPECT_EQ(tinta(ws, campo), 0);
    EXPECT_EQ(d.Objeto, campo); // the last slot drawn

    d.VistaActual = 8; // push-button 3
    RedibujarTicket(d, ws);
    EXPECT_EQ(tinta(ws, comun), static_cast<int32_t>(ColorGris));
    EXPECT_EQ(tinta(ws, comunY3), 0);
    EXPECT_TRUE(aparcada(ws, solo1));
    EXPECT_EQ(ws.item(comunY3).geometry(), QRect(10, 10, 60, 30));

    d.NumPulsadores = 0; // single push-button ticket: everything in black
    RedibujarTicket(d, ws);
    for (int i : {comun, comunY3, solo1, campo})
        EXPECT_EQ(tinta(ws, i), 0) << i;
}

TEST(Redibujar, NothingHappensWithoutObjectsAndRedrawIsIdempotent) {
    Design d;
    Workspace ws;
    ws.item(3).setGeometry(5, 5, 20, 20);
    RedibujarTicket(d, ws);
    EXPECT_EQ(ws.item(3).geometry(), QRect(5, 5, 20, 20));

    agregar(d, TipoTextoFijo, 1);
    agregar(d, TipoLinea, 1, QRect(0, 100, 384, 3));
    agregar(d, TipoTurno, 1, QRect(50, 200, 382, 120));
    RedibujarTicket(d, ws);
    std::vector<QImage> primera;
    std::vector<QRect> geometrias;
    for (int i = 1; i <= 3; ++i) {
        primera.push_back(ws.item(i).image());
        geometrias.push_back(ws.item(i).geometry());
    }
    RedibujarTicket(d, ws);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(ws.item(i).image(), primera[size_t(i - 1)]) << i;
        EXPECT_EQ(ws.item(i).geometry(), geometrias[size_t(i - 1)]) << i;
    }
}

TEST(Redibujar, TextBoxFollowsItsTextWhateverWidthWasStored) {
    Design d;
    Workspace ws;
    const int i = agregar(d, TipoTextoFijo, 1, QRect(7, 9, 382, 120));
    RedibujarTicket(d, ws);
    Surface medida(10, 10);
    medida.setFontName(QStringLiteral("DejaVu Sans"));
    medida.setFontSize(12);
    EXPECT_EQ(ws.item(i).geometry(), QRect(7, 9, medida.textWidth(QStringLiteral("Hola.")),
                                           medida.textHeight(QStringLiteral("Hola"))));
    EXPECT_EQ(d.objeto(i).CurrentX, 0);
    EXPECT_EQ(d.objeto(i).TextWidth, medida.textWidth(QStringLiteral("Hola.")));
    EXPECT_EQ(d.objeto(i).Width, 382); // the record keeps its size
}

TEST(Redibujar, ImagesWithAndWithoutTheirBitmap) {
    DirectorioActualTemporal temporal;
    Design d;
    Workspace ws;
    d.NumPulsadores = 2;
    const int sinArchivo = agregar(d, TipoImagen, 1, QRect(20, 30, 96, 96));
    d.objeto(sinArchivo).ImagenTrabajo = QStringLiteral("no-existe.bmp");
    const int conArchivo = agregar(d, TipoImagen, 1, QRect(144, 202, 96, 96));
    const QString ruta = GuardarImagenTrabajoDe(conArchivo, BlancoYNegro(MitadNegra(40, 20)));
    ASSERT_FALSE(ruta.isEmpty());
    d.objeto(conArchivo).ImagenTrabajo = ruta;
    d.objeto(conArchivo).AnchoImagen = 80;

    d.VistaActual = 1;
    RedibujarTicket(d, ws);
    EXPECT_EQ(ws.item(sinArchivo).geometry(), QRect(20, 30, 96, 96));
    EXPECT_EQ(tinta(ws, sinArchivo), 0xFFFFFF);
    EXPECT_EQ(ws.item(conArchivo).geometry(), QRect(144, 202, 80, 40));
    EXPECT_EQ(tinta(ws, conArchivo), 0);

    d.VistaActual = 2; // push-button 1: the common-part picture is greyed
    RedibujarTicket(d, ws);
    EXPECT_EQ(tinta(ws, conArchivo), static_cast<int32_t>(ColorGris));
}
