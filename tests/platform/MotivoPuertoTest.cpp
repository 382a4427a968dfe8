#include "platform/MotivoPuerto.h"
#include "platform/DispositivoSerie.h"
#include "platform/PuertosDetectados.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quoravex;

TEST(MotivoPuerto, EveryKindOfFailureSaysWhatToDo) {
    const QString usb = QStringLiteral("/dev/ttyUSB0"), grupo = QStringLiteral("dialout");
    const QStringList dos = {QStringLiteral("/dev/serial/by-id/usb-FTDI_A1-if00-port0 (FT232R USB UART)"),
                             QStringLiteral("/dev/ttyS0")};
    const QString permiso = QStringLiteral("no tiene permiso para usar el dispositivo"),
                  noExiste = QStringLiteral("el dispositivo no existe (¿está conectado el adaptador?). "),
                  ninguno = QStringLiteral("No se ha detectado ningún puerto serie."),
                  ocupado = QStringLiteral("el puerto está ocupado: lo tiene abierto %1. Ciérrelo y vuelva a intentarlo.");
    // The device is /dev/ttyUSB0 unless the row says otherwise; the reason follows its name.
    const struct {
        FalloPuerto f;
        QString motivo;
    } casos[] = {
        {{EACCES, usb, QStringLiteral("Permission denied"), grupo, {}, {}},
         permiso + QStringLiteral(". Pertenece al grupo dialout: añada su usuario a ese grupo con \"sudo usermod "
                                  "-aG dialout $USER\" y vuelva a iniciar la sesión.")},
        {{EPERM, usb, {}, QStringLiteral("root"), {}, {}}, permiso + QStringLiteral("; solo el administrador (root) puede abrirlo.")},
        {{EACCES, usb, {}, {}, {}, {}}, permiso + QStringLiteral("; pida acceso al administrador del equipo.")},
        {{ENOENT, usb, QStringLiteral("No such file or directory"), {}, dos, {}},
         noExiste + QStringLiteral("Puertos detectados: ") + dos.join(QStringLiteral(", ")) + QLatin1Char('.')},
        {{ENOENT, usb, {}, {}, dos.mid(1), {}}, noExiste + QStringLiteral("Puerto detectado: /dev/ttyS0.")},
        {{ENOENT, usb, {}, {}, {}, {}}, noExiste + ninguno},
        {{EIO, QStringLiteral("/dev/ttyS3"), QStringLiteral("Input/output error"), {}, {}, {}},
         QStringLiteral("no hay ningún puerto serie detrás de ese dispositivo (¿está conectado el adaptador?). ") + ninguno},
        {{EBUSY, usb, {}, {}, {}, QStringLiteral("minicom (PID 812)")}, ocupado.arg(QStringLiteral("minicom (PID 812)"))},
        {{EBUSY, usb, QStringLiteral("Device or resource busy"), {}, {}, {}}, ocupado.arg(QStringLiteral("otro programa"))},
        {{EINVAL, usb, QStringLiteral("Invalid argument"), grupo, dos, {}}, QStringLiteral("Invalid argument")},
        {{0, usb, {}, {}, {}, {}}, QStringLiteral("error desconocido")},
    };
    for (const auto& c : casos)
        EXPECT_EQ(MotivoFallo(c.f), c.f.dispositivo + QStringLiteral(": ") + c.motivo) << c.f.error;
}

// What the reasons are made from: the device's group, the holder named by a lock file, the
// stable names and the kind of error.
TEST(MotivoPuerto, WhatTheSystemTells) {
    QTemporaryDir dir;
    const QDir d(dir.path());
    const QString dispositivo = d.filePath(QStringLiteral("ttyFALSO"));
    QFile(dispositivo).open(QIODevice::WriteOnly);
    EXPECT_EQ(GrupoDispositivo(dispositivo), QString::fromLocal8Bit(::getgrgid(::getegid())->gr_name));
    EXPECT_EQ(GrupoDispositivo(d.filePath(QStringLiteral("no-existe"))), QString());

    const auto bloqueo = [&](const QByteArray& contenido) {
        QFile f(d.filePath(QStringLiteral("LCK..ttyFALSO")));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(contenido);
    };
    QFile comm(QStringLiteral("/proc/self/comm"));
    ASSERT_TRUE(comm.open(QIODevice::ReadOnly));
    const QString yo =
        QStringLiteral("%1 (PID %2)").arg(QString::fromLocal8Bit(comm.readAll()).trimmed()).arg(::getpid());
    bloqueo(QByteArray::number(::getpid()).rightJustified(10) + "\n"); // the serial tools' form
    EXPECT_EQ(OcupantePuerto(dispositivo, {dir.path()}), yo);
    bloqueo(QByteArray::number(::getpid()) + "\nquoravex\nhost\n"); // QLockFile's form
    EXPECT_EQ(OcupantePuerto(dispositivo, {dir.path()}), yo);
    bloqueo("999999999\n"); // a stale lock and nobody holding the file
    EXPECT_EQ(OcupantePuerto(dispositivo, {dir.path()}), QString());

    EXPECT_EQ(ErrorApertura(QSerialPort::DeviceNotFoundError, d.filePath(QStringLiteral("no-existe"))),
              ENOENT);
    EXPECT_EQ(ErrorApertura(QSerialPort::DeviceNotFoundError, dispositivo), ENODEV);
    EXPECT_EQ(ErrorApertura(QSerialPort::PermissionError, dispositivo), EBUSY); // this user may use it
    EXPECT_EQ(ErrorApertura(QSerialPort::ResourceError, dispositivo), EIO);
    EXPECT_EQ(ErrorApertura(QSerialPort::UnsupportedOperationError, dispositivo), 0);

    // Stable names: a link that leads to a present port, and one to a device that is gone.
    const QDir porId(d.filePath(QStringLiteral("by-id")));
    ASSERT_TRUE(d.mkdir(QStringLiteral("by-id")));
    const QString estable = porId.filePath(QStringLiteral("usb-FTDI_FT232R_A1-if00-port0"));
    ASSERT_TRUE(QFile::link(QStringLiteral("../ttyFALSO"), estable));
    ASSERT_TRUE(QFile::link(QStringLiteral("../ttyUSB9"), porId.filePath(QStringLiteral("usb-gone"))));
    PuertoDetectado sistema{QStringLiteral("/dev/ttyS0"), QStringLiteral("ttyS0")};
    PuertoDetectado usb{dispositivo, QStringLiteral("ttyFALSO"), QStringLiteral("FT232R USB UART")};
    const QList<PuertoDetectado> puertos = OrdenarPuertos({sistema, usb}, EnlacesEstables(porId.path()));
    ASSERT_EQ(puertos.size(), 2);
    EXPECT_EQ(puertos[0].estable, estable);
    EXPECT_EQ(puertos[0].texto(), estable + QStringLiteral(" (FT232R USB UART)"));
    EXPECT_EQ(puertos[1].texto(), QStringLiteral("/dev/ttyS0"));
}
