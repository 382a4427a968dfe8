#include "document/Design.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace quoravex;

namespace {

// A design with n fixed texts in slots 1..n, Orden equal to the slot.
Design disenoCon(int n) {
    Design d;
    for (int i = 0; i < n; ++i)
        d.agregar(NuevoObjeto{});
    d.TicketModificado = Falso;
    return d;
}

std::vector<int> ordenes(const Design& d) {
    std::vector<int> r;
    for (int i = 1; i <= d.IdxObjMasAlto; ++i)
        r.push_back(d.objeto(i).enUso() ? d.objeto(i).Orden : 0);
    return r;
}

} // namespace

TEST(Design, AddFillsTheLowestFreeSlotOnTop) {
    Design d;
    NuevoObjeto turno;
    turno.Tipo = TipoTurno;
    turno.Formato = 11;
    turno.Texto = QStringLiteral("A88");
    d.objeto(1).Grosor = 7; // a reused slot keeps fields the add does not set
    ASSERT_EQ(d.agregar(turno), 1);
    const ObjetoTicket& o = d.objeto(1);
    EXPECT_EQ(o.Pendiente, Verdadero);
    EXPECT_EQ(o.Formato, 11);
    EXPECT_EQ(o.Texto.bruto(), QStringLiteral("A88") + QString(97, QLatin1Char(' ')));
    EXPECT_EQ(o.Grosor, 7);
    NuevoObjeto linea;
    linea.Tipo = TipoLinea;
    ASSERT_EQ(d.agregar(linea), 2);
    EXPECT_EQ(d.objeto(2).Pendiente, Falso);
    EXPECT_EQ(d.objeto(2).Orden, 2);
    EXPECT_EQ(std::tuple(d.NumObjetos, d.IdxObjMasAlto, d.Objeto), std::tuple(2, 2, 2));
    d.objeto(2).Texto = QString(120, QLatin1Char('x')); // fixed-width fields cut on assignment
    EXPECT_EQ(d.objeto(2).Texto.bruto(), QString(100, QLatin1Char('x')));
}

TEST(Design, FiftyFirstObjectIsRefusedAndNothingChanges) {
    Design d = disenoCon(MaxObjetos);
    EXPECT_EQ(d.buscarSlotLibre(), 0);
    const Design antes = d;
    EXPECT_EQ(d.agregar(NuevoObjeto{}), 0);
    EXPECT_EQ(std::tuple(d.NumObjetos, d.IdxObjMasAlto, d.Objeto), std::tuple(50, 50, antes.Objeto));
    EXPECT_TRUE(d.Objetos == antes.Objetos);
}

TEST(Design, ZOrder) {
    const struct {
        bool alFrente;
        int slot;
        std::vector<int> ordenes;
    } casos[] = {
        {true, 1, {3, 1, 2}},  // A 1, B 2, C 3: A to the front gives B 1, C 2, A 3
        {false, 3, {2, 3, 1}}, // C to the back gives C 1, A 2, B 3
        {true, 3, {1, 2, 3}},  // already on top: no change, but modified
        {false, 1, {1, 2, 3}},
    };
    for (const auto& c : casos) {
        Design d = disenoCon(3);
        c.alFrente ? d.traerAlFrente(c.slot) : d.llevarAlFondo(c.slot);
        EXPECT_EQ(ordenes(d), c.ordenes) << c.alFrente << c.slot;
        EXPECT_EQ(d.TicketModificado, Verdadero);
    }
}

TEST(Design, DeletionCounters) {
    // The only object: both counters go to 0 and the slot gets its defaults back.
    Design d = disenoCon(1);
    d.borrar(1);
    EXPECT_EQ(std::tuple(d.NumObjetos, d.IdxObjMasAlto), std::tuple(0, 0));
    EXPECT_EQ(d.TicketModificado, Verdadero);
    EXPECT_FALSE(d.objeto(1).enUso());
    EXPECT_EQ(d.objeto(1).Width, 382);

    // The highest slot lowers IdxObjMasAlto by exactly one, even over a free slot.
    d = disenoCon(3);
    d.borrar(2);
    EXPECT_EQ(d.IdxObjMasAlto, 3);
    d.borrar(3);
    EXPECT_EQ(std::tuple(d.NumObjetos, d.IdxObjMasAlto), std::tuple(1, 2));

    // The remaining objects keep Orden 1..NumObjetos, and the hole is reused first.
    d = disenoCon(4);
    d.borrar(2);
    EXPECT_EQ(ordenes(d), (std::vector<int>{1, 0, 2, 3}));
    EXPECT_EQ(d.agregar(NuevoObjeto{}), 2);
    EXPECT_EQ(d.objeto(2).Orden, 4);

    // A free slot is left alone.
    d = disenoCon(2);
    d.borrar(5);
    d.borrar(0);
    EXPECT_EQ(d.NumObjetos, 2);
    EXPECT_EQ(d.TicketModificado, Falso);
}

TEST(Design, VisibilityInViews) {
    Design d;
    d.NumPulsadores = 4;
    EXPECT_EQ(d.mascaraDiseno(), 0x1Fu);
    const uint32_t vista2 = Design::mascaraVista(2);
    EXPECT_EQ(d.visibilidad(1, vista2), Visibilidad::Atenuada);
    EXPECT_EQ(d.visibilidad(1 + 4, vista2), Visibilidad::Normal);
    EXPECT_EQ(d.visibilidad(1 + 8, vista2), Visibilidad::Oculta);
    EXPECT_EQ(d.visibilidad(8, vista2), Visibilidad::Oculta);
    EXPECT_EQ(d.visibilidad(1 + 8, 1), Visibilidad::Normal);
    EXPECT_EQ(d.visibilidad(8, 1), Visibilidad::Oculta);
    d.NumPulsadores = 0; // single push-button ticket: everything is shown
    for (uint32_t m : {0u, 8u, 0x1FFFFu})
        EXPECT_EQ(d.visibilidad(m, Design::mascaraVista(3)), Visibilidad::Normal) << m;
}
