#include "render/ImagenObjeto.h"
#include "support/FicherosImagen.h"

#include <gtest/gtest.h>

using namespace quoravex;
using namespace pruebas;

TEST(CargarImagen, ReadsEachAcceptedFormatWhateverTheFileIsCalled) {
    DirectorioActualTemporal dir;
    QImage origen(4, 3, QImage::Format_RGB32);
    const QRgb c[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(10, 20, 30)};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            origen.setPixel(x, y, c[(x + y) % 4]);
    const std::pair<const char*, QByteArray> casos[] = {
        {"a.bmp", Codificar(origen, "BMP")},
        {"b.png", Codificar(origen, "PNG")},
        {"c.gif", Gif(origen)},
        {"png-llamado.bmp", Codificar(origen, "PNG")},
        {"atajo.LNK", Codificar(origen, "BMP")}, // no shortcut service: an ordinary file
    };
    for (const auto& [nombre, datos] : casos) {
        ASSERT_TRUE(Escribir(dir.ruta(QString::fromLatin1(nombre)), datos));
        const auto img = CargarImagen(dir.ruta(QString::fromLatin1(nombre)));
        ASSERT_TRUE(img.has_value()) << nombre;
        EXPECT_EQ(img->convertToFormat(QImage::Format_RGB32), origen) << nombre;
    }
    // Lossy JPEG and a transparent PNG, whose transparent part becomes white.
    Escribir(dir.ruta(QStringLiteral("d.jpg")), Codificar(MitadNegra(16, 16), "JPEG"));
    const auto jpg = CargarImagen(dir.ruta(QStringLiteral("d.jpg")));
    ASSERT_TRUE(jpg);
    EXPECT_LT(qGray(jpg->pixel(2, 8)), 40);
    EXPECT_GT(qGray(jpg->pixel(13, 8)), 215);
    QImage transparente(2, 1, QImage::Format_ARGB32);
    transparente.setPixel(0, 0, qRgba(0, 0, 0, 0));
    transparente.setPixel(1, 0, qRgba(0, 0, 0, 255));
    Escribir(dir.ruta(QStringLiteral("t.png")), Codificar(transparente, "PNG"));
    const auto leida = CargarImagen(dir.ruta(QStringLiteral("t.png")));
    ASSERT_TRUE(leida);
    EXPECT_EQ(leida->pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(leida->pixel(1, 0) & 0xFFFFFF, 0u);
}

TEST(CargarImagen, RefusesFilesThatAreNoWholeUsablePicture) {
    DirectorioActualTemporal dir;
    const QImage origen = MitadNegra(40, 30);
    const QByteArray png = Codificar(origen, "PNG"), bmp = Codificar(origen, "BMP");
    const QByteArray jpg = Codificar(origen, "JPEG"), gif = Gif(origen);
    QByteArray pngDanado = png;
    for (int i = 45; i < 60; ++i)
        pngDanado[i] = static_cast<char>(pngDanado[i] ^ 0x5A);
    QByteArray bmpDanado = bmp, bmpEnorme = bmp;
    bmpDanado[28] = 7;              // no such bit depth
    for (int at : {18, 19, 22, 23}) // 0x7575 x 0x7575 declared
        bmpEnorme[at] = 0x75;
    const std::pair<const char*, QByteArray> casos[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("esto no es una imagen\r\n")},
        {"svg", QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'/>")},
        {"png corrupt", pngDanado},
        {"bmp corrupt header", bmpDanado},
        {"png truncated", png.left(png.size() * 6 / 10)},
        {"bmp missing last byte", bmp.left(bmp.size() - 1)},
        {"jpeg without end marker", jpg.left(jpg.size() - 2)},
        {"gif truncated", gif.left(gif.size() * 6 / 10)},
        {"png 30000 x 30000", PngConTamanoDeclarado(30000, 30000)},
        {"bmp 30000 x 30000", bmpEnorme},
    };
    for (const auto& [caso, datos] : casos) {
        ASSERT_TRUE(Escribir(dir.ruta(QStringLiteral("malo")), datos));
        EXPECT_FALSE(CargarImagen(dir.ruta(QStringLiteral("malo"))).has_value()) << caso;
    }
    // The intact files pass, so the refusals above are about the damage.
    for (const QByteArray& bueno : {png, bmp, jpg, gif}) {
        Escribir(dir.ruta(QStringLiteral("bueno")), bueno);
        EXPECT_TRUE(CargarImagen(dir.ruta(QStringLiteral("bueno"))).has_value());
    }
    EXPECT_FALSE(CargarImagen(dir.ruta(QStringLiteral("no-existe.png"))));
    EXPECT_FALSE(CargarImagen(dir.path()));
}

TEST(BlancoYNegro, ThresholdIsDarknessOf1280FromARealFileAndTheStoredBitmap) {
    DirectorioActualTemporal dir;
    const std::pair<QRgb, bool> casos[] = {
        {qRgb(128, 128, 128), true}, // 1280
        {qRgb(129, 129, 129), false}, {qRgb(255, 0, 0), true},    {qRgb(0, 255, 0), false},
        {qRgb(0, 0, 255), true},      {qRgb(255, 255, 0), false}, {qRgb(255, 255, 255), false},
        {qRgb(0, 213, 2), true},      {qRgb(0, 213, 3), false}, // green weighs six, blue one
    };
    QImage img(static_cast<int>(std::size(casos)), 1, QImage::Format_RGB32);
    for (int i = 0; i < img.width(); ++i)
        img.setPixel(i, 0, casos[i].first);
    ASSERT_TRUE(Escribir(dir.ruta(QStringLiteral("grises.png")), Codificar(img, "PNG")));
    const QImage bn = BlancoYNegro(*CargarImagen(dir.ruta(QStringLiteral("grises.png"))));

    // Stored as a one-bit bitmap over an older file, and loaded back: the same pixels.
    const QString ruta = dir.ruta(QStringLiteral("Imagen1.bmp"));
    ASSERT_TRUE(Escribir(ruta, QByteArray(70000, 'x')));
    ASSERT_TRUE(GuardarImagenTrabajo(bn, ruta));
    EXPECT_EQ(Leer(ruta).at(28), 1); // bits per pixel
    const auto guardada = CargarImagen(ruta);
    ASSERT_TRUE(guardada);
    ASSERT_EQ(guardada->size(), img.size());
    for (int i = 0; i < img.width(); ++i) {
        const QRgb esperado = casos[i].second ? 0xFF000000u : 0xFFFFFFFFu;
        EXPECT_EQ(bn.pixel(i, 0), esperado) << "pixel " << i;
        EXPECT_EQ(guardada->pixel(i, 0), esperado) << "pixel " << i;
    }
    QDir().mkdir(dir.ruta(QStringLiteral("Imagen4.bmp"))); // a folder in the way
    EXPECT_FALSE(GuardarImagenTrabajo(bn, dir.ruta(QStringLiteral("Imagen4.bmp"))));
}

TEST(ResolverRutaImagen, AsWrittenThenDesignFolderThenCurrentDirectory) {
    DirectorioActualTemporal actual;
    QTemporaryDir diseno;
    const QString enDiseno = QDir(diseno.path()).absoluteFilePath(QStringLiteral("Imagen3.bmp"));
    Escribir(actual.ruta(QStringLiteral("Imagen3.bmp")), "a");
    Escribir(enDiseno, "b");
    Escribir(actual.ruta(QStringLiteral("Imagen5.bmp")), "c");
    const QString windows = QStringLiteral("C:\\Tickets\\Imagen%1.bmp");
    EXPECT_EQ(ResolverRutaImagen(windows.arg(3), diseno.path()), enDiseno);
    EXPECT_EQ(ResolverRutaImagen(windows.arg(3)), actual.ruta(QStringLiteral("Imagen3.bmp")));
    EXPECT_EQ(ResolverRutaImagen(QStringLiteral("  ") + windows.arg(5), diseno.path()),
              actual.ruta(QStringLiteral("Imagen5.bmp")));
    EXPECT_EQ(ResolverRutaImagen(QStringLiteral(".\\Imagen5.bmp")),
              actual.ruta(QStringLiteral("Imagen5.bmp")));
    EXPECT_EQ(ResolverRutaImagen(windows.arg(9), diseno.path()), QString());
    EXPECT_EQ(ResolverRutaImagen(QString(), diseno.path()), QString());
}
