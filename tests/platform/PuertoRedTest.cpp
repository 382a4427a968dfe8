#include "platform/PuertoRed.h"
#include "platform/PuertoSerie.h"
#include "platform/SystemSerialPort.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

using namespace quoravex;

namespace {

// A device server on the loopback interface that speaks raw TCP, one client at a time.
struct ServidorCrudo {
    ServidorCrudo() { servidor.listen(QHostAddress::LocalHost); }
    QString nombre() const { return QStringLiteral("socket://127.0.0.1:%1").arg(servidor.serverPort()); }
    bool aceptar() {
        if (!cliente && !servidor.hasPendingConnections() && !servidor.waitForNewConnection(5000))
            return false;
        if (!cliente) cliente = servidor.nextPendingConnection();
        return cliente != nullptr;
    }
    QTcpServer servidor;
    QTcpSocket* cliente = nullptr;
};

} // namespace

TEST(PuertoRed, NetworkNames) {
    const struct {
        const char* nombre;
        const char* direccion = nullptr; // as messages name it; null: not a valid name
        bool rfc2217 = false;
    } casos[] = {
        {"rfc2217://192.168.1.20:2001", "192.168.1.20:2001", true},
        {"RFC2217://impresora-3.sucursal:4001/", "impresora-3.sucursal:4001", true},
        {"socket://[::1]:7000", "[::1]:7000", false},
        {"socket://localhost:1", "localhost:1", false},
        {"rfc2217://host"},
        {"rfc2217://host:0"},
        {"rfc2217://host:65536"},
        {"socket://:2000"},
        {"rfc2217://a b:2000"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_TRUE(DireccionRed::EsNombreRed(QString::fromUtf8(c.nombre)));
        const auto d = DireccionRed::desdeTexto(QString::fromUtf8(c.nombre));
        EXPECT_EQ(d ? d->texto() : QString(), QString::fromUtf8(c.direccion));
        EXPECT_EQ(d && d->rfc2217, c.rfc2217);
    }
    // A device of this machine stays a local port; a malformed network name, or a refused connection, fails
    // open() at once with the reason.
    EXPECT_NE(qobject_cast<SystemSerialPort*>(CrearPuertoSerie(QStringLiteral("/dev/ttyUSB0")).get()),
              nullptr);
    auto malo = CrearPuertoSerie(QStringLiteral("rfc2217://impresora"));
    ASSERT_NE(qobject_cast<PuertoRed*>(malo.get()), nullptr);
    EXPECT_FALSE(malo->open(1, LineaEnvio));
    EXPECT_TRUE(malo->ultimoError().contains(QStringLiteral("no es una dirección de red válida")));
    quint16 cerrado = 0; // a port of the loopback interface where nobody listens
    {
        QTcpServer s;
        s.listen(QHostAddress::LocalHost);
        cerrado = s.serverPort();
    }
    PuertoRed rechazado(QStringLiteral("rfc2217://127.0.0.1:%1").arg(cerrado));
    EXPECT_FALSE(rechazado.open(1, LineaEnvio));
    EXPECT_EQ(rechazado.ultimoError(),
              QStringLiteral("No se puede conectar con 127.0.0.1:%1: conexión rechazada").arg(cerrado));
}

// A drained report follows each write once the line has had its time; a server that drops the connection
// is an error the port reports, and the port stays failed until it is closed. The bytes both ways, the
// connection made ahead of open() and the message when the server goes: the ser2net scenarios.
TEST(PuertoRed, RawSocketDrainsAndReportsADroppedConnection) {
    ServidorCrudo servidor;
    PuertoRed puerto(servidor.nombre());
    QSignalSpy vaciado(&puerto, &SerialPort::drained);
    QSignalSpy errores(&puerto, &SerialPort::errorEvent);
    ASSERT_TRUE(puerto.open(1, LineaEnvio));
    ASSERT_TRUE(servidor.aceptar());
    EXPECT_FALSE(puerto.setRts(true)); // a raw socket has no control lines

    ASSERT_TRUE(puerto.write(QByteArray(556, '\xff')));
    ASSERT_TRUE(vaciado.wait(2000)); // 556 bytes at 19200 8N2 take about 318 ms on the line
    EXPECT_EQ(puerto.bytesToWrite(), 0);

    servidor.cliente->close();
    ASSERT_TRUE(errores.wait(3000));
    EXPECT_TRUE(EsErrorPuerto(errores.first().first().toInt()));
    EXPECT_FALSE(puerto.isOpen() || puerto.write("x"));
    EXPECT_FALSE(puerto.open(1, LineaEnvio)); // the link's reopen fails: the send ends
    // Closing it lets a later send connect afresh.
    puerto.close();
    servidor.cliente = nullptr;
    EXPECT_TRUE(puerto.open(1, LineaEnvio));
    EXPECT_TRUE(servidor.aceptar());
    EXPECT_TRUE(puerto.ultimoError().isEmpty());
}
