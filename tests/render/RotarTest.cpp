#include "render/Rotar.h"

#include "document/Design.h"
#include "render/Workspace.h"

#include <QRandomGenerator>
#include <QTransform>
#include <gtest/gtest.h>

using namespace quoravex;

namespace {

// Row padding with whole bytes per pixel, and one bit per pixel.
const QImage::Format Formatos[] = {QImage::Format_RGB888, QImage::Format_Mono};

// An image of odd width (so most formats pad their rows) with random bytes everywhere,
// padding included.
QImage imagenAleatoria(QImage::Format formato, int ancho = 11, int alto = 9) {
    QImage img(ancho, alto, formato);
    if (img.depth() == 1) img.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    QRandomGenerator gen(42);
    for (qsizetype i = 0; i < img.sizeInBytes(); ++i)
        img.bits()[i] = static_cast<uchar>(gen.bounded(256));
    return img;
}

// The raw bytes of the whole image, padding included.
QByteArray crudo(const QImage& img) {
    return QByteArray(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes());
}

} // namespace

TEST(Rotar, TurnsThatUndoEachOther) {
    for (QImage::Format f : Formatos) {
        QImage img = imagenAleatoria(f);
        const QByteArray antes = crudo(img);
        ASSERT_TRUE(RotarBitmap(img, RotarMediaVuelta, 2, 1, 7, 5)) << f;
        ASSERT_TRUE(RotarBitmap(img, RotarMediaVuelta, 2, 1, 7, 5));
        EXPECT_EQ(crudo(img), antes) << "two half turns, format " << f;
        ASSERT_TRUE(RotarBitmap(img, RotarHorario, 1, 2, 6, 6));
        ASSERT_TRUE(RotarBitmap(img, RotarAntihorario, 1, 2, 6, 6));
        EXPECT_EQ(crudo(img), antes) << "a quarter turn each way, format " << f;
    }
}

TEST(Rotar, TwoByTwoQuarterTurn) {
    QImage img(2, 2, QImage::Format_RGB32);
    const QRgb a = qRgb(255, 0, 0), b = qRgb(0, 255, 0), c = qRgb(0, 0, 255), d = qRgb(9, 9, 9);
    img.setPixel(0, 0, a);
    img.setPixel(1, 0, b);
    img.setPixel(1, 1, c);
    img.setPixel(0, 1, d);
    ASSERT_TRUE(RotarBitmap(img, RotarHorario, 0, 0, 2, 2));
    EXPECT_EQ((std::vector<QRgb>{img.pixel(1, 0), img.pixel(1, 1), img.pixel(0, 1), img.pixel(0, 0)}),
              (std::vector<QRgb>{a, b, c, d})); // each corner one place clockwise
}

TEST(Rotar, RefusedBlocksLeaveTheImageAlone) {
    struct Caso {
        int modo, x, y, w, h;
    };
    const Caso casos[] = {{RotarHorario, 0, 0, 4, 3},      {3, 0, 0, 2, 2},  {RotarMediaVuelta, 8, 0, 4, 2},
                          {RotarMediaVuelta, -1, 0, 2, 2}, {-1, 0, 0, 2, 2}, {RotarHorario, 0, 5, 5, 5}};
    for (const Caso& c : casos) {
        QImage img = imagenAleatoria(QImage::Format_RGB888);
        const QByteArray antes = crudo(img);
        EXPECT_FALSE(RotarBitmap(img, c.modo, c.x, c.y, c.w, c.h)) << c.modo << " " << c.x << "," << c.y;
        EXPECT_EQ(crudo(img), antes);
    }
}

TEST(Rotar, BoxTakesTheTurnedSizeAndContent) {
    for (QSize tamano : {QSize(40, 20), QSize(17, 17)}) {
        Design d;
        NuevoObjeto n;
        n.Tipo = TipoImagen;
        const int i = d.agregar(n);
        d.TicketModificado = Falso;
        const ObjetoTicket registro = d.objeto(i);
        Workspace ws;
        Surface& caja = ws.item(i);
        caja.setGeometry(30, 50, tamano.width(), tamano.height());
        QImage dibujo = imagenAleatoria(QImage::Format_RGB32, tamano.width(), tamano.height());
        for (int y = 0; y < tamano.height(); ++y)
            for (int x = 0; x < tamano.width(); ++x)
                caja.pset(x, y, DeQRgb(dibujo.pixel(x, y)) & 0xFFFFFF);
        const QImage antes = caja.image();

        ASSERT_TRUE(PBRotar(d, ws));
        EXPECT_EQ(caja.geometry(), QRect(30, 50, tamano.height(), tamano.width()));
        EXPECT_EQ(caja.image(), antes.transformed(QTransform().rotate(90)))
            << tamano.width() << "x" << tamano.height();
        EXPECT_EQ(d.objeto(i), registro);
        EXPECT_EQ(d.TicketModificado, Verdadero);
    }
    Design vacio;
    Workspace ws;
    EXPECT_FALSE(PBRotar(vacio, ws));
    EXPECT_EQ(vacio.TicketModificado, Falso);
}
