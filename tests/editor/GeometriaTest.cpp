#include "Editor.h"

using namespace quoravex;

TEST_F(Editor, CentringRoundsHalvesToEven) {
    d.LargoTicket = 500;
    const struct {
        QRect caja;
        int largo;
        QPoint horizontal; // left, top after centring horizontally
        QPoint ambos;      // after centring both ways
    } casos[] = {
        {{7, 9, 95, 40}, 500, {144, 9}, {144, 230}}, // 144.5 -> 144
        {{50, 9, 382, 120}, 500, {1, 9}, {1, 190}},  // 1
        {{0, 0, 97, 95}, 500, {144, 0}, {144, 202}}, // 143.5 -> 144; 202.5 -> 202
        {{0, 0, 384, 10}, 401, {0, 0}, {0, 196}},    // 195.5 -> 196
    };
    for (const auto& caso : casos) {
        d.LargoTicket = static_cast<int16_t>(caso.largo);
        const int i = poner(texto(caso.caja.left(), caso.caja.top(), caso.caja.width(), caso.caja.height()));
        d.Objeto = static_cast<int16_t>(i);
        d.TicketModificado = Falso;
        c.CentrarHorizontal();
        EXPECT_EQ(QPoint(d.objeto(i).Left, d.objeto(i).Top), caso.horizontal) << caso.caja.width();
        EXPECT_EQ(ws.item(i).geometry().topLeft(), caso.horizontal);
        EXPECT_EQ(d.TicketModificado, Verdadero);
        c.CentrarAmbos();
        EXPECT_EQ(QPoint(d.objeto(i).Left, d.objeto(i).Top), caso.ambos) << caso.caja.width();
        EXPECT_EQ(ws.item(i).geometry().topLeft(), caso.ambos);
    }
    // Vertical alone leaves the left edge.
    const int i = poner(texto(33, 0, 10, 95));
    d.LargoTicket = 500;
    d.Objeto = static_cast<int16_t>(i);
    c.CentrarVertical();
    EXPECT_EQ(ws.item(i).geometry(), QRect(33, 202, 10, 95));
}

TEST_F(Editor, RotatingALineTurnsItsBoxAboutTheCentre) {
    const struct {
        QRect antes;
        QRect despues;
    } casos[] = {
        {{50, 20, 100, 4}, {98, -28, 4, 100}},
        {{98, -28, 4, 100}, {50, 20, 100, 4}},
        {{50, 20, 101, 4}, {98, -28, 4, 101}},  // 98.5 -> 98, -28.5 -> -28
        {{51, 20, 101, 4}, {100, -28, 4, 101}}, // 99.5 -> 100
    };
    for (const auto& caso : casos) {
        const int i =
            poner(lineaEn(caso.antes.left(), caso.antes.top(), caso.antes.width(), caso.antes.height()));
        d.Objeto = static_cast<int16_t>(i);
        d.TicketModificado = Falso;
        c.RotarLinea();
        const ObjetoTicket& o = d.objeto(i);
        EXPECT_EQ(QRect(o.Left, o.Top, o.Width, o.Height), caso.despues) << caso.antes.left();
        EXPECT_EQ(ws.item(i).geometry(), caso.despues);
        EXPECT_EQ(QPoint(o.LineaX, o.LineaY), caso.despues.topLeft());
        EXPECT_EQ(ws.item(i).point(1, 1), 0);
        EXPECT_EQ(d.TicketModificado, Verdadero);
    }
    // Only lines turn.
    const int t = poner(texto(50, 20, 100, 4));
    d.Objeto = static_cast<int16_t>(t);
    c.RotarLinea();
    EXPECT_EQ(ws.item(t).geometry(), QRect(50, 20, 100, 4));
}

TEST_F(Editor, ThicknessFollowsTheLinesOrientation) {
    const struct {
        QRect antes;
        int grosor;
        QSize despues;
    } casos[] = {
        {{10, 10, 100, 2}, 5, {100, 5}},
        {{10, 10, 2, 100}, 5, {5, 100}},
        {{10, 10, 3, 3}, 10, {10, 3}}, // a square counts as vertical
        {{10, 10, 100, 8}, 1, {100, 1}},
    };
    for (const auto& caso : casos) {
        const int i =
            poner(lineaEn(caso.antes.left(), caso.antes.top(), caso.antes.width(), caso.antes.height()));
        d.Objeto = static_cast<int16_t>(i);
        d.TicketModificado = Falso;
        c.GrosorDeLinea(caso.grosor);
        const ObjetoTicket& o = d.objeto(i);
        EXPECT_EQ(QSize(o.Width, o.Height), caso.despues) << caso.antes.width() << "x" << caso.antes.height();
        EXPECT_EQ(ws.item(i).geometry(), QRect(caso.antes.topLeft(), caso.despues));
        EXPECT_EQ(ws.item(i).point(caso.despues.width() - 1, caso.despues.height() - 1), 0);
        EXPECT_EQ(o.Grosor, caso.grosor);
        EXPECT_EQ(d.TicketModificado, Verdadero);
    }
    const int i = d.Objeto;
    for (int fuera : {0, 11}) {
        c.GrosorDeLinea(fuera);
        EXPECT_EQ(d.objeto(i).Grosor, 1);
    }
}

TEST_F(Editor, LengthCommandWaitsForTheMouseOnLinesOnly) {
    const int t = poner(texto(1, 1, 10, 10));
    d.Objeto = static_cast<int16_t>(t);
    c.ModificarFinalLinea();
    EXPECT_FALSE(c.AlargandoLinea);

    const int l = poner(lineaEn(10, 10, 100, 2));
    d.Objeto = static_cast<int16_t>(l);
    d.TicketModificado = Falso;
    c.ModificarFinalLinea();
    EXPECT_TRUE(c.AlargandoLinea);
    EXPECT_EQ(c.lineaEnCurso(), l);
    EXPECT_EQ(d.TicketModificado, Verdadero);
}
