// quoravex-cli send and clock against the virtual printer, each a process of its own.
#include "Simulador.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using quoravex::test::Simulador;

namespace {

struct Salida {
    int codigo = -1;
    QString out;
    QString err;
};

Salida cli(const QStringList& argumentos, int maximoMs = 60000) {
    QProcess p;
    p.setWorkingDirectory(QStringLiteral(QUORAVEX_DATOS_PRUEBA));
    p.start(QStringLiteral(QUORAVEX_CLI), argumentos);
    if (!p.waitForFinished(maximoMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(CliEnvio, SendDeliversWhatGenerateWrites) {
    QTemporaryDir impresora, generados;
    Simulador sim(impresora.path());
    ASSERT_FALSE(sim.pty().isEmpty());
    const Salida s =
        cli({QStringLiteral("send"), QStringLiteral("muestra.tck"), QStringLiteral("--port"), sim.pty(),
             QStringLiteral("--dir"), generados.path(), QStringLiteral("--tick-ms"), QStringLiteral("2")});
    ASSERT_EQ(s.codigo, 0) << s.err.toStdString();
    EXPECT_TRUE(s.out.contains(QStringLiteral("O -> ")));
    ASSERT_TRUE(sim.esperarLinea(QStringLiteral("font: DatosRasterTurno.bin")));
    for (const char* nombre :
         {"Salida00.bin", "Salida01.bin", "Salida02.bin", "Salida03.bin", "DatosRasterTurno.bin"}) {
        QFile f(QDir(generados.path()).filePath(QString::fromLatin1(nombre)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << nombre;
        EXPECT_EQ(sim.archivo(QString::fromLatin1(nombre)), f.readAll()) << nombre;
    }
}

TEST(CliEnvio, SilentPrinterFailsWithTheMessageAndClockNeedsAPort) {
    QTemporaryDir impresora;
    Simulador sim(impresora.path(), {QStringLiteral("--silent")});
    ASSERT_FALSE(sim.pty().isEmpty());
    const Salida s = cli({QStringLiteral("send"), QStringLiteral("muestra.tck"), QStringLiteral("--port"),
                          sim.pty(), QStringLiteral("--tick-ms"), QStringLiteral("1")});
    EXPECT_EQ(s.codigo, 1);
    EXPECT_TRUE((s.out + s.err).contains(QStringLiteral("Error de comunicación con Impresora")))
        << (s.out + s.err).toStdString();

    EXPECT_EQ(cli({QStringLiteral("clock")}).codigo, 2);
    const Salida reloj = cli({QStringLiteral("clock"), QStringLiteral("--port"), sim.pty()});
    EXPECT_EQ(reloj.codigo, 0) << reloj.err.toStdString();
}
