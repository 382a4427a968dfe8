#include "Editor.h"

using namespace quoravex;

TEST_F(Editor, CentringRoundsHalvesToEven) {
    const struct {
        QRect caja;
        int16_t largo;
        QPoint horizontal; // left, top after centring horizontally
        QPoint ambos;      // after centring both ways
    } casos[] = {
        {{7, 9, 95, 40}, 500, {144, 9}, {144, 230}}, // 144.5 -> 144
        {{50, 9, 382, 120}, 500, {1, 9}, {1, 190}},
        {{0, 0, 97, 95}, 500, {144, 0}, {144, 202}}, // 143.5 -> 144; 202.5 -> 202
        {{0, 0, 384, 10}, 401, {0, 0}, {0, 196}},    // 195.5 -> 196
    };
    for (const auto& caso : casos) {
        d.LargoTicket = caso.largo;
        const int i = poner(texto(caso.caja.left(), caso.caja.top(), caso.caja.width(), caso.caja.height()));
        d.Objeto = static_cast<int16_t>(i);
        c.CentrarHorizontal();
        const QPoint h(d.objeto(i).Left, d.objeto(i).Top);
        c.CentrarAmbos();
        EXPECT_EQ(std::tuple(h, ws.item(i).geometry().topLeft(), d.TicketModificado),
                  std::tuple(caso.horizontal, caso.ambos, Verdadero))
            << caso.caja.width();
    }
    // Vertical alone leaves the left edge.
    d.Objeto = static_cast<int16_t>(poner(texto(33, 0, 10, 95)));
    c.CentrarVertical();
    EXPECT_EQ(ws.item(d.Objeto).geometry(), QRect(33, 153, 10, 95)); // on the 401-dot ticket
}

TEST_F(Editor, RotatingAndThickeningALineFollowItsOrientation) {
    const struct {
        QRect antes;
        int grosor; // 0: rotate instead
        QRect despues;
    } casos[] = {
        {{50, 20, 100, 4}, 0, {98, -28, 4, 100}},  {{98, -28, 4, 100}, 0, {50, 20, 100, 4}},
        {{50, 20, 101, 4}, 0, {98, -28, 4, 101}},  // 98.5 -> 98, -28.5 -> -28
        {{51, 20, 101, 4}, 0, {100, -28, 4, 101}}, // 99.5 -> 100
        {{10, 10, 100, 2}, 5, {10, 10, 100, 5}},   {{10, 10, 2, 100}, 5, {10, 10, 5, 100}},
        {{10, 10, 3, 3}, 10, {10, 10, 10, 3}}, // a square counts as vertical
        {{10, 10, 100, 8}, 1, {10, 10, 100, 1}},
    };
    for (const auto& caso : casos) {
        const int i =
            poner(lineaEn(caso.antes.left(), caso.antes.top(), caso.antes.width(), caso.antes.height()));
        d.Objeto = static_cast<int16_t>(i);
        d.TicketModificado = Falso;
        if (caso.grosor)
            c.GrosorDeLinea(caso.grosor);
        else
            c.RotarLinea();
        const ObjetoTicket& o = d.objeto(i);
        EXPECT_EQ(std::tuple(QRect(o.Left, o.Top, o.Width, o.Height), ws.item(i).geometry(), int(o.Grosor),
                             d.TicketModificado),
                  std::tuple(caso.despues, caso.despues, caso.grosor ? caso.grosor : 2, Verdadero))
            << caso.antes.left() << "," << caso.antes.width();
        if (!caso.grosor) {
            EXPECT_EQ(QPoint(o.LineaX, o.LineaY), caso.despues.topLeft());
        }
        EXPECT_EQ(ws.item(i).point(caso.despues.width() - 1, caso.despues.height() - 1), 0);
    }
    for (const int fuera : {0, 11}) {
        c.GrosorDeLinea(fuera);
        EXPECT_EQ(d.objeto(d.Objeto).Grosor, 1);
    }
    // Only lines turn or wait for the mouse to lengthen.
    d.Objeto = static_cast<int16_t>(poner(texto(50, 20, 100, 4)));
    c.RotarLinea();
    c.ModificarFinalLinea();
    EXPECT_EQ(std::pair(ws.item(d.Objeto).geometry(), c.AlargandoLinea),
              std::pair(QRect(50, 20, 100, 4), false));
}
