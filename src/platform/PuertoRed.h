#pragma once

#include "TiempoLinea.h"
#include "link/SerialPort.h"

#include <optional>

namespace quoravex {

// The network name of a serial port on a device server: "rfc2217://HOST:PORT" (Telnet with
// COM port control: this program sets the line and RTS and DTR) or "socket://HOST:PORT"
// (a raw byte stream: the line is set on the server).
struct DireccionRed {
    bool rfc2217 = true;
    QString host;
    quint16 puerto = 0;

    // Whether the name is meant as a network port at all (it has one of the two prefixes).
    static bool EsNombreRed(const QString& nombre);
    // The address, or nullopt when the name is not a valid network port name.
    static std::optional<DireccionRed> desdeTexto(const QString& nombre);
    // "HOST:PORT", as messages name it.
    QString texto() const;
};

struct ConexionRed;

// A printer port reached over the network. The connection is made by open() (or earlier, by
// conectar()) and lives until close(); the bytes pass unchanged both ways (a 0xFF data byte
// is escaped on the wire by the Telnet layer and arrives as 0xFF).
class PuertoRed : public SerialPort {
    Q_OBJECT
public:
    explicit PuertoRed(const QString& nombre, QObject* parent = nullptr);
    ~PuertoRed() override;

    // How long open() waits for a connection to be made.
    static constexpr int EsperaConexionMs = 10000;

    // Starts connecting without blocking; conexionTerminada() follows once the connection is
    // made or has failed. open() then takes it, or fails with its reason.
    void conectar();

    bool open(int numero, const ConfiguracionLinea& linea) override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    qint64 bytesAvailable() const override;
    qint64 bytesToWrite() const override;
    // Sent to an RFC 2217 server without waiting for its confirmation (a server in front of a
    // pseudo-terminal gives none). A raw socket has no control lines: false.
    bool setRts(bool on) override;
    bool setDtr(bool on) override;
    QString ultimoError() const override;

signals:
    void conexionTerminada();

private:
    friend struct ConexionRed;
    bool esperarConexion();
    void pedirConexion(const QString& direccionIp, bool ipv6);
    void escrito();

    QString mNombre;
    std::optional<DireccionRed> mDireccion;
    ConexionRed* mConexion; // freed by the network thread once its connection is closed
    TiempoLinea mLinea;
    bool mAbierto = false;
    bool mConectado = false; // a connection was made: a later failure is a lost connection
    bool mBuscando = false; // a name lookup started by conectar() is under way
    int mGeneracion = 0;    // lookups of an earlier connect are ignored
    QString mError; // a name that is not a network address
};

} // namespace quoravex
