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

} // namespace

// Steps on n objects: F brings slot to the front, B sends it to the back, D deletes it, A adds one.
TEST(Design, ZOrderAndDeletionKeepTheRanksContiguous) {
    const struct {
        int n;
        const char* pasos;
        std::vector<int> ordenes; // by slot, 0 when free
        int numObjetos, idxMasAlto;
        bool modificado;
    } casos[] = {
        {3, "F1", {3, 1, 2}, 3, 3, true},
        {3, "B3", {2, 3, 1}, 3, 3, true},
        {3, "F3", {1, 2, 3}, 3, 3, true}, // already on top: no change, but modified
        {3, "B1", {1, 2, 3}, 3, 3, true},
        {1, "D1", {}, 0, 0, true},
        {3, "D2", {1, 0, 2}, 2, 3, true},
        {3, "D2D3", {1, 0}, 1, 2, true},       // the highest slot lowers the counter by one only
        {4, "D2A0", {1, 4, 2, 3}, 4, 4, true}, // the hole is reused first
        {2, "D5D0", {1, 2}, 2, 2, false},      // a free slot is left alone
    };
    for (const auto& c : casos) {
        Design d = disenoCon(c.n);
        for (const char* p = c.pasos; *p; p += 2) {
            const int slot = p[1] - '0';
            if (*p == 'F') d.traerAlFrente(slot);
            if (*p == 'B') d.llevarAlFondo(slot);
            if (*p == 'D') d.borrar(slot);
            if (*p == 'A') d.agregar(NuevoObjeto{});
        }
        std::vector<int> ordenes;
        for (int i = 1; i <= d.IdxObjMasAlto; ++i)
            ordenes.push_back(d.objeto(i).enUso() ? d.objeto(i).Orden : 0);
        EXPECT_EQ(
            std::tuple(ordenes, int(d.NumObjetos), int(d.IdxObjMasAlto), d.TicketModificado == Verdadero),
            std::tuple(c.ordenes, c.numObjetos, c.idxMasAlto, c.modificado))
            << c.n << c.pasos;
    }
    // The object added last is the current one; a freed slot gets its defaults back.
    Design d = disenoCon(2);
    d.objeto(1).Width = 5;
    d.borrar(1);
    EXPECT_EQ(std::pair(int(d.Objeto), int(d.objeto(1).Width)), std::pair(2, 382));
}
