#include "platform/SystemSerialPort.h"
#include "platform/InstanciaUnica.h"

#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

using namespace quoravex;

namespace {

// A pseudo-terminal: the port opens its slave side, the test talks through the master.
struct Pty {
    Pty() {
        maestro = posix_openpt(O_RDWR | O_NOCTTY);
        if (maestro >= 0 && grantpt(maestro) == 0 && unlockpt(maestro) == 0)
            esclavo = QString::fromLocal8Bit(ptsname(maestro));
    }
    ~Pty() {
        if (maestro >= 0) ::close(maestro);
    }
    // Everything the port sent within a bounded wait.
    QByteArray leer(int esperados) {
        QByteArray r;
        for (int i = 0; i < 50 && r.size() < esperados; ++i) {
            pollfd p{maestro, POLLIN, 0};
            if (::poll(&p, 1, 100) > 0) {
                char buf[256];
                const ssize_t n = ::read(maestro, buf, sizeof buf);
                if (n > 0) r.append(buf, n);
            }
        }
        return r;
    }
    int maestro = -1;
    QString esclavo;
};

} // namespace

TEST(SystemSerialPort, DeviceNamesByPrecedence) {
    // The environment, the user's choice, Morvane.cfg, the system's device.
    const struct {
        const char *entorno, *elegido, *configurado, *esperado;
    } casos[] = {
        {"", "", "", "/dev/ttyS3"},
        {"", "", "/dev/ttyUSB1", "/dev/ttyUSB1"},
        {"", "/dev/serial/by-id/usb-A", "/dev/ttyUSB1", "/dev/serial/by-id/usb-A"},
        {"/dev/pts/99", "/dev/serial/by-id/usb-A", "/dev/ttyUSB1", "/dev/pts/99"},
    };
    for (const auto& c : casos) {
        qputenv("QUORAVEX_COM4", c.entorno);
        EXPECT_EQ(SystemSerialPort::NombreDispositivo(4, QString::fromLatin1(c.elegido),
                                                      QString::fromLatin1(c.configurado)),
                  QString::fromLatin1(c.esperado))
            << c.esperado;
    }
    qunsetenv("QUORAVEX_COM4");
}

TEST(SystemSerialPort, ErrorsThatReopenThePort) {
    EXPECT_EQ(SystemSerialPort::EventoDeError(QSerialPort::ResourceError), EventoDcb);
    EXPECT_EQ(SystemSerialPort::EventoDeError(QSerialPort::ReadError), EventoSobrescritura);
    EXPECT_EQ(SystemSerialPort::EventoDeError(QSerialPort::WriteError), EventoTxLleno);
    EXPECT_EQ(SystemSerialPort::EventoDeError(QSerialPort::TimeoutError), 0);
}

TEST(SystemSerialPort, MissingDeviceDoesNotOpen) {
    qputenv("QUORAVEX_COM9", "/dev/no-such-serial-device");
    SystemSerialPort puerto;
    QSignalSpy errores(&puerto, &SerialPort::errorEvent);
    EXPECT_FALSE(puerto.open(9, LineaEnvio));
    EXPECT_FALSE(puerto.write("x"));
    QCoreApplication::processEvents();
    EXPECT_EQ(errores.count(), 0);
    qunsetenv("QUORAVEX_COM9");
}

TEST(SystemSerialPort, BytesPassBothWaysOnAPseudoTerminal) {
    Pty pty;
    ASSERT_FALSE(pty.esclavo.isEmpty());
    qputenv("QUORAVEX_COM8", pty.esclavo.toLocal8Bit());
    SystemSerialPort puerto;
    QSignalSpy vaciado(&puerto, &SerialPort::drained);
    QSignalSpy recibido(&puerto, &SerialPort::received);
    QSignalSpy errores(&puerto, &SerialPort::errorEvent);
    ASSERT_TRUE(puerto.open(8, LineaEnvio));
    // Pseudo-terminals have no modem lines and refuse low latency; the port goes on all the same.
    EXPECT_FALSE(puerto.bajaLatencia());
    puerto.setRts(true);
    puerto.setDtr(true);

    QByteArray todos;
    for (int i = 0; i < 256; ++i)
        todos.append(static_cast<char>(i));
    ASSERT_TRUE(puerto.write(todos));
    ASSERT_TRUE(vaciado.wait(5000));
    EXPECT_EQ(puerto.bytesToWrite(), 0);
    EXPECT_EQ(pty.leer(256), todos);

    const QByteArray respuesta("\x01\x15\x01\x06\xFF\x00", 6);
    ASSERT_EQ(::write(pty.maestro, respuesta.constData(), respuesta.size()), respuesta.size());
    QByteArray leidos;
    for (int i = 0; i < 50 && leidos.size() < respuesta.size(); ++i) {
        if (puerto.bytesAvailable() == 0) recibido.wait(100);
        leidos.append(puerto.readAll());
    }
    EXPECT_EQ(leidos, respuesta);
    QCoreApplication::processEvents();
    EXPECT_EQ(errores.count(), 0);
    qunsetenv("QUORAVEX_COM8");
}

TEST(SystemSerialPort, APortHeldElsewhereNamesItsHolder) {
    Pty pty;
    ASSERT_FALSE(pty.esclavo.isEmpty());
    SystemSerialPort primero, segundo;
    primero.fijarDispositivo(pty.esclavo);
    segundo.fijarDispositivo(pty.esclavo);
    ASSERT_TRUE(primero.open(1, LineaEnvio));
    EXPECT_FALSE(segundo.open(1, LineaEnvio));
    QFile comm(QStringLiteral("/proc/self/comm"));
    ASSERT_TRUE(comm.open(QIODevice::ReadOnly));
    EXPECT_EQ(segundo.ultimoError(),
              QStringLiteral(
                  "%1: el puerto está ocupado: lo tiene abierto %2 (PID %3). Ciérrelo y vuelva a intentarlo.")
                  .arg(pty.esclavo, QString::fromLocal8Bit(comm.readAll()).trimmed())
                  .arg(::getpid()));
}

TEST(InstanciaUnica, OnlyAnotherCopyOfTheSameUserBlocks) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("quoravex.lock"));
    auto primera = std::make_unique<InstanciaUnica>(ruta);
    EXPECT_FALSE(primera->otraEnEjecucion());
    InstanciaUnica segunda(ruta);
    EXPECT_TRUE(segunda.otraEnEjecucion());
    primera.reset();
    EXPECT_FALSE(segunda.otraEnEjecucion());

    // A lock that cannot be made anywhere does not stop the program.
    InstanciaUnica sinCarpeta(dir.filePath(QStringLiteral("no-existe/quoravex.lock")));
    EXPECT_FALSE(sinCarpeta.otraEnEjecucion());

    // A lock file of another user, held by a live process, does not block this one.
    if (::geteuid() == 0) {
        const QString ajena = dir.filePath(QStringLiteral("ajena.lock"));
        InstanciaUnica suya(ajena);
        ASSERT_EQ(::chown(QFile::encodeName(ajena).constData(), 65534, 65534), 0);
        InstanciaUnica mia(ajena);
        EXPECT_FALSE(mia.otraEnEjecucion());
    }
    EXPECT_TRUE(InstanciaUnica::RutaPorDefecto().startsWith(
        QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)));
}
