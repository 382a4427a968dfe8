#include "platform/InstanciaUnica.h"
#include "platform/Rutas.h"
#include "platform/SystemSerialPort.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

using namespace quoravex;

// The port opens the slave side of a pseudo-terminal; the test talks through the master. A second
// open of the same device names the process that holds it.
TEST(SystemSerialPort, BytesPassBothWaysOnAPseudoTerminal) {
    qunsetenv("QUORAVEX_COM4");
    EXPECT_EQ(SystemSerialPort::NombreDispositivo(4), QStringLiteral("/dev/ttyS3"));
    // Device errors that make the link reopen the port, and one that does not.
    for (auto e : {QSerialPort::ResourceError, QSerialPort::ReadError, QSerialPort::WriteError})
        EXPECT_TRUE(EsErrorPuerto(SystemSerialPort::EventoDeError(e))) << e;
    EXPECT_FALSE(EsErrorPuerto(SystemSerialPort::EventoDeError(QSerialPort::TimeoutError)));

    const int maestro = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(maestro >= 0 && grantpt(maestro) == 0 && unlockpt(maestro) == 0);
    qputenv("QUORAVEX_COM8", ptsname(maestro));
    qputenv("QUORAVEX_COM9", "/dev/no-such-serial-device");
    SystemSerialPort puerto;
    QSignalSpy vaciado(&puerto, &SerialPort::drained);
    QSignalSpy recibido(&puerto, &SerialPort::received);
    QSignalSpy errores(&puerto, &SerialPort::errorEvent);
    EXPECT_FALSE(puerto.open(9, LineaEnvio));
    EXPECT_FALSE(puerto.write("x"));
    ASSERT_TRUE(puerto.open(8, LineaEnvio));
    // Pseudo-terminals have no modem lines nor low latency; the port goes on all the same.
    EXPECT_FALSE(puerto.bajaLatencia());
    puerto.setRts(true);
    puerto.setDtr(true);
    SystemSerialPort segundo;
    segundo.fijarDispositivo(QString::fromLocal8Bit(ptsname(maestro)));
    EXPECT_FALSE(segundo.open(1, LineaEnvio));
    QFile comm(QStringLiteral("/proc/self/comm"));
    ASSERT_TRUE(comm.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        segundo.ultimoError(),
        QStringLiteral(
            "%1: el puerto está ocupado: lo tiene abierto %2 (PID %3). Ciérrelo y vuelva a intentarlo.")
            .arg(QString::fromLocal8Bit(ptsname(maestro)), QString::fromLocal8Bit(comm.readAll()).trimmed())
            .arg(::getpid()));

    QByteArray todos;
    for (int i = 0; i < 256; ++i)
        todos.append(static_cast<char>(i));
    ASSERT_TRUE(puerto.write(todos));
    ASSERT_TRUE(vaciado.wait(5000));
    EXPECT_EQ(puerto.bytesToWrite(), 0);
    QByteArray enviados;
    char buf[256];
    for (pollfd p{maestro, POLLIN, 0}; enviados.size() < todos.size() && ::poll(&p, 1, 2000) > 0;)
        enviados.append(buf, std::max<ssize_t>(::read(maestro, buf, sizeof buf), 0));
    EXPECT_EQ(enviados, todos);

    const QByteArray respuesta("\x01\x15\x01\x06\xFF\x00", 6);
    ASSERT_EQ(::write(maestro, respuesta.constData(), respuesta.size()), respuesta.size());
    QByteArray leidos;
    for (int i = 0; i < 50 && leidos.size() < respuesta.size(); ++i) {
        if (puerto.bytesAvailable() == 0) recibido.wait(100);
        leidos.append(puerto.readAll());
    }
    EXPECT_EQ(leidos, respuesta);
    QCoreApplication::processEvents();
    EXPECT_EQ(errores.count(), 0);
    ::close(maestro);
    qunsetenv("QUORAVEX_COM8");
    qunsetenv("QUORAVEX_COM9");
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
    EXPECT_TRUE(InstanciaUnica(ruta).otraEnEjecucion()); // the second copy took the lock over
    // A lock that cannot be made anywhere does not stop the program.
    EXPECT_FALSE(InstanciaUnica(dir.filePath(QStringLiteral("no-existe/quoravex.lock"))).otraEnEjecucion());
    // A lock file of another user, held by a live process, does not block this one.
    if (::geteuid() == 0) {
        const QString ajena = dir.filePath(QStringLiteral("ajena.lock"));
        InstanciaUnica suya(ajena);
        ASSERT_EQ(::chown(QFile::encodeName(ajena).constData(), 65534, 65534), 0);
        EXPECT_FALSE(InstanciaUnica(ajena).otraEnEjecucion());
    }
}

TEST(Rutas, FoldersWithEveryParentAndTheTicketFolder) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("a/b/c"));
    EXPECT_TRUE(CrearDirectorio(ruta) && QDir(ruta).exists());
    EXPECT_TRUE(CrearDirectorio(ruta + QLatin1Char('/'))); // already there
    ASSERT_TRUE(QFile(dir.filePath(QStringLiteral("archivo"))).open(QIODevice::WriteOnly));
    EXPECT_FALSE(CrearDirectorio(dir.filePath(QStringLiteral("archivo/sub"))));
    EXPECT_EQ(ConSeparador(QStringLiteral("/tmp/")), QStringLiteral("/tmp/"));
    EXPECT_EQ(DirectorioTicketsInicial(dir.path()), dir.path() + QLatin1Char('/'));
    if (geteuid() != 0) { // root can write anywhere
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_NE(DirectorioTicketsInicial(dir.path()), dir.path() + QLatin1Char('/'));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    EXPECT_NE(DirectorioTicketsInicial(QStringLiteral("/proc/no-existe")),
              QStringLiteral("/proc/no-existe/"));
}
