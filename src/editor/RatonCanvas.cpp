#include "RatonCanvas.h"

#include "ComandosObjeto.h"
#include "Organizar.h"
#include "Seleccion.h"

#include "document/Design.h"
#include "document/Numeros.h"
#include "render/Workspace.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <algorithm>
#include <climits>
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
        if (mComandos.DibujandoLinea || mComandos.AlargandoLinea) {
            canvasIzquierdoAbajo(e.pos);
        } else if (mSel) {
            // A drag from the bare canvas draws a rubber band; a plain click clears the selection.
            mBanda = true;
            mInicioBanda = e.pos;
            if (!(e.modificadores & (Qt::ControlModifier | Qt::ShiftModifier))) mSel->vaciar();
        }
    } else {
        const Surface& caja = mWs.item(mDestino);
        objetoIzquierdoAbajo(mDestino, e.pos - QPointF(caja.left(), caja.top()), e.modificadores);
    }
}

namespace {

QRect Banda(const QPointF& a, const QPointF& b) {
    return QRectF(a, b).normalized().toAlignedRect();
}

} // namespace

void RatonCanvas::terminarBanda(const QPointF& pos, Qt::KeyboardModifiers modificadores) {
    mBanda = false;
    emit bandaCambiada({});
    const QRect r = Banda(mInicioBanda, pos);
    if (!mSel || r.width() < 1 || r.height() < 1) return;
    const QList<int> dentro = ObjetosEnRectangulo(mDiseno, mWs, r);
    if (modificadores & (Qt::ControlModifier | Qt::ShiftModifier))
        mSel->agregar(dentro);
    else
        mSel->poner(dentro);
    if (!dentro.isEmpty()) mDiseno.Objeto = static_cast<int16_t>(dentro.last());
}

void RatonCanvas::mover(const EventoRaton& e) {
    // A release lost to a modal dialog must not leave the mouse held.
    if (e.botones == Qt::NoButton) {
        mDestino = -1;
        mostrarGuias({});
        if (mBanda) {
            mBanda = false;
            emit bandaCambiada({});
        }
    }
    const int destino = mDestino >= 0 ? mDestino : objetoEn(e.pos);
    if (destino == 0) {
        if (mBanda && (e.botones & Qt::LeftButton)) emit bandaCambiada(Banda(mInicioBanda, e.pos));
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
        else if (e.boton == Qt::LeftButton && mBanda)
            terminarBanda(e.pos, e.modificadores);
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

void RatonCanvas::objetoIzquierdoAbajo(int i, const QPointF& dentro, Qt::KeyboardModifiers modificadores) {
    AgarreX = static_cast<float>(dentro.x());
    AgarreY = static_cast<float>(dentro.y());
    prepararMenus(i);
    mSinArrastre = false;
    if (!mSel || mComandos.DibujandoLinea) return;
    if (modificadores & (Qt::ControlModifier | Qt::ShiftModifier)) {
        mSel->alternar(i);
        mSinArrastre = !mSel->contiene(i);
        // Taken out, it hands the current object on to what stays selected.
        if (mSinArrastre && mDiseno.Objeto == i && !mSel->vacia())
            mDiseno.Objeto = static_cast<int16_t>(mSel->objetos().last());
    } else if (!mSel->contiene(i)) {
        mSel->poner({i});
    }
    // The object clicked becomes the current one, as a right click makes it.
    if (!mSinArrastre) mDiseno.Objeto = static_cast<int16_t>(i);
}

QList<int> RatonCanvas::grupo(int i) const {
    QList<int> r;
    if (mSel && mSel->contiene(i)) {
        for (int j : mSel->objetos())
            if (mDiseno.enUso(j)) r << j;
    }
    if (r.isEmpty() && mDiseno.enUso(i)) r << i;
    return r;
}

void RatonCanvas::objetoArrastrar(int i, const QPointF& dentro, bool libre) {
    if (mComandos.DibujandoLinea) {
        // One beep per gesture, not one per mouse move.
        if (!mPitado && pitido) pitido();
        mPitado = true;
        return;
    }
    if (mSinArrastre) return;
    const QList<int> movidos = grupo(i);
    const Surface& caja = mWs.item(i);
    const int dx = redondear(caja.left() + dentro.x() - AgarreX) - caja.left();
    const int dy = redondear(caja.top() + dentro.y() - AgarreY) - caja.top();
    // The bounding box moves as one; where it may go keeps every member within its limits.
    QList<QRect> cajas;
    for (int j : movidos)
        cajas << mWs.item(j).geometry();
    const QRect envolvente = Envolvente(cajas);
    Intervalo rangoLeft{INT_MIN / 2, INT_MAX / 2}, rangoTop{INT_MIN / 2, INT_MAX / 2};
    for (int j : movidos) {
        const QRect r = mWs.item(j).geometry();
        const auto [lefts, tops] = limites(j);
        rangoLeft.minimo = std::max(rangoLeft.minimo, lefts.minimo - (r.left() - envolvente.left()));
        rangoLeft.maximo = std::min(rangoLeft.maximo, lefts.maximo - (r.left() - envolvente.left()));
        rangoTop.minimo = std::max(rangoTop.minimo, tops.minimo - (r.top() - envolvente.top()));
        rangoTop.maximo = std::min(rangoTop.maximo, tops.maximo - (r.top() - envolvente.top()));
    }
    int left = envolvente.left() + dx;
    int top = envolvente.top() + dy;
    QList<Guia> guias;
    if (!libre) {
        QList<QRect> otras;
        for (int j : mWs.pila())
            if (!movidos.contains(j) && mDiseno.enUso(j) && mWs.item(j).visible()) otras << mWs.item(j).geometry();
        const Imantado imantado = Imantar(QRect(QPoint(left, top), envolvente.size()), otras, AnchoPapel,
                                          DistanciaIman, rangoLeft, rangoTop);
        if (mAjustarCuadricula) {
            const auto guiaEn = [&](Qt::Orientation o) {
                return std::any_of(imantado.guias.begin(), imantado.guias.end(),
                                   [o](const Guia& g) { return g.orientacion == o; });
            };
            left = guiaEn(Qt::Vertical) ? imantado.left : rangoLeft.ajustar(EnCuadricula(left, mPaso));
            top = guiaEn(Qt::Horizontal) ? imantado.top : rangoTop.ajustar(EnCuadricula(top, mPaso));
        } else {
            left = imantado.left;
            top = imantado.top;
        }
        guias = imantado.guias;
    }
    const int mx = left - envolvente.left(), my = top - envolvente.top();
    for (int j : movidos)
        moverObjeto(j, mWs.item(j).left() + mx, mWs.item(j).top() + my);
    mostrarGuias(guias);
}

void RatonCanvas::moverConTeclado(int dx, int dy) {
    if (mComandos.DibujandoLinea || mDestino >= 0) return;
    QList<int> movidos = mSel ? mSel->elegidos(mDiseno) : QList<int>();
    if (!mSel && mDiseno.enUso(mDiseno.Objeto)) movidos << mDiseno.Objeto;
    for (int j : movidos)
        moverObjeto(j, mWs.item(j).left() + dx, mWs.item(j).top() + dy);
}

std::pair<Intervalo, Intervalo> RatonCanvas::limites(int i) const {
    const Surface& caja = mWs.item(i);
    return LimitesArrastre(mDiseno.objeto(i).Tipo == TipoLinea, caja.width(), caja.height(), mDiseno.LargoTicket);
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
    if (mSel && !mSel->contiene(i)) mSel->poner({i});
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
