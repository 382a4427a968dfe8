#include "RatonCanvas.h"

#include "ComandosObjeto.h"

#include "document/Design.h"
#include "document/Numeros.h"
#include "render/Workspace.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <algorithm>
#include <cmath>

namespace quoravex {

namespace {

constexpr int AnchoPapel = 384; // printable width in dots

int redondear(double v) {
    return RedondeoPar(v).value_or(0);
}

int16_t redondear16(double v) {
    return EnteroDe16(std::clamp(v, -32768.0, 32767.0)).value_or(0);
}

QAction* accionDe(QMenu* menu, const char* nombre) {
    return menu ? menu->findChild<QAction*>(QString::fromLatin1(nombre)) : nullptr;
}

} // namespace

RatonCanvas::RatonCanvas(Design& d, Workspace& ws, ComandosObjeto& comandos, QObject* parent)
    : QObject(parent), mDiseno(d), mWs(ws), mComandos(comandos) {
    abrirMenu = [](QMenu& menu, const QPoint& global) { menu.popup(global); };
    pitido = [] { QApplication::beep(); };
}

void RatonCanvas::setMenus(QMenu* ticket, QMenu* objetos, QMenu* linea) {
    mMenuTicket = ticket;
    mMenuObjetos = objetos;
    mMenuLinea = linea;
}

int RatonCanvas::objetoEn(const QPointF& pos) const {
    const QPoint p(static_cast<int>(std::floor(pos.x())), static_cast<int>(std::floor(pos.y())));
    const std::vector<int>& pila = mWs.pila();
    for (auto it = pila.rbegin(); it != pila.rend(); ++it) {
        const int i = *it;
        if (!mDiseno.enUso(i)) continue;
        const Surface& caja = mWs.item(i);
        if (caja.visible() && caja.geometry().contains(p)) return i;
    }
    return 0;
}

void RatonCanvas::pulsar(const EventoRaton& e) {
    if (mDestino < 0) {
        mDestino = objetoEn(e.pos);
        mPitado = false;
    }
    if (e.boton != Qt::LeftButton) return;
    if (mDestino == 0) {
        canvasIzquierdoAbajo(e.pos);
    } else {
        const Surface& caja = mWs.item(mDestino);
        objetoIzquierdoAbajo(mDestino, e.pos - QPointF(caja.left(), caja.top()));
    }
}

void RatonCanvas::mover(const EventoRaton& e) {
    // A release lost to a modal dialog must not leave the mouse held.
    if (e.botones == Qt::NoButton) {
        mDestino = -1;
        mostrarGuias({});
    }
    const int destino = mDestino >= 0 ? mDestino : objetoEn(e.pos);
    if (destino == 0) {
        canvasMover(e.pos);
    } else if (e.botones & Qt::LeftButton) {
        const Surface& caja = mWs.item(destino);
        objetoArrastrar(destino, e.pos - QPointF(caja.left(), caja.top()),
                        e.modificadores.testFlag(Qt::AltModifier));
    }
}

void RatonCanvas::soltar(const EventoRaton& e) {
    const int destino = mDestino >= 0 ? mDestino : objetoEn(e.pos);
    if (e.botones == Qt::NoButton) mDestino = -1;
    if (!(e.botones & Qt::LeftButton)) mostrarGuias({});
    if (destino == 0) {
        if (e.boton == Qt::LeftButton && (mComandos.DibujandoLinea || mComandos.AlargandoLinea))
            canvasIzquierdoArriba();
        else if (e.boton == Qt::RightButton)
            mostrar(mMenuTicket, e.global);
    } else if (e.boton == Qt::RightButton) {
        objetoDerechoArriba(destino, e.global);
    }
}

void RatonCanvas::dobleClic(const EventoRaton& e) {
    if (mDestino < 0) mDestino = objetoEn(e.pos);
    const int i = mDestino;
    if (e.boton != Qt::LeftButton || i <= 0) return;
    mComandos.Modificar(i);
}

bool RatonCanvas::lineaActiva(int& i) {
    i = mComandos.lineaEnCurso();
    if (mDiseno.enUso(i) && mDiseno.objeto(i).Tipo == TipoLinea) return true;
    // The line went away meanwhile (deleted, design closed): nothing is drawn any more.
    mComandos.terminarModosLinea();
    return false;
}

void RatonCanvas::canvasIzquierdoAbajo(const QPointF& pos) {
    int i = 0;
    if (!mComandos.DibujandoLinea || !lineaActiva(i)) return;
    ObjetoTicket& o = mDiseno.objeto(i);
    mDiseno.Objeto = static_cast<int16_t>(i);
    o.LineaX = redondear16(pos.x());
    o.LineaY = redondear16(pos.y());
    Surface& caja = mWs.item(i);
    caja.setGeometry(o.LineaX, o.LineaY, o.Width, o.Height);
    caja.setBackColor(ColorNegro);
    caja.clear();
    caja.refresh();
}

void RatonCanvas::canvasMover(const QPointF& pos) {
    int i = 0;
    if (!(mComandos.DibujandoLinea || mComandos.AlargandoLinea) || !lineaActiva(i)) return;
    ObjetoTicket& o = mDiseno.objeto(i);
    Surface& caja = mWs.item(i);
    // The line grows right of or below its anchor, whichever side the pointer is on.
    const double dx = std::fabs(pos.x() - caja.left());
    const double dy = std::fabs(pos.y() - caja.top());
    if (dx > dy) {
        o.Width = redondear(dx);
        caja.resize(o.Width, o.Grosor);
    } else {
        o.Height = redondear(dy);
        caja.resize(o.Grosor, o.Height);
    }
    caja.clear();
    caja.refresh();
    mDiseno.TicketModificado = Verdadero;
}

void RatonCanvas::canvasIzquierdoArriba() {
    int i = 0;
    const bool hayLinea = lineaActiva(i);
    mComandos.terminarModosLinea();
    if (!hayLinea) return;
    ObjetoTicket& o = mDiseno.objeto(i);
    const Surface& caja = mWs.item(i);
    o.Height = caja.height();
    o.Width = caja.width();
    o.Left = caja.left();
    o.Top = caja.top();
    o.LineaX = redondear16(o.Left);
    o.LineaY = redondear16(o.Top);
    mDiseno.TicketModificado = Verdadero;
}

void RatonCanvas::objetoIzquierdoAbajo(int i, const QPointF& dentro) {
    AgarreX = static_cast<float>(dentro.x());
    AgarreY = static_cast<float>(dentro.y());
    prepararMenus(i);
}

void RatonCanvas::objetoArrastrar(int i, const QPointF& dentro, bool libre) {
    if (mComandos.DibujandoLinea) {
        // One beep per gesture, not one per mouse move.
        if (!mPitado && pitido) pitido();
        mPitado = true;
        return;
    }
    const Surface& caja = mWs.item(i);
    int left = redondear(caja.left() + dentro.x() - AgarreX);
    int top = redondear(caja.top() + dentro.y() - AgarreY);
    QList<Guia> guias;
    if (!libre) {
        QList<QRect> otras;
        for (int j : mWs.pila())
            if (j != i && mDiseno.enUso(j) && mWs.item(j).visible()) otras << mWs.item(j).geometry();
        const auto [rangoLeft, rangoTop] = limites(i);
        const Imantado imantado = Imantar(QRect(left, top, caja.width(), caja.height()), otras, AnchoPapel,
                                          DistanciaIman, rangoLeft, rangoTop);
        left = imantado.left;
        top = imantado.top;
        guias = imantado.guias;
    }
    moverObjeto(i, left, top);
    mostrarGuias(guias);
}

void RatonCanvas::moverConTeclado(int dx, int dy) {
    const int i = mDiseno.Objeto;
    if (!mDiseno.enUso(i) || mComandos.DibujandoLinea || mDestino >= 0) return;
    const Surface& caja = mWs.item(i);
    moverObjeto(i, caja.left() + dx, caja.top() + dy);
}

std::pair<Intervalo, Intervalo> RatonCanvas::limites(int i) const {
    const int largo = mDiseno.LargoTicket;
    // A line's corner stays on the ticket.
    if (mDiseno.objeto(i).Tipo == TipoLinea) return {{1, 382}, {1, largo - 2}};
    // At most half of an object may leave the ticket on each side. A half-dot limit rounds to
    // even, and the rounded value is where a drag beyond it stops.
    const Surface& caja = mWs.item(i);
    const double ancho = caja.width() / 2.0;
    const double alto = caja.height() / 2.0;
    return {{redondear(-ancho), redondear(AnchoPapel - ancho)}, {redondear(-alto), redondear(largo - alto)}};
}

void RatonCanvas::moverObjeto(int i, int left, int top) {
    Surface& caja = mWs.item(i);
    // A dragged line becomes the current object.
    if (mDiseno.objeto(i).Tipo == TipoLinea) mDiseno.Objeto = static_cast<int16_t>(i);
    const auto [rangoLeft, rangoTop] = limites(i);
    caja.move(rangoLeft.ajustar(left), rangoTop.ajustar(top));
    mComandos.CopiarGeometriaItem(i);
    mDiseno.TicketModificado = Verdadero;
    caja.refresh();
}

void RatonCanvas::mostrarGuias(const QList<Guia>& guias) {
    if (guias == mGuias) return;
    mGuias = guias;
    emit guiasCambiadas(mGuias);
}

void RatonCanvas::objetoDerechoArriba(int i, const QPoint& global) {
    mDiseno.Objeto = static_cast<int16_t>(i);
    // Prepared here too, so a right click alone shows the entries that fit this object.
    prepararMenus(i);
    if (mDiseno.objeto(i).Tipo == TipoLinea) {
        mostrar(mMenuLinea, global);
        return;
    }
    // A design holds a single field of each variable kind: those are not copied.
    if (QAction* copiar = accionDe(mMenuObjetos, "mnuCopiarObjeto"))
        copiar->setVisible(!mDiseno.objeto(i).esCampoVariable());
    mostrar(mMenuObjetos, global);
}

void RatonCanvas::prepararMenus(int i) {
    const bool pulsadores = mDiseno.NumPulsadores != 0;
    if (QAction* a = accionDe(mMenuObjetos, "mnuSelPulsObjeto"))
        a->setVisible(pulsadores && !mDiseno.objeto(i).esCampoVariable());
    if (QAction* a = accionDe(mMenuLinea, "mnuSelPulsLinea")) a->setVisible(pulsadores);
}

void RatonCanvas::mostrar(QMenu* menu, const QPoint& global) {
    if (menu && abrirMenu) abrirMenu(*menu, global);
}

} // namespace quoravex
