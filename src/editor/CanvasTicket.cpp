#include "CanvasTicket.h"

#include "render/Workspace.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace quoravex {

CanvasTicket::CanvasTicket(Workspace& ws, QWidget* parent) : QWidget(parent), mWs(ws) {
    setObjectName(QStringLiteral("PicTicket"));
    setFocusPolicy(Qt::StrongFocus); // a click gives the canvas the arrow keys
    connect(&mWs, &Workspace::cambiado, this, [this] {
        ajustarTamano();
        update();
    });
    // Line drawing follows the pointer with no button held.
    setMouseTracking(true);
    ajustarTamano();
}

void CanvasTicket::setZoom(double zoom) {
    const double nuevo = zoom > 0 ? zoom : 1.0;
    if (nuevo == mZoom) return;
    mZoom = nuevo;
    ajustarTamano();
    update();
    emit zoomCambiado(mZoom);
}

void CanvasTicket::acercar() {
    for (double z : NivelesZoom)
        if (z > mZoom) return setZoom(z);
}

void CanvasTicket::alejar() {
    for (auto it = NivelesZoom.rbegin(); it != NivelesZoom.rend(); ++it)
        if (*it < mZoom) return setZoom(*it);
}

void CanvasTicket::ajustarTamano() {
    const QSize s(static_cast<int>(std::lround(mWs.PicTicket.width() * mZoom)),
                  static_cast<int>(std::lround(mWs.PicTicket.height() * mZoom)));
    if (size() != s) setFixedSize(s);
}

QPoint CanvasTicket::aCanvas(const QPoint& pos) const {
    return QPoint(static_cast<int>(std::floor(pos.x() / mZoom)),
                  static_cast<int>(std::floor(pos.y() / mZoom)));
}

void CanvasTicket::setGuias(const QList<Guia>& guias) {
    if (guias == mGuias) return;
    mGuias = guias;
    update();
}

void CanvasTicket::setBanda(const QRect& banda) {
    if (banda == mBanda) return;
    mBanda = banda;
    update();
}

void CanvasTicket::setCuadricula(bool visible, int paso) {
    const int nuevo = std::max(paso, 2);
    if (visible == mCuadricula && nuevo == mPaso) return;
    mCuadricula = visible;
    mPaso = nuevo;
    update();
}

EventoRaton CanvasTicket::evento(const QMouseEvent* e) const {
    EventoRaton r;
    r.pos = aCanvasF(e->position());
    r.boton = e->button();
    r.botones = e->buttons();
    r.global = e->globalPosition().toPoint();
    r.modificadores = e->modifiers();
    return r;
}

void CanvasTicket::mousePressEvent(QMouseEvent* e) {
    emit ratonPulsado(evento(e));
}

void CanvasTicket::mouseMoveEvent(QMouseEvent* e) {
    emit ratonMovido(evento(e));
}

void CanvasTicket::mouseReleaseEvent(QMouseEvent* e) {
    emit ratonSoltado(evento(e));
}

void CanvasTicket::mouseDoubleClickEvent(QMouseEvent* e) {
    emit ratonDobleClic(evento(e));
}

void CanvasTicket::wheelEvent(QWheelEvent* e) {
    if (!(e->modifiers() & Qt::ControlModifier)) return QWidget::wheelEvent(e);
    if (e->angleDelta().y() > 0)
        acercar();
    else if (e->angleDelta().y() < 0)
        alejar();
    e->accept();
}

void CanvasTicket::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.scale(mZoom, mZoom);
    p.drawImage(0, 0, mWs.PicTicket.image());
    for (int i : mWs.pila()) {
        const Surface& s = mWs.item(i);
        if (!s.visible()) continue;
        p.drawImage(s.left(), s.top(), s.image());
        if (s.border()) {
            p.setPen(Qt::black);
            p.drawRect(s.geometry().adjusted(0, 0, -1, -1));
        }
    }
    // Everything below is one screen pixel wide at any zoom, in colours the printer has no
    // ink for.
    const double ancho = mWs.PicTicket.width(), alto = mWs.PicTicket.height();
    if (mCuadricula) {
        QPen rejilla(QColor(200, 215, 235), 1);
        rejilla.setCosmetic(true);
        p.setPen(rejilla);
        for (int x = mPaso; x < ancho; x += mPaso)
            p.drawLine(QLineF(x, 0, x, alto));
        for (int y = mPaso; y < alto; y += mPaso)
            p.drawLine(QLineF(0, y, ancho, y));
    }
    if (cajasSeleccionadas) {
        QPen marco(QColor(0, 120, 215), 1, Qt::DashLine);
        marco.setCosmetic(true);
        p.setPen(marco);
        p.setBrush(Qt::NoBrush);
        for (const QRect& r : cajasSeleccionadas())
            p.drawRect(QRectF(r).adjusted(-0.5, -0.5, 0.5, 0.5));
    }
    if (!mBanda.isEmpty()) {
        QPen banda(QColor(0, 120, 215), 1);
        banda.setCosmetic(true);
        p.setPen(banda);
        p.setBrush(QColor(0, 120, 215, 40));
        p.drawRect(mBanda);
        p.setBrush(Qt::NoBrush);
    }
    QPen guia(QColor(255, 0, 255), 1);
    guia.setCosmetic(true);
    p.setPen(guia);
    for (const Guia& g : mGuias) {
        if (g.orientacion == Qt::Vertical)
            p.drawLine(QLineF(g.pos, 0, g.pos, alto));
        else
            p.drawLine(QLineF(0, g.pos, ancho, g.pos));
    }
}

void CanvasTicket::keyPressEvent(QKeyEvent* e) {
    // Arrow keys nudge the current object by one dot, ten with Shift.
    const int paso = (e->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    switch (e->key()) {
    case Qt::Key_Left:
        emit teclaMover(-paso, 0);
        break;
    case Qt::Key_Right:
        emit teclaMover(paso, 0);
        break;
    case Qt::Key_Up:
        emit teclaMover(0, -paso);
        break;
    case Qt::Key_Down:
        emit teclaMover(0, paso);
        break;
    case Qt::Key_Escape:
        emit teclaEscape();
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
}

void CanvasTicket::leaveEvent(QEvent* e) {
    emit ratonFuera();
    QWidget::leaveEvent(e);
}

} // namespace quoravex
