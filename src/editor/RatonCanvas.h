#pragma once

#include "CanvasTicket.h"
#include "Imanes.h"

#include <QObject>
#include <functional>
#include <utility>

class QMenu;

namespace quoravex {

class ComandosObjeto;
class Design;
class Seleccion;
class Workspace;

// The mouse on the canvas and on the object boxes: dragging objects within their limits,
// drawing and lengthening lines, the context menus and double click to modify. Works in
// canvas pixels, so the zoom of the display changes nothing here.
//
// A dragged object snaps to the strip's centre line and to the other boxes' edges and centres
// unless Alt is held; the guides it lines up with are reported until the button is released.
//
// With a selection, a click selects one object (Ctrl or Shift adds or takes it out), a drag
// from the bare canvas draws a rubber band, and a drag or an arrow key moves every selected
// object by the same amount, each within its own limits, snapping the selection's bounding
// box as a whole; with the grid on, an axis that no guide took lands on the grid.
//
// Like the classic picture controls, whatever is under the pointer when a button goes down
// (the bare canvas or an object) keeps the mouse until every button is up: moves and the
// release go to it even when the pointer leaves it.
class RatonCanvas : public QObject {
    Q_OBJECT
public:
    RatonCanvas(Design& d, Workspace& ws, ComandosObjeto& comandos, QObject* parent = nullptr);

    // "Menu &Ticket" for the bare canvas, "Menu Objetos" and "Menu Linea" for objects.
    void setMenus(QMenu* ticket, QMenu* objetos, QMenu* linea);
    // Opens a context menu at a screen position; QMenu::popup unless replaced.
    std::function<void(QMenu&, const QPoint&)> abrirMenu;
    // The system beep, when an object cannot be dragged.
    std::function<void()> pitido;

    // The selection the gestures act on; without one, they act on the object under the pointer.
    void setSeleccion(Seleccion* seleccion) { mSel = seleccion; }
    // Drags land on a grid of `paso` dots (Alt drags freely).
    void setAjusteCuadricula(bool activo, int paso) {
        mAjustarCuadricula = activo;
        mPaso = paso;
    }

    // Grab offset inside the object where the left button went down.
    float AgarreX = 0;
    float AgarreY = 0;

    // The topmost object whose box is under a canvas position, 0 for the bare canvas.
    int objetoEn(const QPointF& pos) const;

    void pulsar(const EventoRaton& e);
    void mover(const EventoRaton& e);
    void soltar(const EventoRaton& e);
    void dobleClic(const EventoRaton& e);
    // Moves the selected objects (or the current one) by (dx, dy) dots, within the same
    // limits as a drag.
    void moverConTeclado(int dx, int dy);
    // The objects a drag of object i or an arrow key moves.
    QList<int> grupo(int i) const;

signals:
    // The snapping guides to show on the canvas (CanvasTicket::setGuias); empty when they go away.
    void guiasCambiadas(const QList<quoravex::Guia>& guias);
    // The rubber band to show (CanvasTicket::setBanda); empty when it goes away.
    void bandaCambiada(const QRect& banda);

private:
    void canvasMover(const QPointF& pos);
    void canvasIzquierdoAbajo(const QPointF& pos);
    void canvasIzquierdoArriba();
    void objetoIzquierdoAbajo(int i, const QPointF& dentro, Qt::KeyboardModifiers modificadores);
    void terminarBanda(const QPointF& pos, Qt::KeyboardModifiers modificadores);
    void objetoArrastrar(int i, const QPointF& dentro, bool libre);
    // The lefts and tops a drag may give object i.
    std::pair<Intervalo, Intervalo> limites(int i) const;
    // Puts object i at (left, top) within the drag limits and takes it into its record.
    void moverObjeto(int i, int left, int top);
    void mostrarGuias(const QList<Guia>& guias);
    void objetoDerechoArriba(int i, const QPoint& global);
    void prepararMenus(int i);
    bool lineaActiva(int& i);
    void mostrar(QMenu* menu, const QPoint& global);

    Design& mDiseno;
    Workspace& mWs;
    ComandosObjeto& mComandos;
    QMenu* mMenuTicket = nullptr;
    QMenu* mMenuObjetos = nullptr;
    QMenu* mMenuLinea = nullptr;
    int mDestino = -1; // -1: no button held; 0: the canvas holds the mouse; i: object i
    bool mPitado = false;
    QList<Guia> mGuias;
    Seleccion* mSel = nullptr;
    bool mAjustarCuadricula = false;
    int mPaso = 8;
    bool mBanda = false;  // a rubber band is being drawn from mInicioBanda
    QPointF mInicioBanda;
    bool mSinArrastre = false; // the click took the object out of the selection: no drag
};

} // namespace quoravex
