#include "render/Surface.h"

#include <gtest/gtest.h>
#include <set>

using namespace quoravex;

namespace {

// Bounding box of the pixels that are not the background.
QRect tinta(const Surface& s, Color fondo = ColorBlanco) {
    QRect r;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.point(x, y) != static_cast<int32_t>(fondo)) r = r.united(QRect(x, y, 1, 1));
    return r;
}

Surface superficieConTexto(const QString& familia, double puntos, bool negrita, bool cursiva, bool subrayado,
                           const QString& texto) {
    Surface s(600, 300);
    s.setFontName(familia);
    s.setFontSize(puntos);
    s.setFontBold(negrita);
    s.setFontItalic(cursiva);
    s.setFontUnderline(subrayado);
    s.clear();
    s.print(texto);
    return s;
}

} // namespace

TEST(Surface, PixelsReadBackAndOutsideIsMinusOne) {
    Surface s(10, 5);
    s.setBackColor(0x123456);
    s.clear();
    EXPECT_EQ(s.point(0, 0), 0x123456);
    s.pset(3, 2, 0x0000FF); // pure red: red in the low byte
    EXPECT_EQ(s.point(3, 2), 0x0000FF);
    EXPECT_EQ(s.image().pixel(3, 2), qRgb(255, 0, 0));
    s.pset(10, 0, 0); // outside: ignored
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {10, 0}, {0, 5}})
        EXPECT_EQ(s.point(x, y), -1) << x << "," << y;
}

TEST(Surface, ClearResetsTextPositionAndGrowingKeepsDrawing) {
    Surface s(4, 4);
    s.setCurrentX(7);
    s.setCurrentY(9);
    s.setBackColor(0xFFFFC0);
    s.clear();
    EXPECT_EQ(s.currentX(), 0);
    EXPECT_EQ(s.currentY(), 0);
    s.pset(1, 1, ColorNegro);
    s.setBackColor(0x00FF00);
    s.resize(8, 6);
    EXPECT_EQ(s.point(1, 1), 0);
    EXPECT_EQ(s.point(0, 0), 0xFFFFC0);
    EXPECT_EQ(s.point(7, 5), 0x00FF00);
}

TEST(Surface, ThirtyPointsIsFortyPixelsOfEm) {
    Surface s(10, 10);
    s.setFontName(QStringLiteral("DejaVu Sans"));
    s.setFontSize(30);
    EXPECT_EQ(s.font().pixelSize() > 0 ? s.font().pixelSize() : qRound(s.font().pointSizeF() * 96 / 72), 40);
    // DejaVu Sans: ascent + descent is about 1.164 em.
    EXPECT_NEAR(s.textHeight(), 47, 1);
}

TEST(Surface, PrintedTextIsPureBlackAndLiesWithinItsMeasure) {
    struct Caso {
        QString familia;
        double puntos;
        bool negrita, cursiva, subrayado;
        QString texto;
    };
    const Caso casos[] = {
        {QStringLiteral("DejaVu Sans"), 8, false, false, false, QStringLiteral("Turno 0123")},
        {QStringLiteral("DejaVu Sans"), 30, true, false, true, QStringLiteral("Pulse aqui")},
        {QStringLiteral("DejaVu Sans"), 12, false, true, false, QStringLiteral("jgpq|")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.texto.toStdString() + " " + std::to_string(c.puntos));
        const Surface s = superficieConTexto(c.familia, c.puntos, c.negrita, c.cursiva, c.subrayado, c.texto);
        std::set<int32_t> colores;
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                colores.insert(s.point(x, y));
        EXPECT_EQ(colores, (std::set<int32_t>{0x000000, 0xFFFFFF}));
        const QRect r = tinta(s);
        const int ancho = s.textWidth(c.texto);
        EXPECT_EQ(s.currentX(), ancho);
        ASSERT_FALSE(r.isEmpty());
        // Italic glyphs may lean past their advance by a few pixels.
        EXPECT_LE(r.right(), ancho - 1 + (c.cursiva ? 3 : 0));
        EXPECT_LE(r.bottom(), s.textHeight() - 1);
    }
}

TEST(Surface, UnderlineSpansTheAdvanceWidth) {
    for (double puntos : {8.0, 30.0}) {
        SCOPED_TRACE(puntos);
        const QString texto = QStringLiteral("1");
        const Surface s =
            superficieConTexto(QStringLiteral("DejaVu Sans"), puntos, false, false, true, texto);
        const int ancho = s.textWidth(texto);
        // Find the underline: the lowest row that is black at column 1.
        int fila = -1;
        for (int y = s.textHeight() - 1; y >= 0 && fila < 0; --y)
            if (s.point(1, y) == 0) fila = y;
        ASSERT_GE(fila, 0);
        EXPECT_EQ(s.point(0, fila), 0);
        EXPECT_EQ(s.point(ancho - 1, fila), 0);
        EXPECT_EQ(s.point(ancho, fila), 0xFFFFFF);
    }
}

TEST(Surface, SameTextGivesIdenticalPixelsTwice) {
    const QString texto = QStringLiteral("Su turno: A888");
    const Surface a = superficieConTexto(QStringLiteral("DejaVu Serif"), 24, true, false, true, texto);
    const Surface b = superficieConTexto(QStringLiteral("DejaVu Serif"), 24, true, false, true, texto);
    EXPECT_EQ(a.image(), b.image());
    Surface cero(50, 50); // size 0 still measures
    cero.setFontSize(0);
    EXPECT_GT(cero.textHeight(), 0);
}
