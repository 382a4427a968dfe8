#include "Editor.h"

#include "dialogs/FrmGetFont.h"
#include "editor/CanvasTicket.h"
#include "editor/RatonCanvas.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

using namespace quoravex;

// The editor with the mouse handling, its context menus caught as "menu:visible entries".
class Raton : public Editor {
protected:
    Raton() {
        for (const auto& [menu, nombre, entradas] :
             {std::tuple(&ticket, "mnuTicket", "mnuAnadirTextoFijo"),
              std::tuple(&objetos, "mnuObjetos", "mnuCopiarObjeto mnuSelPulsObjeto"),
              std::tuple(&linea, "mnuLinea", "mnuCopiarLinea mnuSelPulsLinea")}) {
            menu->setObjectName(QString::fromLatin1(nombre));
            for (const QString& e : QString::fromLatin1(entradas).split(QLatin1Char(' ')))
                menu->addAction(e)->setObjectName(e);
        }
        r.setMenus(&ticket, &objetos, &linea);
        r.abrirMenu = [this](QMenu& m, const QPoint&) {
            QStringList visibles;
            for (QAction* a : m.actions())
                if (a->isVisible()) visibles << a->objectName();
            abiertos << m.objectName() + QLatin1Char(':') + visibles.join(QLatin1Char(','));
        };
        r.pitido = [this] { ++pitidos; };
    }

    void pulsar(double x, double y, Qt::MouseButton b = Qt::LeftButton) { r.pulsar({{x, y}, b, b, {}}); }
    void mover(double x, double y, Qt::MouseButtons b = Qt::LeftButton) {
        r.mover({{x, y}, Qt::NoButton, b, {}});
    }
    void soltar(double x, double y, Qt::MouseButton b = Qt::LeftButton) {
        r.soltar({{x, y}, b, Qt::NoButton, {}});
    }
    QRect caja(int i) { return ws.item(i).geometry(); }

    QMenu ticket, objetos, linea;
    RatonCanvas r{d, ws, c};
    QStringList abiertos;
    int pitidos = 0;
};

TEST_F(Raton, DraggingKeepsObjectsWithinTheirLimits) {
    d.LargoTicket = 500;
    const struct {
        NuevoObjeto objeto;
        QPointF hasta; // where the pointer goes, having grabbed the object 1 dot inside its corner
        QPoint esperado;
    } casos[] = {
        {texto(1, 1, 382, 120), {-299, 41}, {-191, 40}}, {texto(1, 1, 382, 120), {-189, 41}, {-190, 40}},
        {texto(1, 1, 382, 120), {400, 2}, {193, 1}},     {texto(1, 100, 382, 120), {41, -300}, {40, -60}},
        {texto(1, 1, 382, 120), {41, 900}, {40, 440}},   {texto(1, 1, 100, 50), {101.5, 11.5}, {100, 10}},
        {lineaEn(50, 50, 100, 2), {-40, 51}, {1, 50}},   {lineaEn(50, 50, 2, 100), {51, 900}, {50, 498}},
        {lineaEn(50, 50, 100, 2), {900, 51}, {382, 50}}, {lineaEn(50, 50, 100, 2), {51, -5}, {50, 1}},
    };
    for (const auto& caso : casos) {
        const int i = poner(caso.objeto);
        const QRect antes = caja(i);
        d.TicketModificado = Falso;
        d.Objeto = 0;
        pulsar(antes.left() + 1, antes.top() + 1);
        mover(caso.hasta.x(), caso.hasta.y());
        soltar(caso.hasta.x(), caso.hasta.y());
        // The box and the record move together; a dragged line becomes the current object.
        const bool esLinea = caso.objeto.Tipo == TipoLinea;
        EXPECT_EQ(
            std::tuple(caja(i), QPoint(d.objeto(i).Left, d.objeto(i).Top), d.TicketModificado, int(d.Objeto)),
            std::tuple(QRect(caso.esperado, antes.size()), caso.esperado, Verdadero, esLinea ? i : 0))
            << caso.hasta.x() << "," << caso.hasta.y();
        BorrarObjeto(d, ws, i);
    }
    EXPECT_EQ(pitidos, 0);
}

TEST_F(Raton, DrawingALineFromItsAnchorButNotFromAnObject) {
    const int t = poner(texto(200, 200, 100, 50));
    const int l = c.AnadirLinea();
    const struct {
        char paso; // Press, Move, Release, or Hover with no button held
        double x, y;
        QRect linea;
    } pasos[] = {
        // Pressing on an object does not anchor the line, and dragging it only beeps.
        {'P', 210, 210, {-10, -10, 2, 2}},
        {'M', 260, 270, {-10, -10, 2, 2}},
        {'R', 260, 270, {-10, -10, 2, 2}},
        // The bare canvas anchors it; left of the anchor the line still grows to the right.
        {'P', 100, 50, {100, 50, 2, 2}},
        {'M', 40, 60, {100, 50, 60, 2}},
        {'M', 103, 150, {100, 50, 2, 100}},
        {'R', 250, 210, {100, 50, 2, 100}}, // released over the object: the line is finished
        {'H', 300, 60, {100, 50, 2, 100}},  // once finished, moving changes nothing
    };
    for (size_t k = 0; k < std::size(pasos); ++k) {
        const auto& p = pasos[k];
        if (p.paso == 'P') pulsar(p.x, p.y);
        if (p.paso == 'M' || p.paso == 'H') mover(p.x, p.y, p.paso == 'M' ? Qt::LeftButton : Qt::NoButton);
        if (p.paso == 'R') soltar(p.x, p.y);
        // Still drawing until the release that follows the anchoring press.
        EXPECT_EQ(std::pair(caja(l), c.DibujandoLinea), std::pair(p.linea, k < 6))
            << p.paso << " " << p.x << "," << p.y;
    }
    const ObjetoTicket& o = d.objeto(l);
    EXPECT_EQ(std::tuple(QRect(o.Left, o.Top, o.Width, o.Height), QPoint(o.LineaX, o.LineaY),
                         c.DibujandoLinea, pitidos, caja(t)),
              std::tuple(QRect(100, 50, 2, 100), QPoint(100, 50), false, 1, QRect(200, 200, 100, 50)));
    EXPECT_EQ(ws.item(l).point(1, 99), 0);

    // Lengthening a line follows the pointer with no button held.
    d.Objeto = static_cast<int16_t>(l);
    c.ModificarFinalLinea();
    mover(110, 250.5, Qt::NoButton); // 200.5 -> 200
    pulsar(110, 250);
    soltar(110, 250);
    EXPECT_EQ(std::tuple(caja(l), d.objeto(l).Height, c.AlargandoLinea),
              std::tuple(QRect(100, 50, 2, 200), int16_t(200), false));
}

TEST_F(Raton, ContextMenusFitTheObject) {
    const int f = poner(texto(1, 1, 100, 40, TipoFecha)), t = poner(texto(1, 100, 100, 40)),
              l = poner(lineaEn(1, 200, 100, 2));
    const struct {
        int pulsadores;
        int y;
        const char* menu;
        int actual;
    } casos[] = {
        {0, 5, "mnuObjetos:", f},
        {0, 105, "mnuObjetos:mnuCopiarObjeto", t},
        {0, 200, "mnuLinea:mnuCopiarLinea", l},
        {0, 300, "mnuTicket:mnuAnadirTextoFijo", l},
        {4, 5, "mnuObjetos:", f},
        {4, 105, "mnuObjetos:mnuCopiarObjeto,mnuSelPulsObjeto", t},
        {4, 201, "mnuLinea:mnuCopiarLinea,mnuSelPulsLinea", l},
    };
    for (const auto& caso : casos) {
        d.NumPulsadores = static_cast<int16_t>(caso.pulsadores);
        abiertos.clear();
        pulsar(5, caso.y, Qt::RightButton);
        soltar(5, caso.y, Qt::RightButton);
        EXPECT_EQ(std::pair(abiertos, int(d.Objeto)),
                  std::pair(QStringList{QString::fromLatin1(caso.menu)}, caso.actual));
    }
    // The topmost box wins where boxes overlap.
    const int encima = poner(texto(50, 120, 100, 40));
    EXPECT_EQ(std::tuple(r.objetoEn({60, 130}), r.objetoEn({20, 130}), r.objetoEn({20, 160})),
              std::tuple(encima, t, 0));
}

TEST_F(Raton, DoubleClickModifiesTheObjectUnderThePointer) {
    const int t = poner(texto(10, 10, 100, 40));
    QList<int> editados;
    responder = [&](QDialog& dlg) {
        editados << d.Objeto;
        static_cast<FrmGetFont&>(dlg).cmdCancel_Click();
        return int(QDialog::Rejected);
    };
    d.TicketModificado = Falso;
    for (const int x : {20, 300}) {
        r.dobleClic({QPointF(x, x), Qt::LeftButton, Qt::LeftButton, {}});
        soltar(x, x);
    }
    EXPECT_EQ(std::tuple(editados, d.enUso(t), d.TicketModificado),
              std::tuple(QList<int>{t}, true, Verdadero));
}

// The canvas widget scales what it shows; gestures land on the same dots at any zoom.
TEST_F(Raton, ZoomedDragGivesTheSameRecordAndControlWheelStepsTheZoom) {
    CanvasTicket canvas(ws);
    QObject::connect(&canvas, &CanvasTicket::ratonPulsado, &r, &RatonCanvas::pulsar);
    QObject::connect(&canvas, &CanvasTicket::ratonMovido, &r, &RatonCanvas::mover);
    QObject::connect(&canvas, &CanvasTicket::ratonSoltado, &r, &RatonCanvas::soltar);
    for (const double zoom : {1.0, 3.0, 2.0}) {
        canvas.setZoom(zoom);
        EXPECT_EQ(canvas.size(), QSize(qRound(385 * zoom), qRound(501 * zoom)));
        const int i = poner(texto(20, 30, 100, 40));
        auto en = [&](int x, int y) { return QPoint(qRound(x * zoom), qRound(y * zoom)); };
        QTest::mousePress(&canvas, Qt::LeftButton, {}, en(25, 35));
        QTest::mouseMove(&canvas, en(80, 90));
        QTest::mouseMove(&canvas, en(147, 212));
        QTest::mouseRelease(&canvas, Qt::LeftButton, {}, en(147, 212));
        const ObjetoTicket& o = d.objeto(i);
        EXPECT_EQ(QRect(o.Left, o.Top, o.Width, o.Height), QRect(142, 207, 100, 40)) << zoom;
        BorrarObjeto(d, ws, i);
    }

    canvas.setZoom(1.0);
    QList<double> avisos;
    QObject::connect(&canvas, &CanvasTicket::zoomCambiado, [&](double z) { avisos << z; });
    auto rueda = [&](int delta, Qt::KeyboardModifiers mods) {
        QWheelEvent e(QPointF(10, 10), canvas.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&canvas, &e);
    };
    rueda(120, Qt::ControlModifier);
    rueda(120, Qt::ControlModifier);
    rueda(120, Qt::NoModifier); // plain wheel scrolls, does not zoom
    EXPECT_EQ(canvas.aCanvasF(QPointF(30, 45)), QPointF(10, 15));
    for (int k = 0; k < 5; ++k)
        rueda(-120, Qt::ControlModifier);
    EXPECT_EQ(avisos, (QList<double>{2.0, 3.0, 2.0, 1.0}));
}

// Released 3 dots off centre, an object ends where the centre command puts it; with Alt held
// it ends where it was released.
TEST_F(Raton, DraggingSnapsToTheCentreLineLikeTheCentreCommandUnlessAltIsHeld) {
    QList<QList<Guia>> avisos;
    QObject::connect(&r, &RatonCanvas::guiasCambiadas, [&](const QList<Guia>& g) { avisos << g; });
    const struct {
        int ancho;
        int desvio; // from the centred left, where the pointer leaves the object
        Qt::KeyboardModifiers teclas;
        int esperado; // from the centred left
    } casos[] = {
        {100, 3, {}, 0},
        {100, -3, {}, 0},
        {101, 3, {}, 0},
        {101, -3, {}, 0},
        {103, 3, {}, 0},
        {103, -3, {}, 0},
        {57, 2, {}, 0},
        {101, 5, {}, 5},
        {101, 3, Qt::AltModifier, 3},
        {103, -2, Qt::AltModifier, -2},
    };
    for (const auto& caso : casos) {
        const int j = poner(texto(10, 400, caso.ancho, 40));
        d.Objeto = static_cast<int16_t>(j);
        c.CentrarHorizontal();
        const int centrado = caja(j).left();
        BorrarObjeto(d, ws, j);

        const int i = poner(texto(10, 200, caso.ancho, 40));
        avisos.clear();
        pulsar(11, 201);
        r.mover({{centrado + caso.desvio + 1.0, 201}, Qt::NoButton, Qt::LeftButton, {}, caso.teclas});
        const QList<QList<Guia>> durante = avisos;
        soltar(centrado + caso.desvio + 1, 201);
        const bool imantado = caso.esperado == 0;
        EXPECT_EQ(std::tuple(caja(i).topLeft(), int(d.objeto(i).Left), durante, avisos.size()),
                  std::tuple(QPoint(centrado + caso.esperado, 200), centrado + caso.esperado,
                             imantado ? QList<QList<Guia>>{{{Qt::Vertical, 192}}} : QList<QList<Guia>>{},
                             imantado ? 2 : 0))
            << caso.ancho << " " << caso.desvio;
        if (imantado) {
            EXPECT_EQ(avisos.last(), QList<Guia>{});
        }
        BorrarObjeto(d, ws, i);
    }
}

TEST_F(Raton, SnappingKeepsTheDragLimitsAndTheArrowKeysDoNotSnap) {
    const struct {
        NuevoObjeto objeto, otro;
        double hastaX; // the object is grabbed 1 dot inside its corner and dragged sideways
        int esperado;
    } casos[] = {
        // The other box's left edge is 3 dots beyond the limit (384 - 100 / 2) or in reach inside it.
        {texto(200, 300, 100, 40), texto(337, 100, 40, 20), 337, 334},
        {texto(200, 300, 100, 40), texto(332, 100, 40, 20), 336, 332},
        // A line's corner stays at 382 at most, even for the other box's right edge at 384.
        {lineaEn(300, 50, 60, 2), texto(344, 200, 40, 20), 385, 382},
    };
    for (const auto& caso : casos) {
        const int i = poner(caso.objeto), otro = poner(caso.otro);
        const QRect antes = caja(i);
        pulsar(antes.left() + 1, antes.top() + 1);
        mover(caso.hastaX, antes.top() + 1);
        soltar(caso.hastaX, antes.top() + 1);
        EXPECT_EQ(std::pair(caja(i), int(d.objeto(i).Left)),
                  std::pair(QRect(QPoint(caso.esperado, antes.top()), antes.size()), caso.esperado))
            << caso.hastaX;
        BorrarObjeto(d, ws, otro);
        BorrarObjeto(d, ws, i);
    }

    // One dot at a time through the centred position, with no guides.
    int avisos = 0;
    QObject::connect(&r, &RatonCanvas::guiasCambiadas, [&] { ++avisos; });
    const int i = poner(texto(140, 10, 100, 40));
    d.Objeto = static_cast<int16_t>(i);
    QList<int> lefts;
    for (int k = 0; k < 3; ++k) {
        r.moverConTeclado(1, 0);
        lefts << d.objeto(i).Left;
    }
    EXPECT_EQ(std::pair(lefts, avisos), std::pair(QList<int>{141, 142, 143}, 0));
}

// The canvas shows the guides of a drag over the boxes, one screen pixel wide at any zoom.
TEST_F(Raton, TheCanvasDrawsTheGuidesUntilTheButtonIsReleased) {
    CanvasTicket canvas(ws);
    QObject::connect(&canvas, &CanvasTicket::ratonPulsado, &r, &RatonCanvas::pulsar);
    QObject::connect(&canvas, &CanvasTicket::ratonMovido, &r, &RatonCanvas::mover);
    QObject::connect(&canvas, &CanvasTicket::ratonSoltado, &r, &RatonCanvas::soltar);
    QObject::connect(&r, &RatonCanvas::guiasCambiadas, &canvas, &CanvasTicket::setGuias);
    canvas.setZoom(2.0);
    const int i = poner(texto(10, 200, 100, 40));
    auto magenta = [&] {
        // The columns drawn in magenta along a row above the box.
        const QImage img = canvas.grab().toImage();
        QList<int> columnas;
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, 20) == QColor(255, 0, 255)) columnas << x;
        return columnas;
    };
    auto moverCon = [&](Qt::KeyboardModifiers teclas) {
        QMouseEvent e(QEvent::MouseMove, QPointF(282, 402), canvas.mapToGlobal(QPointF(282, 402)),
                      Qt::NoButton, Qt::LeftButton, teclas);
        QCoreApplication::sendEvent(&canvas, &e);
        return std::tuple(caja(i).left(), canvas.guias().size(), magenta());
    };
    QTest::mousePress(&canvas, Qt::LeftButton, {}, QPoint(22, 402));
    // The pointer leaves the box 2 dots left of centred: it snaps there unless Alt is held.
    EXPECT_EQ(moverCon(Qt::NoModifier), std::tuple(142, 1, QList<int>{384}));
    EXPECT_EQ(moverCon(Qt::AltModifier), std::tuple(140, 0, QList<int>{}));
    EXPECT_EQ(moverCon(Qt::NoModifier), std::tuple(142, 1, QList<int>{384}));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, QPoint(282, 402));
    EXPECT_EQ(std::tuple(int(d.objeto(i).Left), canvas.guias().size(), magenta()),
              std::tuple(142, 0, QList<int>{}));
}
