#pragma once

#include "link/SerialPort.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <variant>

#include <gensio/gensio_types.h>

struct sergensio;

namespace quoravex {

class PuertoRed;

// What a port asks of the network thread.
struct OrdenConectar {
    QByteArray descripcion; // a gensio description, "telnet(rfc2217),tcp(nodelay),HOST,PORT"
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

// The connection state that a port and the network thread share. Everything under `m` may
// be touched by both; the gensio objects only ever by the network thread. Nothing is ever
// called back with `m` held: events reach the port as queued calls.
struct ConexionRed {
    enum class Estado { Inactiva, Conectando, Conectada, Caida };

    // Received bytes kept for the port. A reply is a few hundred bytes, so more than this
    // waiting means a server that floods the line: the oldest bytes are dropped, as a
    // serial driver's full buffer drops them.
    static constexpr qsizetype LimiteEntrada = 64 * 1024;

    std::mutex m;
    std::condition_variable cambio;
    Estado estado = Estado::Inactiva;
    bool enCurso = false; // a gensio connection exists (opening, open or closing)
    QString error;
    QByteArray entrada;
    qsizetype perdidos = 0; // received bytes dropped because the port did not take them in time
    bool avisoEntrada = false;
    qint64 pendientes = 0;        // bytes written by the port not yet taken by the socket
    PuertoRed* destino = nullptr; // where events go; null once the port is gone
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

    explicit ConexionRed(PuertoRed* puerto);

    // Hands an order to the network thread.
    void ordenar(Orden orden);

private:
    // Queues `f` to run on the port's thread, unless the port is gone by then. Called with
    // `m` held; `f` runs later, never inside this call.
    template <typename F>
    void avisar(F f);

    static void alAtender(gensio_runner*, void* datos);
    static int alEvento(gensio*, void* datos, int evento, int error, unsigned char* buf, gensiods* largo,
                        const char* const*);
    static void alAbrir(gensio* io, int error, void* datos);
    static void alCerrar(gensio* io, void* datos);

    void atenderOrdenes();
    bool cumplir(OrdenConectar& o);
    bool cumplir(OrdenEscribir& o);
    bool cumplir(OrdenLinea& o);
    bool cumplir(OrdenControl& o);
    bool cumplir(OrdenCerrar&);
    bool cumplir(OrdenLiberar&);
    bool borrar();
    void cerrar();
    void terminarCierre();
    void fallar(const QString& motivo);
    void escribir();
    void caer(int error);
    void recibir(const char* bytes, qsizetype n);
};

} // namespace quoravex
