#include "render/ExploracionFuente.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

using namespace quoravex;
using quoravex::pruebas::Bytes;

namespace {

Surface superficieCian() {
    Surface s(LadoSuperficieFuente, LadoSuperficieFuente);
    s.setBackColor(FondoSuperficieFuente);
    s.clear();
    return s;
}

void pintar(Surface& s, int x0, int x1, int y0, int y1, Color c = ColorNegro) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            s.pset(x, y, c);
}

} // namespace

TEST(ExploracionFuente, BytesScannedPerCellRow) {
    const std::pair<int, int> casos[] = {{1, 2}, {8, 2}, {10, 3}, {16, 3}, {24, 4}, {392, 50}, {393, 51}};
    for (auto [ancho, numBytes] : casos)
        EXPECT_EQ(BytesPorFilaCelda(ancho), numBytes) << ancho;
}

// A space 10 pixels wide (its underline ends at column 9), then a character of
// advance 12 whose ink stays right of the space.
TEST(ExploracionFuente, CharacterWithoutOverhang) {
    Surface s = superficieCian();
    const int filaBase = 29;
    pintar(s, 0, 21, filaBase + 1, filaBase + 2);
    pintar(s, 11, 20, 2, filaBase);
    const MetricaCaracter m = MedirCaracter(s, filaBase, 9);
    EXPECT_EQ(m, (MetricaCaracter{12, 13, 0}));
    EXPECT_EQ(m.inicio(9), 9);
}

TEST(ExploracionFuente, OverhangWidensTheCellToTheLeft) {
    Surface s = superficieCian();
    const int filaBase = 29;
    pintar(s, 0, 21, filaBase + 1, filaBase + 1);
    pintar(s, 7, 20, 2, 5);  // reaches two columns into the space
    pintar(s, 22, 23, 8, 8); // ink right of the underline's end, touching it
    pintar(s, 25, 25, 8, 8); // beyond a free column: not part of the cell
    const MetricaCaracter m = MedirCaracter(s, filaBase, 9);
    EXPECT_EQ(m.Avance, 12);
    EXPECT_EQ(m.Desborde, 3); // column 6 is the first free one
    EXPECT_EQ(m.AnchoCelda, 24 - 9 + 3);
    EXPECT_EQ(m.inicio(9), 6);
}

TEST(ExploracionFuente, CellEncoding) {
    Surface s = superficieCian();
    pintar(s, 10, 10, 0, 2); // cell column 1 of a cell starting at column 9
    EXPECT_EQ(CodificarCelda(s, 9, 13, 29),
              Bytes({0x00, 0x00, 0x01, 0x02, 0x00, 0x40, 0x01, 0x02, 0x00, 0x80, 0x01, 0x02}));
    EXPECT_TRUE(CodificarCelda(s, 9, 13, -1).isEmpty()) << "no rows without a base row";

    // One row, cell starting at column 9: ink at cell columns 3, 35 and 75, so bytes
    // 0, 4 and 9 hold 0x08. Three zeros stay inside a segment, a fourth closes it.
    Surface t = superficieCian();
    pintar(t, 0, 0, 3, 3); // left of the cell
    for (int x : {12, 44, 84})
        pintar(t, x, x, 3, 3);
    EXPECT_EQ(CodificarCelda(t, 9, 16, 3), Bytes({0x00, 0xC0, 0x01, 0x08}));
    EXPECT_EQ(CodificarCelda(t, 9, 80, 3),
              Bytes({0x00, 0xC0, 0x05, 0x08, 0x00, 0x00, 0x00, 0x08, 0x00, 0xC9, 0x01, 0x08}));
}
