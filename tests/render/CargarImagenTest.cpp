#include "render/ImagenObjeto.h"
#include "support/FicherosImagen.h"

#include <gtest/gtest.h>

using namespace quoravex;
using namespace pruebas;

namespace {

QImage Colores() {
    QImage img(4, 3, QImage::Format_RGB32);
    const QRgb c[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(10, 20, 30)};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            img.setPixel(x, y, c[(x + y) % 4]);
    return img;
}

} // namespace

TEST(CargarImagen, ReadsEachAcceptedFormatWhateverTheFileIsCalled) {
    DirectorioActualTemporal dir;
    const QImage origen = Colores();
    struct Caso {
        const char* nombre;
        QByteArray datos;
        bool exacto; // lossless format: every pixel comes back
    };
    const Caso casos[] = {
        {"a.bmp", Codificar(origen, "BMP"), true},
        {"b.png", Codificar(origen, "PNG"), true},
        {"c.gif", Gif(origen), true},
        {"d.jpg", Codificar(MitadNegra(16, 16), "JPEG"), false},
        {"png-llamado.bmp", Codificar(origen, "PNG"), true},
        {"sin-extension", Gif(origen), true},
        {"atajo.LNK", Codificar(origen, "BMP"), true}, // no shortcut service: an ordinary file
    };
    for (const Caso& c : casos) {
        ASSERT_TRUE(Escribir(dir.ruta(QString::fromLatin1(c.nombre)), c.datos));
        const auto img = CargarImagen(dir.ruta(QString::fromLatin1(c.nombre)));
        ASSERT_TRUE(img.has_value()) << c.nombre;
        if (!c.exacto) {
            EXPECT_EQ(img->size(), QSize(16, 16)) << c.nombre;
            EXPECT_LT(qGray(img->pixel(2, 8)), 40) << c.nombre;
            EXPECT_GT(qGray(img->pixel(13, 8)), 215) << c.nombre;
            continue;
        }
        ASSERT_EQ(img->size(), origen.size()) << c.nombre;
        for (int y = 0; y < origen.height(); ++y)
            for (int x = 0; x < origen.width(); ++x)
                EXPECT_EQ(img->pixel(x, y) & 0xFFFFFF, origen.pixel(x, y) & 0xFFFFFF)
                    << c.nombre << " " << x << "," << y;
    }
}

TEST(CargarImagen, TransparentPartsBecomeWhite) {
    DirectorioActualTemporal dir;
    QImage img(2, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(0, 0, 0, 0)); // transparent, stored as black
    img.setPixel(1, 0, qRgba(0, 0, 0, 255));
    Escribir(dir.ruta(QStringLiteral("t.png")), Codificar(img, "PNG"));
    const auto leida = CargarImagen(dir.ruta(QStringLiteral("t.png")));
    ASSERT_TRUE(leida);
    EXPECT_EQ(leida->pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(leida->pixel(1, 0) & 0xFFFFFF, 0u);
}

TEST(CargarImagen, RefusesFilesThatAreNoWholeUsablePicture) {
    DirectorioActualTemporal dir;
    const QImage origen = MitadNegra(40, 30);
    const QByteArray png = Codificar(origen, "PNG");
    const QByteArray bmp = Codificar(origen, "BMP");
    const QByteArray jpg = Codificar(origen, "JPEG");
    const QByteArray gif = Gif(origen);
    QByteArray pngDanado = png;
    for (int i = 45; i < 60 && i < pngDanado.size() - 12; ++i)
        pngDanado[i] = static_cast<char>(pngDanado[i] ^ 0x5A);
    QByteArray bmpDanado = bmp;
    bmpDanado[28] = 7; // no such bit depth
    QByteArray bmpEnorme = bmp;
    for (int at : {18, 22}) { // 30000 x 30000 declared
        bmpEnorme[at] = static_cast<char>(30000 & 0xFF);
        bmpEnorme[at + 1] = static_cast<char>(30000 >> 8);
    }
    const struct {
        const char* caso;
        QByteArray datos;
    } casos[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("esto no es una imagen\r\n")},
        {"svg", QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'/>")},
        {"png corrupt", pngDanado},
        {"bmp corrupt header", bmpDanado},
        {"jpeg garbage after start", QByteArray("\xFF\xD8\xFF\xE0garbage", 11)},
        {"png truncated", png.left(png.size() * 6 / 10)},
        {"bmp truncated", bmp.left(bmp.size() * 6 / 10)},
        {"bmp missing last byte", bmp.left(bmp.size() - 1)},
        {"jpeg truncated", jpg.left(jpg.size() * 6 / 10)},
        {"jpeg without end marker", jpg.left(jpg.size() - 2)},
        {"gif truncated", gif.left(gif.size() * 6 / 10)},
        {"gif header only", gif.left(13)},
        {"png 30000 x 30000", PngConTamanoDeclarado(30000, 30000)},
        {"png 20000 x 1", PngConTamanoDeclarado(20000, 1)},
        {"bmp 30000 x 30000", bmpEnorme},
    };
    for (const auto& c : casos) {
        const QString ruta = dir.ruta(QStringLiteral("malo"));
        ASSERT_TRUE(Escribir(ruta, c.datos));
        EXPECT_FALSE(CargarImagen(ruta).has_value()) << c.caso;
    }
    // The intact files pass, so the refusals above are about the damage.
    for (const QByteArray& bueno : {png, bmp, jpg, gif}) {
        Escribir(dir.ruta(QStringLiteral("bueno")), bueno);
        EXPECT_TRUE(CargarImagen(dir.ruta(QStringLiteral("bueno"))).has_value());
    }
    EXPECT_FALSE(CargarImagen(dir.ruta(QStringLiteral("no-existe.png"))));
    EXPECT_FALSE(CargarImagen(dir.path()));
    EXPECT_FALSE(CargarImagen(QString()));
}

TEST(BlancoYNegro, ThresholdIsDarknessOf1280FromARealFile) {
    DirectorioActualTemporal dir;
    const struct {
        QRgb color;
        bool negro;
    } casos[] = {
        {qRgb(128, 128, 128), true},                           // 1280
        {qRgb(129, 129, 129), false},                          // 1290
        {qRgb(255, 0, 0), true},                               // 765
        {qRgb(0, 255, 0), false},                              // 1530
        {qRgb(0, 0, 255), true},                               // 255
        {qRgb(255, 255, 0), false},                            // 2295
        {qRgb(255, 255, 255), false},                          // 2550
        {qRgb(0, 0, 0), true},        {qRgb(0, 213, 2), true}, // 1280: green weighs six, blue one
        {qRgb(0, 213, 3), false},                              // 1281
        {qRgb(1, 212, 5), true},                               // 3 + 1272 + 5 = 1280
    };
    QImage img(static_cast<int>(std::size(casos)), 1, QImage::Format_RGB32);
    for (int i = 0; i < img.width(); ++i)
        img.setPixel(i, 0, casos[i].color);
    ASSERT_TRUE(Escribir(dir.ruta(QStringLiteral("grises.png")), Codificar(img, "PNG")));
    const auto leida = CargarImagen(dir.ruta(QStringLiteral("grises.png")));
    ASSERT_TRUE(leida);
    const QImage bn = BlancoYNegro(*leida);

    // Stored and loaded back: still only pure black and white, the same pixels.
    const QString ruta = dir.ruta(QStringLiteral("Imagen1.bmp"));
    ASSERT_TRUE(GuardarImagenTrabajo(bn, ruta));
    const auto guardada = CargarImagen(ruta);
    ASSERT_TRUE(guardada);
    ASSERT_EQ(guardada->size(), img.size());
    for (int i = 0; i < img.width(); ++i) {
        const QRgb esperado = casos[i].negro ? 0xFF000000u : 0xFFFFFFFFu;
        EXPECT_EQ(bn.pixel(i, 0), esperado) << "pixel " << i;
        EXPECT_EQ(guardada->pixel(i, 0), esperado) << "pixel " << i;
    }
}

TEST(GuardarImagenTrabajo, WritesAOneBitBitmapThatReplacesTheOldFile) {
    DirectorioActualTemporal dir;
    const QString ruta = dir.ruta(QStringLiteral("Imagen3.bmp"));
    ASSERT_TRUE(Escribir(ruta, QByteArray(70000, 'x')));
    const QImage bn = BlancoYNegro(MitadNegra(37, 5)); // a row of 37 dots pads to 8 bytes
    ASSERT_TRUE(GuardarImagenTrabajo(bn, ruta));
    const QByteArray bytes = Leer(ruta);
    ASSERT_GE(bytes.size(), 62);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(bytes[28], 1); // bits per pixel
    EXPECT_EQ(bytes.size(), 14 + 40 + 8 + 8 * 5);
    const QImage leida(ruta);
    for (int x = 0; x < 37; ++x)
        EXPECT_EQ(leida.pixel(x, 2) & 0xFFFFFF, x < 18 ? 0u : 0xFFFFFFu) << x;
    // A folder in the way: no file, no crash.
    QDir().mkdir(dir.ruta(QStringLiteral("Imagen4.bmp")));
    EXPECT_FALSE(GuardarImagenTrabajo(bn, dir.ruta(QStringLiteral("Imagen4.bmp"))));
}

TEST(ResolverRutaImagen, AsWrittenThenDesignFolderThenCurrentDirectory) {
    DirectorioActualTemporal actual;
    QTemporaryDir diseno;
    Escribir(actual.ruta(QStringLiteral("Imagen3.bmp")), "a");
    Escribir(QDir(diseno.path()).absoluteFilePath(QStringLiteral("Imagen3.bmp")), "b");
    Escribir(actual.ruta(QStringLiteral("Imagen5.bmp")), "c");
    const QString enDiseno = QDir(diseno.path()).absoluteFilePath(QStringLiteral("Imagen3.bmp"));

    EXPECT_EQ(ResolverRutaImagen(QStringLiteral("C:\\Tickets\\Imagen3.bmp"), diseno.path()), enDiseno);
    EXPECT_EQ(ResolverRutaImagen(QStringLiteral("C:\\Tickets\\Imagen3.bmp")),
              actual.ruta(QStringLiteral("Imagen3.bmp")));
    EXPECT_EQ(ResolverRutaImagen(QStringLiteral("  C:\\Tickets\\Imagen5.bmp  "), diseno.path()),
              actual.ruta(QStringLiteral("Imagen5.bmp")));
    EXPECT_EQ(ResolverRutaImagen(actual.ruta(QStringLiteral("Imagen5.bmp")), diseno.path()),
              actual.ruta(QStringLiteral("Imagen5.bmp")));
    EXPECT_EQ(ResolverRutaImagen(QStringLiteral(".\\Imagen5.bmp")),
              actual.ruta(QStringLiteral("Imagen5.bmp")));
    EXPECT_EQ(ResolverRutaImagen(QStringLiteral("C:\\Tickets\\Imagen9.bmp"), diseno.path()), QString());
    EXPECT_EQ(ResolverRutaImagen(QStringLiteral("C:\\Tickets\\"), diseno.path()), QString());
    EXPECT_EQ(ResolverRutaImagen(QString(), diseno.path()), QString());
}
