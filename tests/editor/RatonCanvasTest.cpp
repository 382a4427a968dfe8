#include "Editor.h"

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
        QObject::connect(&r, &RatonCanvas::guiasCambiadas, [this](const QList<Guia>& g) { avisos << g; });
    }

    void pulsar(double x, double y, Qt::MouseButton b = Qt::LeftButton) { r.pulsar({{x, y}, b, b, {}}); }
    void mover(double x, double y, Qt::MouseButtons b = Qt::LeftButton, Qt::KeyboardModifiers m = {}) {
        r.mover({{x, y}, Qt::NoButton, b, {}, m});
    }
    void soltar(double x, double y, Qt::MouseButton b = Qt::LeftButton) {
        r.soltar({{x, y}, b, Qt::NoButton, {}});
    }
    QRect caja(int i) { return ws.item(i).geometry(); }

    QMenu ticket, objetos, linea;
    RatonCanvas r{d, ws, c};
    QStringList abiertos;
    QList<QList<Guia>> avisos;
    int pitidos = 0;
};

// Grabbed 1 dot inside its corner and dragged, an object stays within its limits (at most half of
// it off the ticket, a line's corner on it) and snaps to the centre line and to the other box's
// edges within 4 dots, where the centre command would put it, unless Alt is held.
TEST_F(Raton, DraggingKeepsObjectsWithinTheirLimitsAndSnaps) {
    d.LargoTicket = 500;
    const NuevoObjeto ninguno = texto(0, 0, 0, 0);
    const struct {
        NuevoObjeto objeto, otro;
        QPointF hasta;
        QPoint esperado;
        Qt::KeyboardModifiers teclas = {};
    } casos[] = {
        {texto(1, 100, 382, 120), ninguno, {-299, -300}, {-191, -60}},
        {texto(1, 1, 382, 120), ninguno, {400, 900}, {193, 440}},
        {texto(1, 1, 100, 50), ninguno, {101.5, 11.5}, {100, 10}},
        {lineaEn(50, 50, 100, 2), ninguno, {-40, -5}, {1, 1}},
        {lineaEn(50, 50, 2, 100), ninguno, {900, 900}, {382, 498}},
        {texto(10, 200, 101, 40), ninguno, {146, 201}, {142, 200}}, // left 145 -> centred 141.5 -> 142
        {texto(10, 200, 101, 40), ninguno, {148, 201}, {147, 200}}, // 5 dots off: no snap
        {texto(10, 200, 101, 40), ninguno, {146, 201}, {145, 200}, Qt::AltModifier},
        // The other box's left edge is 3 dots beyond the limit (384 - 100 / 2) or in reach inside it.
        {texto(200, 300, 100, 40), texto(337, 100, 40, 20), {337, 301}, {334, 300}},
        {texto(200, 300, 100, 40), texto(332, 100, 40, 20), {336, 301}, {332, 300}},
        // A line's corner stays at 382 at most, even for the other box's right edge at 384.
        {lineaEn(300, 50, 60, 2), texto(344, 200, 40, 20), {385, 51}, {382, 50}},
    };
    for (const auto& caso : casos) {
        const int i = poner(caso.objeto), otro = caso.otro.Width ? poner(caso.otro) : 0;
        const QRect antes = caja(i);
        d.TicketModificado = Falso;
        d.Objeto = 0;
        pulsar(antes.left() + 1, antes.top() + 1);
        mover(caso.hasta.x(), caso.hasta.y(), Qt::LeftButton, caso.teclas);
        soltar(caso.hasta.x(), caso.hasta.y());
        // The box and the record move together; a dragged line becomes the current object.
        const bool esLinea = caso.objeto.Tipo == TipoLinea;
        EXPECT_EQ(
            std::tuple(caja(i), QPoint(d.objeto(i).Left, d.objeto(i).Top), d.TicketModificado, int(d.Objeto)),
            std::tuple(QRect(caso.esperado, antes.size()), caso.esperado, Verdadero, esLinea ? i : 0))
            << caso.hasta.x() << "," << caso.hasta.y();
        BorrarObjeto(d, ws, otro);
        BorrarObjeto(d, ws, i);
    }
    EXPECT_EQ(pitidos, 0);

    // The arrow keys move one dot at a time through the centred position, with no guides.
    avisos.clear();
    d.Objeto = static_cast<int16_t>(poner(texto(140, 10, 100, 40)));
    QList<int> lefts;
    for (int k = 0; k < 3; ++k) {
        r.moverConTeclado(1, 0);
        lefts << d.objeto(d.Objeto).Left;
    }
    EXPECT_EQ(std::pair(lefts, int(avisos.size())), std::pair(QList<int>{141, 142, 143}, 0));
}

TEST_F(Raton, DrawingALineFromItsAnchorButNotFromAnObject) {
    const int t = poner(texto(200, 200, 100, 50));
    const int l = c.AnadirLinea();
    EXPECT_EQ(std::tuple(int(d.objeto(l).Grosor), d.objeto(l).Pendiente, c.lineaEnCurso()),
              std::tuple(2, Falso, l));
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
    // Deleting the line being drawn ends the drawing.
    d.Objeto = static_cast<int16_t>(c.AnadirLinea());
    c.Borrar();
    EXPECT_FALSE(d.enUso(l + 1) || c.DibujandoLinea);
}

// A right click opens the menu that fits the object under the pointer.
TEST_F(Raton, ContextMenusAndDoubleClickFitTheObject) {
    const int f = poner(texto(1, 1, 100, 40, TipoFecha)), t = poner(texto(1, 100, 100, 40)),
              l = poner(lineaEn(1, 200, 100, 2));
    const struct {
        int pulsadores;
        int y;
        const char* menu;
        int actual;
    } casos[] = {
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
}

// At zoom 2 a drag lands on the same dots and its guide is drawn over the boxes, one screen pixel
// wide, until the button is released; Control and the wheel step the zoom, the plain wheel scrolls.
TEST_F(Raton, TheCanvasZoomsAndDrawsTheGuidesOfADrag) {
    // The canvas widget, its gestures going to the mouse handling and its guides coming back.
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
        return std::pair(caja(i).left(), magenta());
    };
    QTest::mousePress(&canvas, Qt::LeftButton, {}, QPoint(22, 402));
    // The pointer leaves the box 2 dots left of centred: it snaps there unless Alt is held.
    EXPECT_EQ(moverCon(Qt::AltModifier), std::pair(140, QList<int>{}));
    EXPECT_EQ(moverCon(Qt::NoModifier), std::pair(142, QList<int>{384}));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, QPoint(282, 402));
    EXPECT_EQ(std::pair(int(d.objeto(i).Left), magenta()), std::pair(142, QList<int>{}));

    QList<double> zooms;
    QObject::connect(&canvas, &CanvasTicket::zoomCambiado, [&](double z) { zooms << z; });
    for (const auto& [delta, mods] : {std::pair(120, Qt::ControlModifier), std::pair(120, Qt::NoModifier),
                                      std::pair(-120, Qt::ControlModifier), std::pair(-120, Qt::ControlModifier),
                                      std::pair(-120, Qt::ControlModifier)}) {
        QWheelEvent e(QPointF(10, 10), canvas.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&canvas, &e);
    }
    EXPECT_EQ(zooms, (QList<double>{3.0, 2.0, 1.0}));
}
