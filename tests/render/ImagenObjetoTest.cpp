#include "render/ImagenObjeto.h"
#include "document/ObjetoTicket.h"
#include "support/FicherosImagen.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace pruebas;

namespace {

// An image object on a 500-dot ticket, with its box where the record puts it.
struct Escena {
    ObjetoTicket o;
    Surface caja;
    Surface work2;
    Surface ticket{AnchoCanvas, 501};

    Escena(int left, int top, int ancho, int alto, int anchoImagen) {
        o.EnUso = Verdadero;
        o.Tipo = TipoImagen;
        o.Left = left;
        o.Top = top;
        o.Width = ancho;
        o.Height = alto;
        o.AnchoImagen = static_cast<int16_t>(anchoImagen);
        caja.setGeometry(left, top, ancho, alto);
    }
};

} // namespace

TEST(ImagenObjeto, NewPictureIsConvertedStoredAndPlaced) {
    DirectorioActualTemporal dir;
    const struct {
        int ancho, alto, anchoImagen;
        QRect caja; // expected box geometry; it starts at left 10, top 20
    } casos[] = {
        // Landscape: left kept, centred along the ticket: (501 - 48) / 2 = 226.5 -> 226.
        {200, 100, 96, QRect(10, 226, 96, 48)},
        // Portrait: top kept, centred across: (385 - 96) / 2 = 144.5 -> 144.
        {100, 200, 96, QRect(144, 20, 96, 192)},
        // Square counts as portrait.
        {50, 50, 97, QRect(144, 20, 97, 97)},
        // 100 x 70/30 = 233.3 -> 233 high, 233 x 30/70 = 99.86 -> 100 wide at (385 - 99.86) / 2 -> 143.
        {30, 70, 100, QRect(143, 20, 100, 233)},
        // 101 x 1/3 = 33.67: height 34, top (501 - 33.67) / 2 = 233.67 -> 234.
        {3, 1, 101, QRect(10, 234, 101, 34)},
    };
    for (const auto& c : casos) {
        Escena e(10, 20, 96, 96, c.anchoImagen);
        const QString origen = dir.ruta(QStringLiteral("origen.png"));
        QImage img(c.ancho, c.alto, QImage::Format_RGB32);
        img.fill(qRgb(200, 30, 30)); // 3*200 + 6*30 + 30 = 810: black once converted
        Escribir(origen, Codificar(img, "PNG"));

        ImagenObjeto io(e.o, 7, e.caja, e.work2, e.ticket);
        ASSERT_TRUE(io.ponerImagenNueva(origen));
        const QString bitmap = dir.ruta(QStringLiteral("Imagen7.bmp"));
        EXPECT_EQ(e.o.ImagenTrabajo.valor(), bitmap);
        EXPECT_EQ(e.o.ImagenOrigen.valor(), origen);
        EXPECT_FALSE(io.ImagenNueva);
        EXPECT_EQ(io.AnchoFuente, c.ancho);
        EXPECT_EQ(io.AltoFuente, c.alto);
        EXPECT_EQ(e.caja.geometry(), c.caja) << c.ancho << "x" << c.alto;
        EXPECT_EQ(e.caja.point(0, 0), 0);
        EXPECT_EQ(e.caja.point(c.caja.width() - 1, c.caja.height() - 1), 0);
        EXPECT_EQ(e.work2.point(0, 0), 0); // the work surface holds the converted picture
        const auto guardada = CargarImagen(bitmap);
        ASSERT_TRUE(guardada);
        EXPECT_EQ(guardada->size(), QSize(c.ancho, c.alto));
        EXPECT_EQ(guardada->pixel(0, 0) & 0xFFFFFF, 0u);
        // The record keeps its own geometry; only the box moved.
        EXPECT_EQ(QRect(e.o.Left, e.o.Top, e.o.Width, e.o.Height), QRect(10, 20, 96, 96));
    }
}

TEST(ImagenObjeto, ExistingBitmapIsNeitherConvertedAgainNorMoved) {
    DirectorioActualTemporal dir;
    const QString bitmap = dir.ruta(QStringLiteral("Imagen4.bmp"));
    QImage gris(60, 30, QImage::Format_RGB32);
    gris.fill(qRgb(200, 200, 200));
    Escribir(bitmap, Codificar(gris, "BMP"));
    const QByteArray antes = Leer(bitmap);

    Escena e(50, 60, 120, 60, 90);
    e.o.ImagenTrabajo = bitmap;
    ImagenObjeto io(e.o, 4, e.caja, e.work2, e.ticket);
    ASSERT_TRUE(io.cargaImagen(bitmap));
    // Only the width is re-applied from AnchoImagen; the height follows the picture.
    EXPECT_EQ(e.caja.geometry(), QRect(50, 60, 90, 45));
    EXPECT_EQ(e.caja.point(10, 10), 0xC8C8C8); // painted as stored, not converted
    EXPECT_EQ(Leer(bitmap), antes);
    EXPECT_EQ(e.o.ImagenTrabajo.valor(), bitmap);
}

TEST(ImagenObjeto, ABadFileChangesNothing) {
    DirectorioActualTemporal dir;
    Escena e(10, 20, 96, 96, 96);
    ImagenObjeto io(e.o, 2, e.caja, e.work2, e.ticket);
    Escribir(dir.ruta(QStringLiteral("bueno.png")), Codificar(MitadNegra(40, 20), "PNG"));
    ASSERT_TRUE(io.ponerImagenNueva(dir.ruta(QStringLiteral("bueno.png"))));
    const ObjetoTicket registro = e.o;
    const QImage caja = e.caja.image();
    const QRect geometria = e.caja.geometry();
    const QImage work2 = e.work2.image();
    const QByteArray bitmap = Leer(dir.ruta(QStringLiteral("Imagen2.bmp")));

    Escribir(dir.ruta(QStringLiteral("malo.png")), QByteArray("\x89PNG\r\n\x1a\n rubbish", 17));
    EXPECT_FALSE(io.ponerImagenNueva(dir.ruta(QStringLiteral("malo.png"))));
    EXPECT_FALSE(io.cargaImagen(dir.ruta(QStringLiteral("malo.png"))));
    EXPECT_EQ(e.o, registro);
    EXPECT_EQ(e.caja.image(), caja);
    EXPECT_EQ(e.caja.geometry(), geometria);
    EXPECT_EQ(e.work2.image(), work2);
    EXPECT_EQ(Leer(dir.ruta(QStringLiteral("Imagen2.bmp"))), bitmap);
    EXPECT_EQ(io.AnchoFuente, 40);
}

TEST(ImagenObjeto, SliderAppliesWidthAndFitsOnRelease) {
    DirectorioActualTemporal dir;
    Escena e(10, 20, 96, 96, 96);
    ImagenObjeto io(e.o, 3, e.caja, e.work2, e.ticket);
    Escribir(dir.ruta(QStringLiteral("p.png")), Codificar(MitadNegra(30, 70), "PNG"));
    ASSERT_TRUE(io.ponerImagenNueva(dir.ruta(QStringLiteral("p.png"))));

    io.inicioSlider();
    EXPECT_TRUE(e.caja.border());
    EXPECT_EQ(e.caja.point(0, 0), static_cast<int32_t>(ColorBlanco));
    io.aplicaAncho(151);
    EXPECT_EQ(e.o.AnchoImagen, 151);
    EXPECT_EQ(e.caja.width(), 151);
    EXPECT_EQ(e.caja.height(), 352); // 151 x 70 / 30 = 352.33
    io.ajustarTrasSlider();
    EXPECT_FALSE(e.caja.border());
    EXPECT_EQ(e.caja.width(), 151); // 30 x 352 / 70 = 150.86
    EXPECT_EQ(e.caja.height(), 352);
    EXPECT_EQ(e.caja.point(10, 100), 0);
    EXPECT_EQ(e.caja.point(140, 100), static_cast<int32_t>(ColorBlanco));
    EXPECT_EQ(e.caja.left(), 144); // placed for the first width; the slider never moves it
}

TEST(ImagenObjeto, WithoutAPictureNothingDividesByZero) {
    Escena e(10, 20, 96, 50, 96);
    e.o.ImagenTrabajo = QStringLiteral("/no/such/Imagen1.bmp");
    ImagenObjeto io(e.o, 1, e.caja, e.work2, e.ticket);
    io.aplicaAncho(200);
    EXPECT_EQ(e.o.AnchoImagen, 200);
    EXPECT_EQ(e.caja.geometry(), QRect(10, 20, 200, 50));
    io.pintaImagenObjeto();
    io.ajustarTrasSlider();
    EXPECT_EQ(e.caja.geometry(), QRect(10, 20, 200, 50));

    // No working bitmap at all: the width is kept, the box is not touched.
    Escena sin(10, 20, 96, 50, 96);
    ImagenObjeto io2(sin.o, 1, sin.caja, sin.work2, sin.ticket);
    io2.aplicaAncho(0);
    EXPECT_EQ(sin.o.AnchoImagen, 0);
    EXPECT_EQ(sin.caja.geometry(), QRect(10, 20, 96, 50));
}

TEST(ImagenObjeto, PathTooLongForTheRecordIsKeptRelative) {
    DirectorioActualTemporal dir;
    QString profundo = dir.path();
    while (profundo.size() < 120)
        profundo += QStringLiteral("/carpeta-larga");
    ASSERT_TRUE(QDir().mkpath(profundo));
    const QString anterior = QDir::currentPath();
    QDir::setCurrent(profundo);
    Escena e(10, 20, 96, 96, 96);
    ImagenObjeto io(e.o, 12, e.caja, e.work2, e.ticket);
    Escribir(QStringLiteral("x.png"), Codificar(MitadNegra(10, 10), "PNG"));
    const bool hecho = io.ponerImagenNueva(QStringLiteral("x.png"));
    const QString guardada = e.o.ImagenTrabajo.valor();
    const QString resuelta = QFileInfo(ResolverRutaImagen(guardada)).absoluteFilePath();
    QDir::setCurrent(anterior);
    ASSERT_TRUE(hecho);
    EXPECT_EQ(guardada, QStringLiteral("./Imagen12.bmp"));
    EXPECT_EQ(resuelta, QDir(profundo).absoluteFilePath(QStringLiteral("Imagen12.bmp")));
}

TEST(VistaPrevia, FitsKeepingAspectAndCentresMessages) {
    EXPECT_EQ(EncajeVistaPrevia(200, 100, 240, 240), QRect(0, 60, 240, 120));
    EXPECT_EQ(EncajeVistaPrevia(100, 200, 240, 240), QRect(60, 0, 120, 240));
    EXPECT_EQ(EncajeVistaPrevia(50, 50, 240, 240), QRect(0, 0, 240, 240));
    EXPECT_EQ(EncajeVistaPrevia(3, 1, 240, 240), QRect(0, 80, 240, 80));
    EXPECT_EQ(EncajeVistaPrevia(7, 2, 100, 100), QRect(0, 36, 100, 29)); // h 28.57, y 35.71
    EXPECT_TRUE(EncajeVistaPrevia(0, 10, 240, 240).isEmpty());
    EXPECT_TRUE(EncajeVistaPrevia(10, 0, 240, 240).isEmpty());

    Surface vista(240, 240);
    MensajeImagen(vista, QStringLiteral("Arrastra Imagen hasta Aqui!"));
    QRect tinta;
    for (int y = 0; y < vista.height(); ++y)
        for (int x = 0; x < vista.width(); ++x)
            if (vista.point(x, y) != static_cast<int32_t>(ColorBlanco)) tinta |= QRect(x, y, 1, 1);
    ASSERT_FALSE(tinta.isEmpty());
    EXPECT_LE(std::abs(tinta.center().x() - 120), 3);
    EXPECT_LE(std::abs(tinta.center().y() - 120), 8);
    EXPECT_TRUE(vista.picture().isNull());
}

TEST(ImagenObjeto, DroppingTheWorkingBitmapItselfKeepsIt) {
    DirectorioActualTemporal dir;
    Escena e(10, 20, 96, 96, 96);
    ImagenObjeto io(e.o, 5, e.caja, e.work2, e.ticket);
    Escribir(dir.ruta(QStringLiteral("a.png")), Codificar(MitadNegra(40, 20), "PNG"));
    ASSERT_TRUE(io.ponerImagenNueva(dir.ruta(QStringLiteral("a.png"))));
    const QString bitmap = dir.ruta(QStringLiteral("Imagen5.bmp"));
    const QByteArray antes = Leer(bitmap);
    ASSERT_TRUE(io.ponerImagenNueva(bitmap)); // read before the file is replaced
    EXPECT_EQ(Leer(bitmap), antes);
    EXPECT_EQ(e.caja.point(5, 5), 0);
}
