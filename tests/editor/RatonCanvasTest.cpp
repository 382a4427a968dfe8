#include "Editor.h"

#include "dialogs/FrmGetFont.h"
#include "editor/CanvasTicket.h"
#include "editor/RatonCanvas.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QWheelEvent>

using namespace quoravex;

namespace {

// Menus with the entries the mouse handling shows and hides.
struct Menus {
    QMenu ticket;
    QMenu objetos;
    QMenu linea;
    Menus() {
        ticket.setObjectName(QStringLiteral("mnuTicket"));
        objetos.setObjectName(QStringLiteral("mnuObjetos"));
        linea.setObjectName(QStringLiteral("mnuLinea"));
        ticket.addAction(QStringLiteral("Añadir Texto &Fijo"))
            ->setObjectName(QStringLiteral("mnuAnadirTextoFijo"));
        objetos.addAction(QStringLiteral("&Copiar"))->setObjectName(QStringLiteral("mnuCopiarObjeto"));
        objetos.addAction(QStringLiteral("Sel. Pulsador"))->setObjectName(QStringLiteral("mnuSelPulsObjeto"));
        linea.addAction(QStringLiteral("&Copiar"))->setObjectName(QStringLiteral("mnuCopiarLinea"));
        linea.addAction(QStringLiteral("Sel. Pulsador"))->setObjectName(QStringLiteral("mnuSelPulsLinea"));
    }
};

EventoRaton ev(double x, double y, Qt::MouseButton boton, Qt::MouseButtons botones) {
    EventoRaton e;
    e.pos = QPointF(x, y);
    e.boton = boton;
    e.botones = botones;
    return e;
}

} // namespace

class Raton : public Editor {
protected:
    Raton() {
        r.setMenus(&menus.ticket, &menus.objetos, &menus.linea);
        r.abrirMenu = [this](QMenu& m, const QPoint&) {
            QStringList visibles;
            for (QAction* a : m.actions())
                if (a->isVisible()) visibles << a->objectName();
            abiertos << m.objectName() + QLatin1Char(':') + visibles.join(QLatin1Char(','));
        };
        r.pitido = [this] { ++pitidos; };
    }

    void pulsar(double x, double y, Qt::MouseButton b = Qt::LeftButton) { r.pulsar(ev(x, y, b, b)); }
    void mover(double x, double y, Qt::MouseButtons b = Qt::LeftButton) {
        r.mover(ev(x, y, Qt::NoButton, b));
    }
    void soltar(double x, double y, Qt::MouseButton b = Qt::LeftButton) {
        r.soltar(ev(x, y, b, Qt::NoButton));
    }
    void arrastrar(QPointF desde, QPointF hasta) {
        pulsar(desde.x(), desde.y());
        mover(hasta.x(), hasta.y());
        soltar(hasta.x(), hasta.y());
    }

    Menus menus;
    RatonCanvas r{d, ws, c};
    QStringList abiertos;
    int pitidos = 0;
};

TEST_F(Raton, DraggingKeepsObjectsWithinTheirLimits) {
    d.LargoTicket = 500;
    const struct {
        const char* nombre;
        NuevoObjeto objeto;
        QPointF hasta; // where the pointer goes, having grabbed the object 1 dot inside its corner
        QPoint esperado;
    } casos[] = {
        {"text far left", texto(1, 1, 382, 120), {-299, 41}, {-191, 40}},
        {"text half out left", texto(1, 1, 382, 120), {-189, 41}, {-190, 40}},
        {"text far right", texto(1, 1, 382, 120), {400, 2}, {193, 1}},
        {"text far up", texto(1, 100, 382, 120), {41, -300}, {40, -60}},
        {"text far down", texto(1, 1, 382, 120), {41, 900}, {40, 440}},
        {"text inside", texto(1, 1, 100, 50), {101.5, 11.5}, {100, 10}}, // 100.5 -> 100, 10.5 -> 10
        {"line left edge", lineaEn(50, 50, 100, 2), {-40, 51}, {1, 50}},
        {"line bottom", lineaEn(50, 50, 2, 100), {51, 900}, {50, 498}},
        {"line right", lineaEn(50, 50, 100, 2), {900, 51}, {382, 50}},
        {"line top", lineaEn(50, 50, 100, 2), {51, -5}, {50, 1}},
    };
    for (const auto& caso : casos) {
        const int i = poner(caso.objeto);
        const QRect antes = ws.item(i).geometry();
        d.TicketModificado = Falso;
        d.Objeto = 0;
        arrastrar(antes.topLeft() + QPointF(1, 1), caso.hasta);
        EXPECT_EQ(ws.item(i).geometry(), QRect(caso.esperado, antes.size())) << caso.nombre;
        EXPECT_EQ(QPoint(d.objeto(i).Left, d.objeto(i).Top), caso.esperado) << caso.nombre;
        EXPECT_EQ(d.TicketModificado, Verdadero) << caso.nombre;
        // Dragging a line makes it the current object.
        EXPECT_EQ(d.Objeto, caso.objeto.Tipo == TipoLinea ? i : 0) << caso.nombre;
        BorrarObjeto(d, ws, i);
    }
    EXPECT_EQ(pitidos, 0);
}

TEST_F(Raton, DrawingANewLineFromItsAnchor) {
    const int l = c.AnadirLinea();
    ASSERT_GT(l, 0);
    pulsar(100, 50);
    EXPECT_EQ(QPoint(d.objeto(l).LineaX, d.objeto(l).LineaY), QPoint(100, 50));
    EXPECT_EQ(ws.item(l).geometry(), QRect(100, 50, 2, 2));

    mover(40, 60); // left of the anchor: the line still grows to the right
    EXPECT_EQ(ws.item(l).geometry(), QRect(100, 50, 60, 2));
    EXPECT_EQ(d.objeto(l).Width, 60);
    mover(103, 150);
    EXPECT_EQ(ws.item(l).geometry(), QRect(100, 50, 2, 100));
    EXPECT_EQ(d.objeto(l).Height, 100);
    EXPECT_TRUE(c.DibujandoLinea);

    soltar(103, 150);
    EXPECT_FALSE(c.DibujandoLinea);
    const ObjetoTicket& o = d.objeto(l);
    EXPECT_EQ(QRect(o.Left, o.Top, o.Width, o.Height), QRect(100, 50, 2, 100));
    EXPECT_EQ(QPoint(o.LineaX, o.LineaY), QPoint(100, 50));
    EXPECT_EQ(ws.item(l).point(1, 99), 0);

    // Once finished, moving over the canvas changes nothing.
    mover(300, 60, Qt::NoButton);
    EXPECT_EQ(ws.item(l).geometry(), QRect(100, 50, 2, 100));
}

TEST_F(Raton, LengtheningFollowsThePointerWithNoButtonHeld) {
    const int l = poner(lineaEn(100, 50, 60, 3));
    d.objeto(l).Grosor = 3;
    d.Objeto = static_cast<int16_t>(l);
    c.ModificarFinalLinea();
    mover(250.5, 52, Qt::NoButton); // 150.5 -> 150
    EXPECT_EQ(ws.item(l).geometry(), QRect(100, 50, 150, 3));
    pulsar(250, 52);
    soltar(250, 52);
    EXPECT_FALSE(c.AlargandoLinea);
    EXPECT_EQ(d.objeto(l).Width, 150);
    EXPECT_EQ(QPoint(d.objeto(l).LineaX, d.objeto(l).LineaY), QPoint(100, 50));
}

TEST_F(Raton, ReleasingOverAnObjectDoesNotFinishALine) {
    const int t = poner(texto(200, 200, 100, 50));
    const int l = c.AnadirLinea();
    ASSERT_GT(l, 0);
    // Pressing on an object does not anchor the line, and dragging it only beeps.
    pulsar(210, 210);
    mover(250, 260);
    mover(260, 270);
    soltar(260, 270);
    EXPECT_TRUE(c.DibujandoLinea);
    EXPECT_EQ(pitidos, 1);
    EXPECT_EQ(ws.item(t).geometry(), QRect(200, 200, 100, 50));
    EXPECT_EQ(ws.item(l).geometry(), QRect(-10, -10, 2, 2));

    // The bare canvas holds the mouse from press to release, even when released over an object.
    pulsar(100, 50);
    mover(220, 55);
    soltar(220, 210);
    EXPECT_FALSE(c.DibujandoLinea);
    EXPECT_EQ(ws.item(l).geometry(), QRect(100, 50, 120, 2));
}

TEST_F(Raton, ContextMenusFitTheObject) {
    NuevoObjeto fecha = texto(1, 1, 100, 40);
    fecha.Tipo = TipoFecha;
    const int f = poner(fecha);
    const int t = poner(texto(1, 100, 100, 40));
    const int l = poner(lineaEn(1, 200, 100, 2));
    auto clicDerecho = [&](double x, double y) {
        abiertos.clear();
        pulsar(x, y, Qt::RightButton);
        soltar(x, y, Qt::RightButton);
        return abiertos.value(0);
    };
    const QString objetosSinNada = QStringLiteral("mnuObjetos:");
    d.NumPulsadores = 0;
    EXPECT_EQ(clicDerecho(5, 5), objetosSinNada);
    EXPECT_EQ(d.Objeto, f);
    EXPECT_EQ(clicDerecho(5, 105), QStringLiteral("mnuObjetos:mnuCopiarObjeto"));
    EXPECT_EQ(d.Objeto, t);
    EXPECT_EQ(clicDerecho(5, 200), QStringLiteral("mnuLinea:mnuCopiarLinea"));
    EXPECT_EQ(d.Objeto, l);
    EXPECT_EQ(clicDerecho(5, 300), QStringLiteral("mnuTicket:mnuAnadirTextoFijo"));

    d.NumPulsadores = 4;
    EXPECT_EQ(clicDerecho(5, 5), objetosSinNada);
    EXPECT_EQ(clicDerecho(5, 105), QStringLiteral("mnuObjetos:mnuCopiarObjeto,mnuSelPulsObjeto"));
    EXPECT_EQ(clicDerecho(5, 201), QStringLiteral("mnuLinea:mnuCopiarLinea,mnuSelPulsLinea"));

    // A left click also prepares them; the topmost box wins where boxes overlap.
    d.NumPulsadores = 0;
    const int encima = poner(texto(50, 120, 100, 40));
    pulsar(60, 130);
    soltar(60, 130);
    EXPECT_FALSE(menus.objetos.actions().at(1)->isVisible());
    EXPECT_EQ(r.objetoEn(QPointF(60, 130)), encima);
    EXPECT_EQ(r.objetoEn(QPointF(20, 130)), t);
    EXPECT_EQ(r.objetoEn(QPointF(20, 160)), 0);
}

TEST_F(Raton, DoubleClickModifiesTheObject) {
    const int t = poner(texto(10, 10, 100, 40));
    d.objeto(t).Texto = QStringLiteral("Hola");
    int abiertosEditor = 0;
    responder = [&](QDialog& dlg) {
        ++abiertosEditor;
        EXPECT_EQ(d.Objeto, t);
        static_cast<FrmGetFont&>(dlg).cmdCancel_Click();
        return int(QDialog::Rejected);
    };
    d.TicketModificado = Falso;
    r.dobleClic(ev(20, 20, Qt::LeftButton, Qt::LeftButton));
    soltar(20, 20);
    EXPECT_EQ(abiertosEditor, 1);
    EXPECT_TRUE(d.enUso(t));
    EXPECT_EQ(d.TicketModificado, Verdadero);
    EXPECT_EQ(redibujados, 1);

    r.dobleClic(ev(300, 300, Qt::LeftButton, Qt::LeftButton)); // bare canvas
    soltar(300, 300);
    EXPECT_EQ(abiertosEditor, 1);
}

// The canvas widget scales what it shows; gestures land on the same dots at any zoom.
TEST_F(Raton, ZoomedDragGivesTheSameRecord) {
    CanvasTicket canvas(ws);
    QObject::connect(&canvas, &CanvasTicket::ratonPulsado, &r, &RatonCanvas::pulsar);
    QObject::connect(&canvas, &CanvasTicket::ratonMovido, &r, &RatonCanvas::mover);
    QObject::connect(&canvas, &CanvasTicket::ratonSoltado, &r, &RatonCanvas::soltar);

    auto arrastre = [&](double zoom) {
        canvas.setZoom(zoom);
        EXPECT_EQ(canvas.size(), QSize(qRound(385 * zoom), qRound(501 * zoom)));
        const int i = poner(texto(20, 30, 100, 40));
        auto en = [&](int x, int y) { return QPoint(qRound(x * zoom), qRound(y * zoom)); };
        QTest::mousePress(&canvas, Qt::LeftButton, {}, en(25, 35));
        QTest::mouseMove(&canvas, en(80, 90));
        QTest::mouseMove(&canvas, en(147, 212));
        QTest::mouseRelease(&canvas, Qt::LeftButton, {}, en(147, 212));
        const ObjetoTicket o = d.objeto(i);
        BorrarObjeto(d, ws, i);
        return QRect(o.Left, o.Top, o.Width, o.Height);
    };
    const QRect alCien = arrastre(1.0);
    EXPECT_EQ(alCien, QRect(142, 207, 100, 40));
    EXPECT_EQ(arrastre(3.0), alCien);
    EXPECT_EQ(arrastre(2.0), alCien);
}

TEST_F(Raton, ControlWheelStepsTheZoom) {
    CanvasTicket canvas(ws);
    QList<double> avisos;
    QObject::connect(&canvas, &CanvasTicket::zoomCambiado, [&](double z) { avisos << z; });
    auto rueda = [&](int delta, Qt::KeyboardModifiers mods) {
        QWheelEvent e(QPointF(10, 10), canvas.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&canvas, &e);
    };
    rueda(120, Qt::ControlModifier);
    rueda(120, Qt::ControlModifier);
    EXPECT_EQ(canvas.zoom(), 3.0);
    rueda(120, Qt::NoModifier); // plain wheel scrolls, does not zoom
    EXPECT_EQ(canvas.zoom(), 3.0);
    for (int k = 0; k < 5; ++k)
        rueda(-120, Qt::ControlModifier);
    EXPECT_EQ(canvas.zoom(), 1.0);
    EXPECT_EQ(avisos, (QList<double>{2.0, 3.0, 2.0, 1.0}));
    EXPECT_EQ(canvas.aCanvasF(QPointF(30, 45)), QPointF(30, 45));
    canvas.setZoom(3.0);
    EXPECT_EQ(canvas.aCanvasF(QPointF(30, 45)), QPointF(10, 15));
}
