#include "render/ImagenObjeto.h"
#include "document/ObjetoTicket.h"
#include "support/FicherosImagen.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace pruebas;

namespace {

// An image object in `slot` on a 500-dot ticket, its box where the record puts it, in a
// fresh current directory holding a half-black picture "a.png" of ancho x alto.
struct Escena {
    DirectorioActualTemporal dir;
    ObjetoTicket o;
    Surface caja, work2, ticket{AnchoCanvas, 501};
    ImagenObjeto io;

    Escena(int slot, int ancho = 40, int alto = 20) : io(o, slot, caja, work2, ticket) {
        o.EnUso = Verdadero;
        o.Tipo = TipoImagen;
        o.Left = 10;
        o.Top = 20;
        o.Width = o.Height = o.AnchoImagen = 96;
        caja.setGeometry(10, 20, 96, 96);
        Escribir(dir.ruta(QStringLiteral("a.png")), Codificar(MitadNegra(ancho, alto), "PNG"));
    }
    QString ruta(const QString& nombre) const { return dir.ruta(nombre); }
    // The working bitmap the record names.
    QString bitmap() const { return ResolverRutaImagen(o.ImagenTrabajo.valor()); }
};

// A working bitmap's name: its slot and 8 hex digits of its bytes' digest.
bool NombreDeTrabajo(const QString& ruta, int slot) {
    return QRegularExpression(QStringLiteral("(^|[/\\\\])Imagen%1-[0-9a-f]{8}\\.bmp$").arg(slot))
        .match(ruta)
        .hasMatch();
}

} // namespace

TEST(ImagenObjeto, NewPictureIsConvertedStoredAndPlaced) {
    const struct {
        int ancho, alto, anchoImagen;
        QRect caja;
    } casos[] = {
        // Landscape: left kept, centred along the ticket: (501 - 48) / 2 = 226.5 -> 226.
        {200, 100, 96, QRect(10, 226, 96, 48)},
        // Portrait (a square too): top kept, centred across: (385 - 96) / 2 = 144.5 -> 144.
        {50, 50, 96, QRect(144, 20, 96, 96)},
        // 100 x 70/30 = 233.3 -> 233 high, 233 x 30/70 = 99.86 -> 100 wide at (385 - 99.86) / 2 -> 143.
        {30, 70, 100, QRect(143, 20, 100, 233)},
    };
    for (const auto& c : casos) {
        Escena e(7, c.ancho, c.alto);
        e.o.AnchoImagen = static_cast<int16_t>(c.anchoImagen);
        QImage img(c.ancho, c.alto, QImage::Format_RGB32);
        img.fill(qRgb(200, 30, 30)); // 3*200 + 6*30 + 30 = 810: black once converted
        Escribir(e.ruta(QStringLiteral("a.png")), Codificar(img, "PNG"));
        ASSERT_TRUE(e.io.ponerImagenNueva(e.ruta(QStringLiteral("a.png"))));
        const QString bitmap = e.o.ImagenTrabajo.valor();
        EXPECT_TRUE(NombreDeTrabajo(bitmap, 7)) << bitmap.toStdString();
        EXPECT_EQ(bitmap, RutaImagenTrabajo(7, Leer(bitmap)));
        EXPECT_EQ(e.o.ImagenOrigen.valor(), e.ruta(QStringLiteral("a.png")));
        EXPECT_EQ(e.caja.geometry(), c.caja) << c.ancho << "x" << c.alto;
        EXPECT_EQ(e.caja.point(c.caja.width() - 1, c.caja.height() - 1), 0);
        const QImage guardada = CargarImagen(bitmap).value_or(QImage());
        EXPECT_EQ(std::pair(guardada.size(), guardada.pixel(0, 0) & 0xFFFFFF),
                  std::pair(QSize(c.ancho, c.alto), 0u));
        // The record keeps its own geometry; only the box moved.
        EXPECT_EQ(QRect(e.o.Left, e.o.Top, e.o.Width, e.o.Height), QRect(10, 20, 96, 96));
    }
}

TEST(ImagenObjeto, ExistingBitmapIsNeitherConvertedAgainNorMoved) {
    Escena e(4);
    const QString bitmap = e.ruta(QStringLiteral("Imagen4.bmp"));
    QImage gris(60, 30, QImage::Format_RGB32);
    gris.fill(qRgb(200, 200, 200));
    Escribir(bitmap, Codificar(gris, "BMP"));
    const QByteArray antes = Leer(bitmap);
    e.o.ImagenTrabajo = bitmap;
    e.o.AnchoImagen = 90;
    ASSERT_TRUE(e.io.cargaImagen(bitmap));
    // Only the width is re-applied from AnchoImagen; the height follows the picture.
    // Painted as stored, not converted.
    EXPECT_EQ(std::tuple(e.caja.geometry(), e.caja.point(10, 10), Leer(bitmap)),
              std::tuple(QRect(10, 20, 90, 45), 0xC8C8C8, antes));
}

TEST(ImagenObjeto, ABadFileChangesNothing) {
    Escena e(2);
    ASSERT_TRUE(e.io.ponerImagenNueva(e.ruta(QStringLiteral("a.png"))));
    const auto estado = [&] {
        return std::tuple(e.o, e.caja.image(), e.caja.geometry(), e.work2.image(), Leer(e.bitmap()));
    };
    const auto antes = estado();
    ASSERT_FALSE(std::get<4>(antes).isEmpty());
    Escribir(e.ruta(QStringLiteral("malo.png")), QByteArray("\x89PNG\r\n\x1a\n rubbish", 17));
    EXPECT_FALSE(e.io.ponerImagenNueva(e.ruta(QStringLiteral("malo.png"))));
    EXPECT_FALSE(e.io.cargaImagen(e.ruta(QStringLiteral("malo.png"))));
    EXPECT_TRUE(estado() == antes);
}

TEST(ImagenObjeto, SliderAppliesWidthAndFitsOnRelease) {
    Escena e(3, 30, 70);
    ASSERT_TRUE(e.io.ponerImagenNueva(e.ruta(QStringLiteral("a.png"))));
    e.io.inicioSlider();
    EXPECT_EQ(std::pair(e.caja.border(), e.caja.point(0, 0)), std::pair(true, int32_t(ColorBlanco)));
    e.io.aplicaAncho(151);
    // 151 x 70 / 30 = 352.33
    EXPECT_EQ(std::pair(int(e.o.AnchoImagen), e.caja.geometry().size()), std::pair(151, QSize(151, 352)));
    e.io.ajustarTrasSlider();
    // Placed for the first width only.
    EXPECT_EQ(std::tuple(e.caja.border(), e.caja.geometry(), e.caja.point(10, 100), e.caja.point(140, 100)),
              std::tuple(false, QRect(144, 20, 151, 352), 0, int32_t(ColorBlanco)));

    // Without a picture nothing divides by zero and the box keeps its height.
    Escena sin(1);
    sin.o.ImagenTrabajo = QStringLiteral("/no/such/Imagen1.bmp");
    sin.io.aplicaAncho(200);
    sin.io.ajustarTrasSlider();
    EXPECT_EQ(std::pair(int(sin.o.AnchoImagen), sin.caja.geometry()), std::pair(200, QRect(10, 20, 200, 96)));
}

TEST(ImagenObjeto, AwkwardWorkingBitmaps) {
    // A path too long for the record is kept relative.
    Escena largo(12);
    QString profundo = largo.dir.path();
    while (profundo.size() < 120)
        profundo += QStringLiteral("/carpeta-larga");
    ASSERT_TRUE(QDir().mkpath(profundo));
    QDir::setCurrent(profundo);
    Escribir(QStringLiteral("x.png"), Codificar(MitadNegra(10, 10), "PNG"));
    ASSERT_TRUE(largo.io.ponerImagenNueva(QStringLiteral("x.png")));
    const QString relativa = largo.o.ImagenTrabajo.valor();
    EXPECT_TRUE(relativa.startsWith(QStringLiteral("./")) && NombreDeTrabajo(relativa, 12))
        << relativa.toStdString();
    EXPECT_EQ(relativa, QStringLiteral("./") + QFileInfo(RutaImagenTrabajo(12, Leer(relativa))).fileName());

    // Dropping the working bitmap itself: the same picture, kept in the same file.
    Escena e(5);
    ASSERT_TRUE(e.io.ponerImagenNueva(e.ruta(QStringLiteral("a.png"))));
    const QString bitmap = e.bitmap();
    const QByteArray antes = Leer(bitmap);
    ASSERT_FALSE(antes.isEmpty());
    ASSERT_TRUE(e.io.ponerImagenNueva(bitmap));
    EXPECT_EQ(std::tuple(e.o.ImagenTrabajo.valor(), Leer(bitmap), e.caja.point(5, 5)),
              std::tuple(bitmap, antes, 0));

    // A folder in the way of the bitmap: the box is painted all the same.
    Escena f(8);
    const QString enMedio = RutaImagenTrabajo(8, CodificarImagenTrabajo(BlancoYNegro(MitadNegra(40, 20))));
    ASSERT_TRUE(QDir().mkdir(enMedio));
    ASSERT_TRUE(f.io.ponerImagenNueva(f.ruta(QStringLiteral("a.png"))));
    EXPECT_EQ(std::tuple(f.o.ImagenTrabajo.valor(), f.caja.geometry(), f.caja.point(5, 5)),
              std::tuple(enMedio, QRect(10, 226, 96, 48), 0));
}

TEST(ImagenObjeto, ConversionSettingsReachNewPicturesAndReconvertTheOriginal) {
    Escena e(7);
    e.o.AnchoImagen = 100;
    QImage gris(30, 70, QImage::Format_RGB32);
    for (int y = 0; y < gris.height(); ++y)
        for (int x = 0; x < gris.width(); ++x)
            gris.setPixel(x, y, qRgb(x * 8, y * 3, (x + y) * 2));
    Escribir(e.ruta(QStringLiteral("gris.png")), Codificar(gris, "PNG"));
    auto guardada = [&] { return CargarImagen(e.bitmap()).value().convertToFormat(QImage::Format_RGB32); };

    // By default the fixed threshold, stored byte for byte as it always was.
    ASSERT_TRUE(e.io.ponerImagenNueva(e.ruta(QStringLiteral("gris.png"))));
    ASSERT_TRUE(GuardarImagenTrabajo(BlancoYNegro(gris), e.ruta(QStringLiteral("umbral.bmp"))));
    EXPECT_EQ(Leer(e.bitmap()), Leer(e.ruta(QStringLiteral("umbral.bmp"))));
    // Converted again from the original held; the box keeps its place and size.
    const QRect caja = e.caja.geometry();
    ASSERT_TRUE(e.io.reconvertir(Conversion::FloydSteinberg, 30));
    EXPECT_EQ(guardada(), ConvertirBlancoYNegro(gris, Conversion::FloydSteinberg, 30));
    EXPECT_EQ(e.io.imagenCargada(), guardada());
    EXPECT_EQ(e.caja.geometry(), caja);
    // A new picture takes the settings in force.
    ASSERT_TRUE(e.io.ponerImagenNueva(e.ruta(QStringLiteral("a.png"))));
    EXPECT_EQ(guardada(), ConvertirBlancoYNegro(MitadNegra(40, 20), Conversion::FloydSteinberg, 30));

    // Reopened on that bitmap: nothing to convert from, and the bitmap itself is no original.
    const QString bitmap = e.bitmap();
    ImagenObjeto otra(e.o, 7, e.caja, e.work2, e.ticket);
    ASSERT_TRUE(otra.cargaImagen(bitmap));
    const QByteArray antes = Leer(bitmap);
    EXPECT_FALSE(otra.cargaOriginal(bitmap));
    EXPECT_FALSE(otra.reconvertir(Conversion::Ordenado, 0));
    EXPECT_EQ(Leer(bitmap), antes);
    // An original of another size keeps the place and takes AnchoImagen's width.
    ASSERT_TRUE(otra.cargaOriginal(e.ruta(QStringLiteral("gris.png"))));
    const QPoint lugar = e.caja.geometry().topLeft();
    ASSERT_TRUE(otra.reconvertir(Conversion::Ordenado, 0));
    EXPECT_EQ(guardada(), ConvertirBlancoYNegro(gris, Conversion::Ordenado));
    EXPECT_EQ(e.caja.geometry(), QRect(lugar, QSize(100, 233)));
}
