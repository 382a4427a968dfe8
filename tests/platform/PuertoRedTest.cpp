#include "platform/PuertoRed.h"
#include "platform/PuertoSerie.h"
#include "platform/SystemSerialPort.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
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
    QByteArray leer(qsizetype esperados) {
        QByteArray r;
        for (int i = 0; i < 100 && r.size() < esperados; ++i) {
            cliente->waitForReadyRead(50);
            r += cliente->readAll();
        }
        return r;
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
    // A device of this machine stays a local port; a malformed network name says why it fails.
    EXPECT_NE(qobject_cast<SystemSerialPort*>(CrearPuertoSerie(QStringLiteral("/dev/ttyUSB0")).get()),
              nullptr);
    auto malo = CrearPuertoSerie(QStringLiteral("rfc2217://impresora"));
    ASSERT_NE(qobject_cast<PuertoRed*>(malo.get()), nullptr);
    EXPECT_FALSE(malo->open(1, LineaEnvio));
    EXPECT_TRUE(malo->ultimoError().contains(QStringLiteral("no es una dirección de red válida")));
}

// Bytes pass unchanged both ways, 0xFF included; a drained report follows each write once the line has had
// its time; a server that drops the connection is an error the port reports, and the port stays failed until
// it is closed.
TEST(PuertoRed, RawSocketCarriesBytesAndReportsADroppedConnection) {
    ServidorCrudo servidor;
    PuertoRed puerto(servidor.nombre());
    QSignalSpy recibido(&puerto, &SerialPort::received);
    QSignalSpy vaciado(&puerto, &SerialPort::drained);
    QSignalSpy errores(&puerto, &SerialPort::errorEvent);
    ASSERT_TRUE(puerto.open(1, LineaEnvio));
    ASSERT_TRUE(servidor.aceptar());
    EXPECT_FALSE(puerto.setRts(true)); // a raw socket has no control lines

    QByteArray datos;
    for (int i = 0; i < 256; ++i)
        datos.append(static_cast<char>(255 - i));
    datos += QByteArray(300, '\xff');
    ASSERT_TRUE(puerto.write(datos));
    EXPECT_EQ(servidor.leer(datos.size()), datos);
    ASSERT_TRUE(vaciado.wait(2000)); // 556 bytes at 19200 8N2 take about 318 ms on the line
    EXPECT_EQ(puerto.bytesToWrite(), 0);

    const QByteArray respuesta("\x02\xff\x00\xfe\x03", 5);
    servidor.cliente->write(respuesta);
    servidor.cliente->flush();
    QByteArray llegado;
    for (int i = 0; i < 50 && llegado.size() < respuesta.size(); ++i)
        if (recibido.wait(100) || puerto.bytesAvailable() > 0) llegado += puerto.readAll();
    EXPECT_EQ(llegado, respuesta);

    servidor.cliente->close();
    ASSERT_TRUE(errores.wait(3000));
    EXPECT_TRUE(EsErrorPuerto(errores.first().first().toInt()));
    EXPECT_FALSE(puerto.isOpen() || puerto.write("x"));
    EXPECT_FALSE(puerto.open(1, LineaEnvio)); // the link's reopen fails: the send ends
    EXPECT_EQ(puerto.ultimoError(), QStringLiteral("Conexión con 127.0.0.1:%1 perdida: el servidor ha "
                                                   "cerrado la conexión")
                                        .arg(servidor.servidor.serverPort()));
    // Closing it lets a later send connect afresh.
    puerto.close();
    servidor.cliente = nullptr;
    EXPECT_TRUE(puerto.open(1, LineaEnvio));
    EXPECT_TRUE(servidor.aceptar());
    EXPECT_TRUE(puerto.ultimoError().isEmpty());
}

// A refused connection fails open() at once, with the reason; connecting ahead of open() does not block, and
// open() then takes the connection that was made.
TEST(PuertoRed, ConnectingAheadAndRefusedConnections) {
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

    PuertoRed antes(QStringLiteral("socket://127.0.0.1:%1").arg(cerrado));
    QSignalSpy terminada(&antes, &PuertoRed::conexionTerminada);
    antes.conectar();
    ASSERT_TRUE(terminada.wait(5000));
    EXPECT_FALSE(antes.open(1, LineaEnvio));
    EXPECT_TRUE(antes.ultimoError().endsWith(QStringLiteral("conexión rechazada")));

    ServidorCrudo servidor;
    PuertoRed bueno(servidor.nombre());
    QSignalSpy lista(&bueno, &PuertoRed::conexionTerminada);
    bueno.conectar();
    ASSERT_TRUE(lista.wait(5000));
    ASSERT_TRUE(servidor.aceptar());
    ASSERT_TRUE(bueno.open(1, LineaFechaHora));
    ASSERT_TRUE(bueno.write("hora"));
    EXPECT_EQ(servidor.leer(4), QByteArray("hora"));
}
