#include "render/ImagenObjeto.h"

#include "document/ObjetoTicket.h"
#include "support/FicherosImagen.h"

#include <QFileInfo>
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
        Escribir(ruta(QStringLiteral("a.png")), Codificar(MitadNegra(ancho, alto), "PNG"));
    }
    QString ruta(const QString& nombre) const { return dir.ruta(nombre); }
    QString bitmap() const { return ResolverRutaImagen(o.ImagenTrabajo.valor()); }
};

} // namespace

// Every accepted format whatever the file is called (no shortcut service: a .LNK is an
// ordinary file), a transparent part becoming white; files that are no whole usable picture
// are refused, while the same files intact are read.
TEST(CargarImagen, ReadsWholePicturesOfTheAcceptedFormatsOnly) {
    DirectorioActualTemporal dir;
    QImage origen(4, 3, QImage::Format_RGB32), transparente(2, 1, QImage::Format_ARGB32);
    const QRgb c[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(10, 20, 30)};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            origen.setPixel(x, y, c[(x + y) % 4]);
    transparente.setPixel(0, 0, qRgba(0, 0, 0, 0));
    transparente.setPixel(1, 0, qRgba(0, 0, 0, 255));
    const QImage mitad = MitadNegra(40, 30);
    const QByteArray png = Codificar(mitad, "PNG"), bmp = Codificar(mitad, "BMP");
    const QByteArray jpg = Codificar(mitad, "JPEG"), gif = Gif(mitad);
    QByteArray pngDanado = png, bmpDanado = bmp, bmpEnorme = bmp;
    for (int i = 45; i < 60; ++i)
        pngDanado[i] = static_cast<char>(pngDanado[i] ^ 0x5A);
    bmpDanado[28] = 7;              // no such bit depth
    for (int at : {18, 19, 22, 23}) // 0x7575 x 0x7575 declared
        bmpEnorme[at] = 0x75;
    const std::optional<QImage> rechazada, leida = QImage(); // leida: not compared (lossy JPEG)
    const std::tuple<const char*, QByteArray, std::optional<QImage>> casos[] = {
        {"a.bmp", Codificar(origen, "BMP"), origen}, {"b.png", Codificar(origen, "PNG"), origen},
        {"c.gif", Gif(origen), origen}, {"png-llamado.bmp", Codificar(origen, "PNG"), origen},
        {"atajo.LNK", Codificar(origen, "BMP"), origen},
        {"t.png", Codificar(transparente, "PNG"), MitadNegra(2, 1).mirrored(true, false)},
        {"png", png, mitad}, {"bmp", bmp, mitad}, {"gif", gif, mitad}, {"jpeg", jpg, leida},
        {"empty", QByteArray(), rechazada}, {"text", QByteArray("esto no es una imagen\r\n"), rechazada},
        {"svg", QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'/>"), rechazada},
        {"png corrupt", pngDanado, rechazada}, {"bmp corrupt header", bmpDanado, rechazada},
        {"png truncated", png.left(png.size() * 6 / 10), rechazada},
        {"bmp missing last byte", bmp.left(bmp.size() - 1), rechazada},
        {"jpeg without end marker", jpg.left(jpg.size() - 2), rechazada},
        {"gif truncated", gif.left(gif.size() * 6 / 10), rechazada},
        {"png 30000 x 30000", PngConTamanoDeclarado(30000, 30000), rechazada},
        {"bmp 30000 x 30000", bmpEnorme, rechazada}};
    for (const auto& [nombre, datos, esperada] : casos) {
        ASSERT_TRUE(Escribir(dir.ruta(QString::fromLatin1(nombre)), datos));
        const std::optional<QImage> img = CargarImagen(dir.ruta(QString::fromLatin1(nombre)));
        EXPECT_EQ(img.has_value(), esperada.has_value()) << nombre;
        if (img && esperada && !esperada->isNull()) {
            EXPECT_EQ(img->convertToFormat(QImage::Format_RGB32), *esperada) << nombre;
        }
    }
    EXPECT_FALSE(CargarImagen(dir.ruta(QStringLiteral("no-existe.png"))) || CargarImagen(dir.path()));
}

// Black is a darkness 3R + 6G + B up to 1280; stored as a one-bit bitmap over an older file
// and loaded back, the same pixels.
TEST(BlancoYNegro, ThresholdIsDarknessOf1280FromARealFileAndTheStoredBitmap) {
    DirectorioActualTemporal dir;
    const std::pair<QRgb, bool> casos[] = {
        {qRgb(128, 128, 128), true},  {qRgb(129, 129, 129), false}, {qRgb(255, 0, 0), true},
        {qRgb(0, 255, 0), false},     {qRgb(0, 0, 255), true},      {qRgb(255, 255, 0), false},
        {qRgb(255, 255, 255), false}, {qRgb(0, 213, 2), true},      {qRgb(0, 213, 3), false}};
    QImage img(static_cast<int>(std::size(casos)), 1, QImage::Format_RGB32);
    for (int i = 0; i < img.width(); ++i)
        img.setPixel(i, 0, casos[i].first);
    ASSERT_TRUE(Escribir(dir.ruta(QStringLiteral("grises.png")), Codificar(img, "PNG")));
    const QImage bn = BlancoYNegro(*CargarImagen(dir.ruta(QStringLiteral("grises.png"))));
    const QString ruta = dir.ruta(QStringLiteral("Imagen1.bmp"));
    ASSERT_TRUE(Escribir(ruta, QByteArray(70000, 'x')));
    ASSERT_TRUE(GuardarImagenTrabajo(bn, ruta));
    EXPECT_EQ(Leer(ruta).at(28), 1); // bits per pixel
    const QImage guardada = CargarImagen(ruta).value_or(QImage());
    ASSERT_EQ(guardada.size(), img.size());
    for (int i = 0; i < img.width(); ++i) {
        const QRgb esperado = casos[i].second ? 0xFF000000u : 0xFFFFFFFFu;
        EXPECT_EQ(std::pair(bn.pixel(i, 0), guardada.pixel(i, 0)), std::pair(esperado, esperado))
            << "pixel " << i;
    }
    QDir().mkdir(dir.ruta(QStringLiteral("Imagen4.bmp"))); // a folder in the way
    EXPECT_FALSE(GuardarImagenTrabajo(bn, dir.ruta(QStringLiteral("Imagen4.bmp"))));
}

TEST(ResolverRutaImagen, AsWrittenThenDesignFolderThenCurrentDirectory) {
    DirectorioActualTemporal actual;
    QTemporaryDir diseno;
    const QString enDiseno = QDir(diseno.path()).absoluteFilePath(QStringLiteral("Imagen3.bmp"));
    const QString imagen3 = actual.ruta(QStringLiteral("Imagen3.bmp"));
    const QString imagen5 = actual.ruta(QStringLiteral("Imagen5.bmp"));
    Escribir(imagen3, "a");
    Escribir(enDiseno, "b");
    Escribir(imagen5, "c");
    const QString windows = QStringLiteral("C:\\Tickets\\Imagen%1.bmp");
    const std::tuple<QString, QString, QString> casos[] = {
        {windows.arg(3), diseno.path(), enDiseno}, {windows.arg(3), QString(), imagen3},
        {QStringLiteral("  ") + windows.arg(5), diseno.path(), imagen5},
        {QStringLiteral(".\\Imagen5.bmp"), QString(), imagen5}, {windows.arg(9), diseno.path(), QString()},
        {QString(), diseno.path(), QString()}};
    for (const auto& [guardada, dirDiseno, esperada] : casos)
        EXPECT_EQ(ResolverRutaImagen(guardada, dirDiseno), esperada) << guardada.toStdString();
}

// A grey ramp, black on the left to white on the right: each tenth of its width gets as many
// black dots as the tone of its greys, brightness added, asks for. Umbral: exactly the share
// of greys up to 128 (3R + 6G + B <= 1280). Atkinson passes on only 3/4 of each error,
// which stretches the tones about middle grey: darkness d below 1/8 prints white, above 7/8
// black, (4d - 1/2) / 3 in between.
TEST(Tramado, BlackDotsFollowTheToneOfARampAndItsBrightness) {
    constexpr int Ancho = 380, Alto = 40, Columnas = Ancho / 10;
    auto gris = [](int x) { return (x * 255 + (Ancho - 1) / 2) / (Ancho - 1); };
    QImage rampa(Ancho, Alto, QImage::Format_RGB32);
    for (int x = 0; x < Ancho; ++x)
        for (int y = 0; y < Alto; ++y)
            rampa.setPixel(x, y, qRgb(gris(x), gris(x), gris(x)));
    using Tono = double (*)(int gris);
    const std::tuple<Conversion, Tono, double> casos[] = { // tolerance in points
        {Conversion::Umbral, [](int g) { return g <= 128 ? 1.0 : 0.0; }, 0},
        {Conversion::FloydSteinberg, [](int g) { return (255 - g) / 255.0; }, 5},
        {Conversion::Atkinson, [](int g) { return std::clamp((4 * (255 - g) / 255.0 - 0.5) / 3, 0.0, 1.0); },
         5},
        {Conversion::Ordenado, [](int g) { return (255 - g) / 255.0; }, 5}};
    for (const auto& [metodo, tono, tolerancia] : casos)
        for (const int brillo : {-50, 0, 50}) {
            const QImage bn = ConvertirBlancoYNegro(rampa, metodo, brillo);
            double negros[10] = {}, esperados[10] = {};
            for (int x = 0; x < Ancho; ++x) {
                esperados[x / Columnas] += 100 * tono(std::clamp(gris(x) + brillo, 0, 255)) / Columnas;
                for (int y = 0; y < Alto; ++y)
                    negros[x / Columnas] += bn.pixel(x, y) == 0xFF000000u ? 100.0 / (Alto * Columnas) : 0;
            }
            for (int d = 0; d < 10; ++d)
                EXPECT_NEAR(negros[d], esperados[d], tolerancia + 1e-9)
                    << NombreConversion(metodo).toStdString() << " " << brillo << ", tenth " << d;
        }
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
    EXPECT_EQ(relativa, QStringLiteral("./") + QFileInfo(RutaImagenTrabajo(12, Leer(relativa))).fileName());

    // Dropping the working bitmap itself: the same picture, kept in the same file; the bitmap is
    // no original to convert again from.
    Escena e(5);
    ASSERT_TRUE(e.io.ponerImagenNueva(e.ruta(QStringLiteral("a.png"))));
    const QString bitmap = e.bitmap();
    const QByteArray antes = Leer(bitmap);
    ASSERT_FALSE(antes.isEmpty());
    ASSERT_TRUE(e.io.ponerImagenNueva(bitmap));
    EXPECT_EQ(std::tuple(e.o.ImagenTrabajo.valor(), Leer(bitmap), e.caja.point(5, 5), e.io.cargaOriginal(bitmap)),
              std::tuple(bitmap, antes, 0, false));
    // Reopened on that bitmap with an original of another size: converted again from it, the box
    // keeps its place and takes AnchoImagen's width.
    ImagenObjeto otra(e.o, 5, e.caja, e.work2, e.ticket);
    Escribir(e.ruta(QStringLiteral("alto.png")), Codificar(MitadNegra(30, 70), "PNG"));
    ASSERT_TRUE(otra.cargaImagen(bitmap) && otra.cargaOriginal(e.ruta(QStringLiteral("alto.png"))));
    ASSERT_TRUE(otra.reconvertir(Conversion::Ordenado, 0));
    EXPECT_EQ(e.caja.geometry(), QRect(10, 226, 96, 224));

    // A folder in the way of the bitmap: the box is painted all the same.
    Escena f(8);
    const QString enMedio = RutaImagenTrabajo(8, CodificarImagenTrabajo(BlancoYNegro(MitadNegra(40, 20))));
    ASSERT_TRUE(QDir().mkdir(enMedio));
    ASSERT_TRUE(f.io.ponerImagenNueva(f.ruta(QStringLiteral("a.png"))));
    EXPECT_EQ(std::tuple(f.o.ImagenTrabajo.valor(), f.caja.geometry(), f.caja.point(5, 5)),
              std::tuple(enMedio, QRect(10, 226, 96, 48), 0));
}
