#include "ConexionRed.h"

#include "HiloRed.h"
#include "PuertoRed.h"

#include <gensio/gensio.h>
#include <gensio/gensio_err.h>
#include <gensio/gensio_os_funcs.h>
#include <gensio/sergensio.h>

#include <algorithm>

namespace quoravex {

namespace {

QString TextoError(int error) {
    switch (error) {
    case GE_CONNREFUSE:
        return QStringLiteral("conexión rechazada");
    case GE_REMCLOSE:
        return QStringLiteral("el servidor ha cerrado la conexión");
    case GE_TIMEDOUT:
        return QStringLiteral("tiempo agotado");
    case GE_HOSTDOWN:
        return QStringLiteral("no se llega al servidor");
    default:
        return QString::fromUtf8(gensio_err_to_str(error));
    }
}

} // namespace

ConexionRed::ConexionRed(PuertoRed* puerto) : destino(puerto) {
    atender = gensio_os_funcs_alloc_runner(HiloRed::instancia().os(), &ConexionRed::alAtender, this);
}

template <typename F>
void ConexionRed::avisar(F f) {
    if (destino) QMetaObject::invokeMethod(destino, std::move(f), Qt::QueuedConnection);
}

void ConexionRed::ordenar(Orden orden) {
    bool programar = false;
    {
        std::lock_guard l(m);
        ordenes.push_back(std::move(orden));
        programar = !programada;
        programada = true;
    }
    if (programar) gensio_os_funcs_run(HiloRed::instancia().os(), atender);
}

// Everything below runs on the network thread.

void ConexionRed::alAtender(gensio_runner*, void* datos) {
    static_cast<ConexionRed*>(datos)->atenderOrdenes();
}

void ConexionRed::atenderOrdenes() {
    for (;;) {
        Orden orden;
        {
            std::lock_guard l(m);
            if (ordenes.empty()) {
                programada = false;
                return;
            }
            orden = std::move(ordenes.front());
            ordenes.pop_front();
        }
        if (std::visit([this](auto& o) { return cumplir(o); }, orden)) return; // freed
    }
}

bool ConexionRed::cumplir(OrdenConectar& o) {
    if (io) return false;
    int error =
        str_to_gensio(o.descripcion.constData(), HiloRed::instancia().os(), &ConexionRed::alEvento, this, &io);
    if (error == 0) {
        error = gensio_open(io, &ConexionRed::alAbrir, this);
        if (error != 0) gensio_free(io);
    }
    if (error != 0) {
        io = nullptr;
        fallar(TextoError(error));
        return false;
    }
    ++HiloRed::instancia().vivas;
    std::lock_guard l(m);
    enCurso = true;
    return false;
}

bool ConexionRed::cumplir(OrdenEscribir& o) {
    if (!abierta) {
        std::lock_guard l(m);
        pendientes = 0;
        return false;
    }
    salida.append(o.bytes);
    escribir();
    return false;
}

bool ConexionRed::cumplir(OrdenLinea& o) {
    if (!sio) return false;
    const ConfiguracionLinea& l = o.linea;
    const unsigned paridad = l.paridad == 'e'   ? SERGENSIO_PARITY_EVEN
                             : l.paridad == 'o' ? SERGENSIO_PARITY_ODD
                             : l.paridad == 'm' ? SERGENSIO_PARITY_MARK
                             : l.paridad == 's' ? SERGENSIO_PARITY_SPACE
                                                : SERGENSIO_PARITY_NONE;
    sergensio_baud(sio, static_cast<unsigned>(l.baudios), nullptr, nullptr);
    sergensio_datasize(sio, static_cast<unsigned>(l.bitsDatos), nullptr, nullptr);
    sergensio_parity(sio, paridad, nullptr, nullptr);
    sergensio_stopbits(sio, static_cast<unsigned>(l.bitsParada), nullptr, nullptr);
    sergensio_flowcontrol(sio, SERGENSIO_FLOWCONTROL_NONE, nullptr, nullptr);
    return false;
}

bool ConexionRed::cumplir(OrdenControl& o) {
    if (!sio) return false;
    if (o.rts)
        sergensio_rts(sio, o.encendida ? SERGENSIO_RTS_ON : SERGENSIO_RTS_OFF, nullptr, nullptr);
    else
        sergensio_dtr(sio, o.encendida ? SERGENSIO_DTR_ON : SERGENSIO_DTR_OFF, nullptr, nullptr);
    return false;
}

bool ConexionRed::cumplir(OrdenCerrar&) {
    cerrar();
    return false;
}

bool ConexionRed::cumplir(OrdenLiberar&) {
    liberar = true;
    if (io) {
        cerrar();
        return false;
    }
    return borrar();
}

bool ConexionRed::borrar() {
    // Orders that came after this one (none should) die with it.
    gensio_os_funcs_free_runner(HiloRed::instancia().os(), atender);
    delete this;
    return true;
}

void ConexionRed::cerrar() {
    salida.clear();
    if (!io) {
        terminarCierre();
        return;
    }
    if (!abierta) {
        cerrarAlAbrir = true; // still opening: closed as soon as the open ends
        return;
    }
    abierta = false;
    if (gensio_close(io, &ConexionRed::alCerrar, this) != 0) alCerrar(io, this);
}

void ConexionRed::terminarCierre() {
    std::lock_guard l(m);
    enCurso = false;
    pendientes = 0;
    if (estado != Estado::Caida) estado = Estado::Inactiva;
    cambio.notify_all();
}

void ConexionRed::fallar(const QString& motivo) {
    std::lock_guard l(m);
    estado = Estado::Caida;
    error = motivo;
    pendientes = 0;
    cambio.notify_all();
    avisar([p = destino] { emit p->conexionTerminada(); });
}

void ConexionRed::escribir() {
    while (!salida.isEmpty()) {
        gensiods n = 0;
        const int error = gensio_write(io, &n, salida.constData(), static_cast<gensiods>(salida.size()), nullptr);
        if (error != 0) {
            caer(error);
            return;
        }
        salida.remove(0, static_cast<qsizetype>(n));
        {
            std::lock_guard l(m);
            pendientes = std::max<qint64>(0, pendientes - static_cast<qint64>(n));
            if (pendientes == 0) avisar([p = destino] { p->escrito(); });
        }
        if (!salida.isEmpty()) {
            gensio_set_write_callback_enable(io, true); // the socket is full: go on when it drains
            return;
        }
    }
    gensio_set_write_callback_enable(io, false);
}

// The connection broke: the port reports an error and stays unusable until closed.
void ConexionRed::caer(int error) {
    gensio_set_read_callback_enable(io, false);
    gensio_set_write_callback_enable(io, false);
    salida.clear();
    std::lock_guard l(m);
    estado = Estado::Caida;
    // A write that finds the socket already shut by the server fails as "not ready" or
    // as a communication error: the server went all the same.
    const bool cerradaPorServidor = error == GE_REMCLOSE || error == GE_NOTREADY || error == GE_COMMERR;
    this->error = cerradaPorServidor ? TextoError(GE_REMCLOSE) : TextoError(error);
    pendientes = 0;
    avisar([p = destino] { emit p->errorEvent(EventoDcb); });
}

void ConexionRed::recibir(const char* bytes, qsizetype n) {
    std::lock_guard l(m);
    entrada.append(bytes, n);
    if (entrada.size() > LimiteEntrada) {
        const qsizetype sobran = entrada.size() - LimiteEntrada;
        entrada.remove(0, sobran);
        perdidos += sobran;
    }
    if (!avisoEntrada) {
        avisoEntrada = true;
        avisar([p = destino] { emit p->received(); });
    }
}

int ConexionRed::alEvento(gensio*, void* datos, int evento, int error, unsigned char* buf, gensiods* largo,
                          const char* const*) {
    auto* c = static_cast<ConexionRed*>(datos);
    if (evento == GENSIO_EVENT_READ) {
        if (error != 0)
            c->caer(error);
        else
            c->recibir(reinterpret_cast<const char*>(buf), static_cast<qsizetype>(*largo));
        return 0;
    }
    if (evento == GENSIO_EVENT_WRITE_READY) {
        c->escribir();
        return 0;
    }
    return GE_NOTSUP;
}

void ConexionRed::alAbrir(gensio* io, int error, void* datos) {
    auto* c = static_cast<ConexionRed*>(datos);
    if (error != 0) {
        gensio_free(io);
        c->io = nullptr;
        --HiloRed::instancia().vivas;
        c->fallar(TextoError(error));
        c->terminarCierre();
        if (c->liberar) c->borrar();
        return;
    }
    c->abierta = true;
    c->sio = gensio_to_sergensio(io);
    if (c->cerrarAlAbrir || c->liberar) {
        c->cerrarAlAbrir = false;
        c->cerrar();
        return;
    }
    gensio_set_read_callback_enable(io, true);
    std::lock_guard l(c->m);
    c->estado = Estado::Conectada;
    c->cambio.notify_all();
    c->avisar([p = c->destino] { emit p->conexionTerminada(); });
}

void ConexionRed::alCerrar(gensio* io, void* datos) {
    auto* c = static_cast<ConexionRed*>(datos);
    gensio_free(io);
    c->io = nullptr;
    c->sio = nullptr;
    c->abierta = false;
    --HiloRed::instancia().vivas;
    c->terminarCierre();
    if (c->liberar) c->borrar();
}

} // namespace quoravex
