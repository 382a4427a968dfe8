#pragma once

#include "Imanes.h"

#include <QList>
#include <QPointF>
#include <QWidget>
#include <array>
#include <functional>

namespace quoravex {

class Workspace;

// A mouse event on the canvas, its position in canvas pixels (printer dots).
struct EventoRaton {
    QPointF pos;
    Qt::MouseButton boton = Qt::NoButton;                 // the button pressed or released
    Qt::MouseButtons botones;                             // the buttons held after the event
    QPoint global;                                        // screen position, for context menus
    Qt::KeyboardModifiers modificadores = Qt::NoModifier; // Alt drags without snapping
};

// Displays the canvas surface and the object boxes in their stacking order, and reports
// mouse events in canvas pixels. It holds no design state: zoom only scales what is shown.
class CanvasTicket : public QWidget {
    Q_OBJECT
public:
    explicit CanvasTicket(Workspace& ws, QWidget* parent = nullptr);

    // The zoom levels offered by the mouse wheel and the zoom menu.
    static constexpr std::array<double, 4> NivelesZoom = {1.0, 2.0, 3.0, 4.0};

    double zoom() const { return mZoom; }
    void setZoom(double zoom);
    // One level up or down; stays at the ends.
    void acercar();
    void alejar();
    // Follows the canvas surface's size (385 x length + 1, times the zoom).
    void ajustarTamano();

    // A widget position in canvas pixels (printer dots).
    QPoint aCanvas(const QPoint& pos) const;
    QPointF aCanvasF(const QPointF& pos) const { return pos / mZoom; }

    // Snapping guides drawn over the boxes; an empty list takes them away.
    void setGuias(const QList<Guia>& guias);
    const QList<Guia>& guias() const { return mGuias; }

    // The boxes of the selected objects, asked for at every repaint; each gets a frame.
    std::function<QList<QRect>()> cajasSeleccionadas;
    // The rubber band being drawn, in canvas pixels; an empty rectangle takes it away.
    void setBanda(const QRect& banda);
    const QRect& banda() const { return mBanda; }
    // A grid of lines every `paso` dots, when visible.
    void setCuadricula(bool visible, int paso);
    bool cuadriculaVisible() const { return mCuadricula; }
    int pasoCuadricula() const { return mPaso; }

    // What the screen shows over the ticket (guides, grid, frames, band) is drawn only here,
    // never into the surfaces that are printed.

signals:
    void ratonPulsado(const quoravex::EventoRaton& e);
    void ratonMovido(const quoravex::EventoRaton& e);
    void ratonSoltado(const quoravex::EventoRaton& e);
    void ratonDobleClic(const quoravex::EventoRaton& e);
    void zoomCambiado(double zoom);
    // The pointer left the canvas.
    void ratonFuera();
    // An arrow key: move the current object by (dx, dy) dots.
    void teclaMover(int dx, int dy);
    // Esc: the selection is cleared.
    void teclaEscape();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    EventoRaton evento(const QMouseEvent* e) const;

    Workspace& mWs;
    double mZoom = 1.0;
    QList<Guia> mGuias;
    QRect mBanda;
    bool mCuadricula = false;
    int mPaso = 8;
};

} // namespace quoravex
