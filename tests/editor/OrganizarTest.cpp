// Aligning, distributing and centring boxes: whole dots, each box within its own drag limits,
// and the same rounding every time.
#include "editor/Organizar.h"

#include <gtest/gtest.h>

using namespace quoravex;

namespace {

// A text-like box with the drag limits of a 500-dot ticket; `linea` gives a line's limits.
CajaOrganizar Caja(int x, int y, int w, int h, bool linea = false) {
    const auto [lefts, tops] = LimitesArrastre(linea, w, h, 500);
    return {QRect(x, y, w, h), lefts, tops};
}

QRect Referencia(const QList<CajaOrganizar>& cajas) {
    if (cajas.size() == 1) return QRect(0, 0, 384, 500);
    QList<QRect> r;
    for (const CajaOrganizar& c : cajas)
        r << c.caja;
    return Envolvente(r);
}

} // namespace

TEST(Organizar, AlignDistributeAndCentreTable) {
    enum Op { Izq, Der, Arr, Aba, CenH, CenV, DisH, DisV, Centrar };
    const struct {
        const char* nombre;
        Op op;
        QList<CajaOrganizar> cajas;
        QList<QPoint> esperadas;
    } casos[] = {
        {"left edges", Izq, {Caja(40, 10, 50, 20), Caja(10, 60, 30, 20)}, {{10, 10}, {10, 60}}},
        {"right edges", Der, {Caja(40, 10, 50, 20), Caja(10, 60, 30, 20)}, {{40, 10}, {60, 60}}},
        {"tops", Arr, {Caja(40, 10, 50, 20), Caja(10, 60, 30, 25)}, {{40, 10}, {10, 10}}},
        {"bottoms", Aba, {Caja(40, 10, 50, 20), Caja(10, 60, 30, 25)}, {{40, 65}, {10, 60}}},
        // Box 80 wide in a span of 95: 7.5 rounds to the even 8; 20 wide: 37.5 -> 38.
        {"centres across, half dots to even", CenH, {Caja(0, 0, 95, 10), Caja(10, 20, 80, 10), Caja(5, 40, 20, 10)}, {{0, 0}, {8, 20}, {38, 40}}},
        {"centres down", CenV, {Caja(0, 0, 10, 40), Caja(20, 5, 10, 11)}, {{0, 0}, {20, 14}}},
        // One box against the ticket: 95 wide centres at 144 (144.5 to even), as "Centrado".
        {"one box: the ticket is the reference", CenH, {Caja(3, 3, 95, 10)}, {{144, 3}}},
        // A line's corner stays on the ticket: aligned to the ticket's left it stops at 1.
        {"a line keeps its limits", Izq, {Caja(50, 50, 100, 2, true)}, {{1, 50}}},
        {"a line at the bottom", Aba, {Caja(50, 50, 100, 2, true)}, {{50, 498}}},
        // Span 10..100, boxes 10+20+10 wide: 50 dots over 2 gaps, 25 each.
        {"even gaps", DisH, {Caja(10, 0, 10, 5), Caja(30, 9, 20, 5), Caja(90, 3, 10, 5)}, {{10, 0}, {45, 9}, {90, 3}}},
        // 51 dots over 2 gaps: the first takes 26, the second 25.
        {"odd gap: the first gap gets the extra dot", DisH, {Caja(10, 0, 10, 5), Caja(30, 0, 20, 5), Caja(91, 0, 10, 5)},
         {{10, 0}, {46, 0}, {91, 0}}},
        // 10 dots over 3 gaps: 4, 3, 3; the order of the list does not matter.
        {"order by position, 10 over 3 gaps", DisV, {Caja(0, 40, 5, 10), Caja(0, 0, 5, 10), Caja(0, 27, 5, 10), Caja(0, 15, 5, 10)},
         {{0, 40}, {0, 0}, {0, 27}, {0, 14}}},
        // Overlapping boxes: -15 over 2 gaps is -7 and -8 (floor division, extra dot first).
        {"negative space", DisH, {Caja(0, 0, 20, 5), Caja(10, 0, 20, 5), Caja(25, 0, 10, 5)}, {{0, 0}, {13, 0}, {25, 0}}},
        {"two boxes stay", DisH, {Caja(0, 0, 20, 5), Caja(70, 0, 20, 5)}, {{0, 0}, {70, 0}}},
        // The block 10..105 (95 wide) moves to 144; each box keeps its place in it.
        {"block centred across the ticket", Centrar, {Caja(10, 0, 50, 5), Caja(60, 30, 45, 5)}, {{144, 0}, {194, 30}}},
    };
    const Alineacion a[] = {Alineacion::Izquierda, Alineacion::Derecha, Alineacion::Arriba,
                            Alineacion::Abajo, Alineacion::CentrosHorizontal, Alineacion::CentrosVertical};
    for (const auto& c : casos)
        EXPECT_EQ(c.op == DisH || c.op == DisV ? Distribuir(c.cajas, c.op == DisH ? Qt::Horizontal : Qt::Vertical)
                  : c.op == Centrar            ? CentrarEnTicket(c.cajas, 384)
                                               : Alinear(c.cajas, a[c.op], Referencia(c.cajas)),
                  c.esperadas)
            << c.nombre;
}

TEST(Organizar, DragLimitsAndGrid) {
    // Half of a 95-dot box may leave the ticket: -47.5 and 336.5 round to even.
    const auto [lefts, tops] = LimitesArrastre(false, 95, 21, 500);
    EXPECT_EQ(std::tuple(lefts.minimo, lefts.maximo, tops.minimo, tops.maximo), std::tuple(-48, 336, -10, 490));
    const auto [lineaX, lineaY] = LimitesArrastre(true, 100, 2, 300);
    EXPECT_EQ(std::tuple(lineaX.minimo, lineaX.maximo, lineaY.minimo, lineaY.maximo), std::tuple(1, 382, 1, 298));
    const std::tuple<int, int, int> rejilla[] = {{0, 8, 0},  {3, 8, 0},   {4, 8, 8},  {12, 8, 16}, {-3, 8, 0},
                                                 {-4, 8, 0}, {-5, 8, -8}, {7, 5, 5}, {8, 5, 10},  {9, 1, 9}};
    for (const auto& [valor, paso, esperado] : rejilla)
        EXPECT_EQ(EnCuadricula(valor, paso), esperado) << valor << " / " << paso;
}
