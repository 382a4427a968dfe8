// The printer's port as it fails in real life: a USB adapter pulled out in the middle of the
// transfer window's send (the virtual printer's pseudo-terminal closed; the fleet's case is in
// RedTest), and a device this user may not open.
#include "app/VentanaPrueba.h" // first: its helpers name ::pruebas unqualified

#include "Simulador.h"
#include "platform/DispositivoSerie.h"

#include <QStandardPaths>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

using namespace quoravex;
using namespace quoravex::test;

TEST(Adaptador, PulledOutMidSendClosesTheTransferWindowAndKeepsTheDesign) {
#ifdef QUORAVEX_SANITIZE
    GTEST_SKIP() << "a printer at the line's pace: run in the normal build";
#endif
    VentanaPrueba v;
    Simulador sim(QDir::current().filePath(QStringLiteral("impresora")), {QStringLiteral("--pace")});
    ASSERT_FALSE(sim.pty().isEmpty());
    qputenv("QUORAVEX_COM1", sim.pty().toLocal8Bit());
    v.f.crearPuerto = nullptr; // the system's serial device
    v.d.PuertoCom = 1;
    ASSERT_TRUE(v.f.abrirDiseno(QStringLiteral(QUORAVEX_DATOS_PRUEBA "/muestra.tck")));
    // Generating the files redraws the boxes, which moves their text positions: the design is
    // compared as the send's own generation leaves it.
    ASSERT_TRUE(v.f.mnuGeneraSalida());
    const QByteArray antes = CodificarDiseno(v.d);
    const int16_t modificado = v.d.TicketModificado;
    bool cerrada = false;
    v.f.ejecutarDialogo = [&](QDialog& ventana) {
        auto* f = qobject_cast<FrmEnviar*>(&ventana);
        if (!f) return int(QDialog::Rejected);
        f->show();
        f->PBIniciar->click();
        // Once the printer has taken the erase frame: the rasters follow.
        if (EsperarHasta([&] { return sim.lineas().filter(QStringLiteral("borrado:")).size() > 0; }, 20000))
            sim.proceso().kill();
        cerrada = EsperarHasta([f] { return !f->isVisible(); }, 20000);
        return f->result();
    };
    v.f.actualizarComandos();
    v.menu("mnuEnviarAPrinter");
    qunsetenv("QUORAVEX_COM1");
    const QStringList errores = v.mensajes + v.criticos + v.errores;
    ASSERT_EQ(std::pair(cerrada, errores.size()), std::pair(true, qsizetype(1)))
        << errores.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(errores[0].startsWith(
        QStringLiteral("Error en el puerto de comunicaciones COM1 (%1)\n%1: el dispositivo no existe").arg(sim.pty())))
        << errores[0].toStdString();
    EXPECT_EQ(std::tuple(v.f.isVisible(), CodificarDiseno(v.d), v.d.TicketModificado),
              std::tuple(true, antes, modificado));
}

// Run as root, the test opens a pseudo-terminal that only root may use and runs the command
// as nobody.
TEST(Adaptador, PermissionDeniedNamesTheGroupAndTheCommandToJoinIt) {
#ifdef QUORAVEX_SANITIZE
    GTEST_SKIP() << "runs a process as another user: run in the normal build";
#endif
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (::geteuid() != 0 || setpriv.isEmpty()) GTEST_SKIP() << "needs root and setpriv";
    const int maestro = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(maestro >= 0 && grantpt(maestro) == 0 && unlockpt(maestro) == 0);
    const QString esclavo = QString::fromLocal8Bit(ptsname(maestro));
    const QString grupo = GrupoDispositivo(esclavo);
    ASSERT_FALSE(grupo.isEmpty());
    QProcess p;
    p.setWorkingDirectory(QStringLiteral("/"));
    p.start(setpriv, {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                      QStringLiteral("--clear-groups"), QStringLiteral(QUORAVEX_CLI), QStringLiteral("clock"),
                      QStringLiteral("--port"), esclavo});
    ASSERT_TRUE(p.waitForFinished(60000));
    ::close(maestro);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 1) << err.toStdString();
    // The reason names the device's group (the whole reasons: MotivoPuerto's table).
    const QString motivo = esclavo + QStringLiteral(": no tiene permiso para usar el dispositivo") +
                           (grupo == QStringLiteral("root") ? QStringLiteral("; solo el administrador")
                                                             : QStringLiteral(". Pertenece al grupo %1: ").arg(grupo));
    EXPECT_TRUE(err.contains(motivo)) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("No se puede abrir el puerto %1\n").arg(esclavo) + motivo)) << out.toStdString();
}
