#include "Editor.h"

#include <map>

using namespace quoravex;

// The centre, rotate and thickness commands on the current object: halves rounded to even, a
// line turned about its centre, its thickness across its orientation, other objects untouched.
TEST_F(Editor, CentringRotatingAndThickeningFollowTheObject) {
    const struct {
        char comando; // H, V, A(mbos): centre; R: rotate; a digit or 'X' (11): thickness
        bool linea;
        QRect antes, despues;
        int grosor; // after the command; a text has none
        int16_t largo = 500;
    } casos[] = {
        {'H', false, {7, 9, 95, 40}, {144, 9, 95, 40}, 0},        // 144.5 -> 144
        {'A', false, {0, 0, 97, 95}, {144, 202, 97, 95}, 0},      // 143.5 -> 144; 202.5 -> 202
        {'A', false, {0, 0, 384, 10}, {0, 196, 384, 10}, 0, 401}, // 195.5 -> 196
        {'V', false, {33, 0, 10, 95}, {33, 153, 10, 95}, 0, 401},
        {'R', true, {50, 20, 101, 4}, {98, -28, 4, 101}, 2},  // 98.5 -> 98, -28.5 -> -28
        {'R', true, {51, 20, 101, 4}, {100, -28, 4, 101}, 2}, // 99.5 -> 100
        {'9', true, {10, 10, 3, 3}, {10, 10, 9, 3}, 9},       // a square counts as vertical
        {'1', true, {10, 10, 100, 8}, {10, 10, 100, 1}, 1},
        {'0', true, {10, 10, 100, 8}, {10, 10, 100, 8}, 2}, // out of range: nothing changes
        {'X', true, {10, 10, 100, 8}, {10, 10, 100, 8}, 2},
        {'R', false, {50, 20, 100, 4}, {50, 20, 100, 4}, 0}, // only lines turn
    };
    const std::map<char, void (ComandosObjeto::*)()> comandos = {{'H', &ComandosObjeto::CentrarHorizontal},
                                                                 {'V', &ComandosObjeto::CentrarVertical},
                                                                 {'A', &ComandosObjeto::CentrarAmbos},
                                                                 {'R', &ComandosObjeto::RotarLinea}};
    for (const auto& caso : casos) {
        d.LargoTicket = caso.largo;
        const QRect& a = caso.antes;
        const int i = poner(caso.linea ? lineaEn(a.left(), a.top(), a.width(), a.height())
                                       : texto(a.left(), a.top(), a.width(), a.height()));
        d.Objeto = static_cast<int16_t>(i);
        d.TicketModificado = Falso;
        if (const auto k = comandos.find(caso.comando); k != comandos.end())
            (c.*k->second)();
        else
            c.GrosorDeLinea(caso.comando == 'X' ? 11 : caso.comando - '0');
        const ObjetoTicket& o = d.objeto(i);
        // Modified exactly when the object changed.
        EXPECT_EQ(std::tuple(QRect(o.Left, o.Top, o.Width, o.Height), ws.item(i).geometry(), int(o.Grosor),
                             d.TicketModificado == Verdadero),
                  std::tuple(caso.despues, caso.despues, caso.grosor, caso.despues != caso.antes))
            << caso.comando << " " << a.left() << "," << a.width();
        if (caso.comando == 'R' && caso.linea)
            EXPECT_EQ(QPoint(o.LineaX, o.LineaY), caso.despues.topLeft()) << a.left();
        if (caso.linea) EXPECT_EQ(ws.item(i).point(caso.despues.width() - 1, caso.despues.height() - 1), 0);
    }
    // Only a line waits for the mouse to lengthen.
    c.ModificarFinalLinea();
    EXPECT_FALSE(c.AlargandoLinea);
}
