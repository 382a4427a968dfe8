#include "document/Design.h"

#include <gtest/gtest.h>

using namespace quoravex;

namespace {

NuevoObjeto texto(uint32_t pulsadores = 1) {
    NuevoObjeto n;
    n.Tipo = TipoTextoFijo;
    n.Pulsadores = pulsadores;
    return n;
}

// A design with n objects in slots 1..n, Orden equal to the slot.
Design disenoCon(int n) {
    Design d;
    for (int i = 0; i < n; ++i)
        d.agregar(texto());
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

TEST(TextoFijo, PadsCutsAndTrims) {
    TextoFijo<5> t;
    EXPECT_EQ(t.bruto(), QStringLiteral("     "));
    t = QStringLiteral("ab");
    EXPECT_EQ(t.bruto(), QStringLiteral("ab   "));
    EXPECT_EQ(t.valor(), QStringLiteral("ab"));
    t = QStringLiteral("abcdefgh");
    EXPECT_EQ(t.bruto(), QStringLiteral("abcde"));
    t = QStringLiteral("  x\ty ");
    EXPECT_EQ(t.valor(), QStringLiteral("x\ty"));
    ObjetoTicket o;
    o.Texto = QString(150, QLatin1Char('z'));
    EXPECT_EQ(o.Texto.bruto().size(), 100);
    EXPECT_EQ(o.FontName.bruto().size(), 80);
}

TEST(Design, AddFillsTheLowestFreeSlotOnTop) {
    Design d;
    EXPECT_EQ(d.buscarSlotLibre(), 1);
    NuevoObjeto turno;
    turno.Tipo = TipoTurno;
    turno.Formato = 11;
    turno.Texto = QStringLiteral("A88");
    d.objeto(1).Grosor = 7; // a reused slot keeps fields the add does not set
    ASSERT_EQ(d.agregar(turno), 1);
    const ObjetoTicket& o = d.objeto(1);
    EXPECT_TRUE(o.enUso());
    EXPECT_EQ(o.Pendiente, Verdadero);
    EXPECT_EQ(o.Formato, 11);
    EXPECT_EQ(o.Texto.valor(), QStringLiteral("A88"));
    EXPECT_EQ(o.FontSize, 30);
    EXPECT_EQ(o.CurrentX, 1);
    EXPECT_EQ(o.Orden, 1);
    EXPECT_EQ(o.Grosor, 7);
    EXPECT_EQ(d.Objeto, 1);

    NuevoObjeto linea;
    linea.Tipo = TipoLinea;
    ASSERT_EQ(d.agregar(linea), 2);
    EXPECT_EQ(d.objeto(2).Pendiente, Falso);
    EXPECT_EQ(d.objeto(2).Orden, 2);
    EXPECT_EQ(d.NumObjetos, 2);
    EXPECT_EQ(d.IdxObjMasAlto, 2);
}

TEST(Design, FiftyFirstObjectIsRefusedAndNothingChanges) {
    Design d = disenoCon(MaxObjetos);
    EXPECT_EQ(d.NumObjetos, 50);
    EXPECT_EQ(d.buscarSlotLibre(), 0);
    const Design antes = d;
    EXPECT_EQ(d.agregar(texto()), 0);
    EXPECT_EQ(d.NumObjetos, antes.NumObjetos);
    EXPECT_EQ(d.IdxObjMasAlto, antes.IdxObjMasAlto);
    EXPECT_EQ(d.Objeto, antes.Objeto);
    EXPECT_TRUE(d.Objetos == antes.Objetos);
    EXPECT_EQ(d.objeto(0).EnUso, Falso);
    EXPECT_FALSE(MensajeDisenoLleno.isEmpty());
}

TEST(Design, ZOrder) {
    // A 1, B 2, C 3: A to the front gives B 1, C 2, A 3.
    Design d = disenoCon(3);
    d.traerAlFrente(1);
    EXPECT_EQ(ordenes(d), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(d.TicketModificado, Verdadero);

    // C (3) to the back gives C 1, A 2, B 3.
    d = disenoCon(3);
    d.llevarAlFondo(3);
    EXPECT_EQ(ordenes(d), (std::vector<int>{2, 3, 1}));

    // Already on top / at the bottom: no Orden changes but the design is modified.
    d = disenoCon(3);
    d.traerAlFrente(3);
    EXPECT_EQ(ordenes(d), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(d.TicketModificado, Verdadero);
    d.TicketModificado = Falso;
    d.llevarAlFondo(1);
    EXPECT_EQ(ordenes(d), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(d.TicketModificado, Verdadero);
}

TEST(Design, DeletionCounters) {
    // The only object: both counters go to 0.
    Design d = disenoCon(1);
    d.borrar(1);
    EXPECT_EQ(d.NumObjetos, 0);
    EXPECT_EQ(d.IdxObjMasAlto, 0);
    EXPECT_EQ(d.TicketModificado, Verdadero);
    const ObjetoTicket& libre = d.objeto(1);
    EXPECT_FALSE(libre.enUso());
    EXPECT_EQ(libre.Tipo, 0);
    EXPECT_EQ(libre.Width, 382);
    EXPECT_EQ(libre.Height, 120);
    EXPECT_EQ(libre.FontSize, 30);

    // The highest slot lowers IdxObjMasAlto by exactly one, even over a free slot.
    d = disenoCon(3);
    d.borrar(2);
    EXPECT_EQ(d.IdxObjMasAlto, 3);
    d.borrar(3);
    EXPECT_EQ(d.NumObjetos, 1);
    EXPECT_EQ(d.IdxObjMasAlto, 2);

    // The remaining objects keep Orden 1..NumObjetos, and the hole is reused first.
    d = disenoCon(4);
    d.borrar(2);
    EXPECT_EQ(ordenes(d), (std::vector<int>{1, 0, 2, 3}));
    EXPECT_EQ(d.agregar(texto()), 2);
    EXPECT_EQ(d.objeto(2).Orden, 4);

    // A free slot is left alone.
    d = disenoCon(2);
    d.TicketModificado = Falso;
    d.borrar(5);
    d.borrar(0);
    EXPECT_EQ(d.NumObjetos, 2);
    EXPECT_EQ(d.TicketModificado, Falso);
}

TEST(Design, VisibilityInViews) {
    Design d;
    d.NumPulsadores = 4;
    d.VistaActual = Design::mascaraVista(2);
    EXPECT_EQ(d.visibilidad(1, d.VistaActual), Visibilidad::Atenuada);
    EXPECT_EQ(d.visibilidad(1 + 4, d.VistaActual), Visibilidad::Normal);
    EXPECT_EQ(d.visibilidad(1 + 8, d.VistaActual), Visibilidad::Oculta);
    EXPECT_EQ(d.visibilidad(8, d.VistaActual), Visibilidad::Oculta);
    d.VistaActual = 1;
    EXPECT_EQ(d.visibilidad(1 + 8, d.VistaActual), Visibilidad::Normal);
    EXPECT_EQ(d.visibilidad(8, d.VistaActual), Visibilidad::Oculta);

    d.NumPulsadores = 0; // single push-button ticket: everything is shown
    for (uint32_t m : {0u, 1u, 8u, 0x1FFFFu})
        EXPECT_EQ(d.visibilidad(m, Design::mascaraVista(3)), Visibilidad::Normal) << m;
}

TEST(Design, DesignMask) {
    Design d;
    EXPECT_EQ(d.mascaraDiseno(), 0x1FFFFu);
    d.NumPulsadores = 2;
    EXPECT_EQ(d.mascaraDiseno(), 0x7u);
    d.NumPulsadores = 16;
    EXPECT_EQ(d.mascaraDiseno(), 0x1FFFFu);
    EXPECT_EQ(Design::mascaraVista(0), 1u);
    EXPECT_EQ(Design::mascaraVista(16), 0x10000u);
}
