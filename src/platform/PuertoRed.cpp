#include "PuertoRed.h"

#include "HiloRed.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QTimer>

#include <gensio/gensio.h>
#include <gensio/gensio_err.h>
#include <gensio/gensio_os_funcs.h>
#include <gensio/sergensio.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <variant>

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

struct OrdenConectar {
    QByteArray descripcion;
};
struct OrdenEscribir {
    QByteArray bytes;
};
struct OrdenLinea {
    ConfiguracionLinea linea;
};
struct OrdenControl {
    bool rts;
    bool encendida;
};
struct OrdenCerrar {};
struct OrdenLiberar {};
using Orden = std::variant<OrdenConectar, OrdenEscribir, OrdenLinea, OrdenControl, OrdenCerrar, OrdenLiberar>;

} // namespace

// What a port and the network thread share. Everything under `m` may be touched by both;
// the gensio objects only ever by the network thread.
struct ConexionRed {
    enum class Estado { Inactiva, Conectando, Conectada, Caida };

    std::mutex m;
    std::condition_variable cambio;
    Estado estado = Estado::Inactiva;
    bool enCurso = false; // a gensio connection exists (opening, open or closing)
    QString error;
    QByteArray entrada;
    bool avisoEntrada = false;
    qint64 pendientes = 0;           // bytes written by the port not yet taken by the socket
    PuertoRed* destino = nullptr;    // where events go; null once the port is gone
    std::deque<Orden> ordenes;
    bool programada = false;

    // The network thread's own.
    gensio* io = nullptr;
    sergensio* sio = nullptr;
    gensio_runner* atender = nullptr;
    QByteArray salida;
    bool abierta = false;
    bool cerrarAlAbrir = false;
    bool liberar = false;

    // Hands an order to the network thread.
    void ordenar(Orden orden) {
        bool programar = false;
        {
            std::lock_guard l(m);
            ordenes.push_back(std::move(orden));
            programar = !programada;
            programada = true;
        }
        if (programar) gensio_os_funcs_run(HiloRed::instancia().os(), atender);
    }

    // Runs `f` on the port's thread, unless the port is gone by then. Called with `m` held.
    template <typename F>
    void avisar(F f) {
        if (destino) QMetaObject::invokeMethod(destino, std::move(f), Qt::QueuedConnection);
    }

    // --- everything below runs on the network thread ---

    static void alAtender(gensio_runner*, void* datos) { static_cast<ConexionRed*>(datos)->atenderOrdenes(); }

    void atenderOrdenes() {
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

    bool cumplir(OrdenConectar& o) {
        if (io) return false;
        int error = str_to_gensio(o.descripcion.constData(), HiloRed::instancia().os(), &ConexionRed::alEvento,
                                  this, &io);
        if (error == 0) {
            error = gensio_open(io, &ConexionRed::alAbrir, this);
            if (error != 0) {
                gensio_free(io);
                io = nullptr;
            }
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

    bool cumplir(OrdenEscribir& o) {
        if (!abierta) {
            std::lock_guard l(m);
            pendientes = 0;
            return false;
        }
        salida.append(o.bytes);
        escribir();
        return false;
    }

    bool cumplir(OrdenLinea& o) {
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

    bool cumplir(OrdenControl& o) {
        if (!sio) return false;
        if (o.rts)
            sergensio_rts(sio, o.encendida ? SERGENSIO_RTS_ON : SERGENSIO_RTS_OFF, nullptr, nullptr);
        else
            sergensio_dtr(sio, o.encendida ? SERGENSIO_DTR_ON : SERGENSIO_DTR_OFF, nullptr, nullptr);
        return false;
    }

    bool cumplir(OrdenCerrar&) {
        cerrar();
        return false;
    }

    bool cumplir(OrdenLiberar&) {
        liberar = true;
        if (io) {
            cerrar();
            return false;
        }
        return borrar();
    }

    bool borrar() {
        // Orders that came after this one (none should) die with it.
        gensio_os_funcs_free_runner(HiloRed::instancia().os(), atender);
        delete this;
        return true;
    }

    void cerrar() {
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

    void terminarCierre() {
        std::lock_guard l(m);
        enCurso = false;
        pendientes = 0;
        if (estado != Estado::Caida) estado = Estado::Inactiva;
        cambio.notify_all();
    }

    void fallar(const QString& motivo) {
        std::lock_guard l(m);
        estado = Estado::Caida;
        error = motivo;
        pendientes = 0;
        cambio.notify_all();
        avisar([p = destino] { emit p->conexionTerminada(); });
    }

    void escribir() {
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
    void caer(int error) {
        gensio_set_read_callback_enable(io, false);
        gensio_set_write_callback_enable(io, false);
        salida.clear();
        std::lock_guard l(m);
        estado = Estado::Caida;
        error == GE_REMCLOSE ? this->error = QStringLiteral("el servidor ha cerrado la conexión")
                             : this->error = TextoError(error);
        pendientes = 0;
        avisar([p = destino] { p->errorEvent(EventoDcb); });
    }

    static int alEvento(gensio*, void* datos, int evento, int error, unsigned char* buf, gensiods* largo,
                        const char* const*) {
        auto* c = static_cast<ConexionRed*>(datos);
        if (evento == GENSIO_EVENT_READ) {
            if (error != 0) {
                c->caer(error);
                return 0;
            }
            std::lock_guard l(c->m);
            c->entrada.append(reinterpret_cast<const char*>(buf), static_cast<qsizetype>(*largo));
            if (!c->avisoEntrada) {
                c->avisoEntrada = true;
                c->avisar([p = c->destino] { emit p->received(); });
            }
            return 0;
        }
        if (evento == GENSIO_EVENT_WRITE_READY) {
            c->escribir();
            return 0;
        }
        return GE_NOTSUP;
    }

    static void alAbrir(gensio* io, int error, void* datos) {
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

    static void alCerrar(gensio* io, void* datos) {
        auto* c = static_cast<ConexionRed*>(datos);
        gensio_free(io);
        c->io = nullptr;
        c->sio = nullptr;
        c->abierta = false;
        --HiloRed::instancia().vivas;
        c->terminarCierre();
        if (c->liberar) c->borrar();
    }
};

PuertoRed::PuertoRed(const QString& nombre, QObject* parent)
    : SerialPort(parent), mNombre(nombre), mDireccion(DireccionRed::desdeTexto(nombre)),
      mConexion(new ConexionRed), mLinea([this] {
          if (isOpen() && bytesToWrite() == 0) emit drained();
      }) {
    mConexion->destino = this;
    mConexion->atender = gensio_os_funcs_alloc_runner(HiloRed::instancia().os(), &ConexionRed::alAtender, mConexion);
    if (!mDireccion) mError = QStringLiteral("%1: no es una dirección de red válida (rfc2217://HOST:PUERTO o socket://HOST:PUERTO)").arg(nombre);
}

PuertoRed::~PuertoRed() {
    {
        std::lock_guard l(mConexion->m);
        mConexion->destino = nullptr;
    }
    mConexion->ordenar(OrdenLiberar{});
}

void PuertoRed::conectar() {
    const auto terminar = [this] { QMetaObject::invokeMethod(this, &PuertoRed::conexionTerminada, Qt::QueuedConnection); };
    if (!mDireccion) return terminar();
    {
        std::lock_guard l(mConexion->m);
        mConectado = false;
        if (mConexion->estado != ConexionRed::Estado::Inactiva) return terminar();
        mConexion->estado = ConexionRed::Estado::Conectando;
        mConexion->error.clear();
    }
    mBuscando = true;
    const int generacion = ++mGeneracion;
    // A host that does not answer is given up after the same wait as open()'s.
    QTimer::singleShot(EsperaConexionMs, this, [this, generacion] {
        if (generacion != mGeneracion) return;
        {
            std::lock_guard l(mConexion->m);
            if (mConexion->estado != ConexionRed::Estado::Conectando) return;
            mConexion->estado = ConexionRed::Estado::Caida;
            mConexion->error = QStringLiteral("tiempo agotado");
        }
        ++mGeneracion;
        mBuscando = false;
        mConexion->ordenar(OrdenCerrar{});
        emit conexionTerminada();
    });
    QHostInfo::lookupHost(mDireccion->host, this, [this, generacion](const QHostInfo& info) {
        if (generacion != mGeneracion) return;
        mBuscando = false;
        if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
            std::lock_guard l(mConexion->m);
            mConexion->estado = ConexionRed::Estado::Caida;
            mConexion->error = QStringLiteral("no se encuentra el servidor %1").arg(mDireccion->host);
            emit conexionTerminada();
            return;
        }
        const QHostAddress a = info.addresses().first();
        pedirConexion(a.toString(), a.protocol() == QAbstractSocket::IPv6Protocol);
    });
}

void PuertoRed::pedirConexion(const QString& direccionIp, bool ipv6) {
    const QString descripcion = QStringLiteral("%1tcp(nodelay),%2%3,%4")
                                    .arg(mDireccion->rfc2217 ? QStringLiteral("telnet(rfc2217),") : QString(),
                                         ipv6 ? QStringLiteral("ipv6,") : QString(), direccionIp)
                                    .arg(mDireccion->puerto);
    mConexion->ordenar(OrdenConectar{descripcion.toLatin1()});
}

bool PuertoRed::esperarConexion() {
    if (!mDireccion) return false;
    ConexionRed::Estado estado;
    {
        std::lock_guard l(mConexion->m);
        estado = mConexion->estado;
        if (estado == ConexionRed::Estado::Inactiva) {
            mConexion->estado = ConexionRed::Estado::Conectando;
            mConexion->error.clear();
        }
    }
    if (estado == ConexionRed::Estado::Inactiva || (estado == ConexionRed::Estado::Conectando && mBuscando)) {
        // Nobody else is resolving the name: it is looked up here, blocking.
        ++mGeneracion;
        mBuscando = false;
        const QHostInfo info = QHostInfo::fromName(mDireccion->host);
        if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
            std::lock_guard l(mConexion->m);
            mConexion->estado = ConexionRed::Estado::Caida;
            mConexion->error = QStringLiteral("no se encuentra el servidor %1").arg(mDireccion->host);
            return false;
        }
        const QHostAddress a = info.addresses().first();
        pedirConexion(a.toString(), a.protocol() == QAbstractSocket::IPv6Protocol);
    }
    std::unique_lock l(mConexion->m);
    const bool hecho = mConexion->cambio.wait_for(l, std::chrono::milliseconds(EsperaConexionMs), [this] {
        return mConexion->estado != ConexionRed::Estado::Conectando;
    });
    if (!hecho) {
        mConexion->estado = ConexionRed::Estado::Caida;
        mConexion->error = QStringLiteral("tiempo agotado");
        l.unlock();
        mConexion->ordenar(OrdenCerrar{});
        return false;
    }
    return mConexion->estado == ConexionRed::Estado::Conectada;
}

bool PuertoRed::open(int, const ConfiguracionLinea& linea) {
    {
        // A connection that failed or broke stays failed until the port is closed.
        std::lock_guard l(mConexion->m);
        if (mConexion->estado == ConexionRed::Estado::Caida) {
            mAbierto = false;
            return false;
        }
    }
    if (mAbierto) close();
    mConectado = false;
    if (!esperarConexion()) return false;
    {
        std::lock_guard l(mConexion->m);
        mConexion->entrada.clear();
        mConexion->avisoEntrada = false;
    }
    mConexion->ordenar(OrdenLinea{linea});
    mLinea.configurar(linea);
    mAbierto = true;
    mConectado = true;
    return true;
}

void PuertoRed::close() {
    mAbierto = false;
    mLinea.detener();
    ++mGeneracion;
    mBuscando = false;
    mConexion->ordenar(OrdenCerrar{});
    // The next open connects afresh: it waits for this connection to be gone.
    std::unique_lock l(mConexion->m);
    mConexion->cambio.wait_for(l, std::chrono::seconds(2), [this] { return !mConexion->enCurso; });
    mConexion->estado = ConexionRed::Estado::Inactiva;
    mConexion->entrada.clear();
}

bool PuertoRed::isOpen() const {
    if (!mAbierto) return false;
    std::lock_guard l(mConexion->m);
    return mConexion->estado == ConexionRed::Estado::Conectada;
}

bool PuertoRed::write(const QByteArray& bytes) {
    if (!isOpen()) return false;
    {
        std::lock_guard l(mConexion->m);
        mConexion->pendientes += bytes.size();
    }
    mConexion->ordenar(OrdenEscribir{bytes});
    mLinea.escrito(bytes.size());
    return true;
}

void PuertoRed::escrito() {
    if (isOpen() && bytesToWrite() == 0) mLinea.revisar();
}

QByteArray PuertoRed::readAll() {
    std::lock_guard l(mConexion->m);
    mConexion->avisoEntrada = false;
    QByteArray bytes;
    bytes.swap(mConexion->entrada);
    return mAbierto ? bytes : QByteArray();
}

qint64 PuertoRed::bytesAvailable() const {
    std::lock_guard l(mConexion->m);
    return mAbierto ? mConexion->entrada.size() : 0;
}

qint64 PuertoRed::bytesToWrite() const {
    std::lock_guard l(mConexion->m);
    return mConexion->pendientes;
}

bool PuertoRed::setRts(bool on) {
    if (!isOpen() || !mDireccion->rfc2217) return false;
    mConexion->ordenar(OrdenControl{true, on});
    return true;
}

bool PuertoRed::setDtr(bool on) {
    if (!isOpen() || !mDireccion->rfc2217) return false;
    mConexion->ordenar(OrdenControl{false, on});
    return true;
}

QString PuertoRed::ultimoError() const {
    if (!mDireccion) return mError;
    std::lock_guard l(mConexion->m);
    if (mConexion->estado != ConexionRed::Estado::Caida) return {};
    return (mConectado ? QStringLiteral("Conexión con %1 perdida: %2") : QStringLiteral("No se puede conectar con %1: %2"))
        .arg(mDireccion->texto(), mConexion->error);
}

} // namespace quoravex
