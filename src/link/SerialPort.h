#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

namespace quoravex {

// Line settings as the transfer windows write them: "19200,n,8,2".
struct ConfiguracionLinea {
    int32_t baudios = 19200;
    char paridad = 'n'; // 'n', 'e', 'o', 'm' or 's'
    int bitsDatos = 8;
    int bitsParada = 2;

    static std::optional<ConfiguracionLinea> desdeTexto(const QString& texto);
    QString texto() const;
    bool operator==(const ConfiguracionLinea&) const = default;
};

// Settings of the transfer window and of the date-and-time window.
inline const ConfiguracionLinea LineaEnvio{19200, 'n', 8, 2};
inline const ConfiguracionLinea LineaFechaHora{1200, 'n', 8, 2};

// Port events that close and reopen the port; anything else reported by a port is ignored.
enum EventoPuerto : int {
    EventoBreak = 1001,
    EventoEncuadre = 1004,
    EventoSobrescritura = 1006,
    EventoRxLleno = 1008,
    EventoParidad = 1009,
    EventoTxLleno = 1010,
    EventoDcb = 1011,
};

// The description kept for a port error event, or an empty string for any other event.
QString DescripcionEventoPuerto(int codigo);
inline bool EsErrorPuerto(int codigo) {
    return !DescripcionEventoPuerto(codigo).isEmpty();
}

// A serial port as the printer link uses it. Bytes pass unchanged both ways; there is
// never any handshaking. Events arrive as signals on the thread that owns the port.
class SerialPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialPort() override = default;

    // Opens port number `numero` (1..9) with the given settings, closing it first when open.
    // False when the port cannot be opened.
    virtual bool open(int numero, const ConfiguracionLinea& linea) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Queues the bytes for sending; false when the port refused them.
    virtual bool write(const QByteArray& bytes) = 0;
    // Everything waiting in the input queue.
    virtual QByteArray readAll() = 0;
    virtual qint64 bytesAvailable() const = 0;
    virtual qint64 bytesToWrite() const = 0;

    // Some devices refuse line changes: false then, and the port keeps working.
    virtual bool setRts(bool on) = 0;
    virtual bool setDtr(bool on) = 0;

    // Why the last open failed or the port was lost, in Spanish; empty when not known.
    virtual QString ultimoError() const { return {}; }

signals:
    // Bytes arrived.
    void received();
    // The output queue is empty.
    void drained();
    // A line or device error, as an EventoPuerto code or another value.
    void errorEvent(int codigo);
};

} // namespace quoravex
