// quoravex-cli send to a fleet: three virtual printers listed in a file, one that never
// answers and a device that does not exist, two at a time.
#include "Simulador.h"
#include "document/ArchivoDiseno.h"
#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"
#include "platform/FlotaEnvio.h"
#include "support/DisenoEjemplo.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace quoravex;
using namespace quoravex::test;

namespace {

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(FlotaPty, GoodPrintersGetTheSameFilesAndTheFailuresAreNamedAndListed) {
#ifdef QUORAVEX_SANITIZE
    GTEST_SKIP() << "five printers at once: run in the normal build";
#endif
    QTemporaryDir dir;
    const QDir d(dir.path());
    Design design;
    ASSERT_TRUE(EscribirDisenoEjemplo(design, dir.path(), 2, 10, false));
    const QString tck = d.filePath(QStringLiteral("diseno.tck"));
    ASSERT_TRUE(GuardarDisenoComo(design, tck).correcto);

    std::vector<std::unique_ptr<Simulador>> buenas;
    for (int i = 0; i < 3; ++i) {
        buenas.push_back(std::make_unique<Simulador>(d.filePath(QStringLiteral("impresora%1").arg(i))));
        ASSERT_FALSE(buenas.back()->pty().isEmpty());
    }
    Simulador muda(d.filePath(QStringLiteral("muda")), {QStringLiteral("--silent")});
    ASSERT_FALSE(muda.pty().isEmpty());
    const QString falta = QStringLiteral("/dev/quoravex-no-such-port");

    const QString lista = d.filePath(QStringLiteral("impresoras.txt"));
    {
        QFile f(lista);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("# planta baja\n%1\n\n   %2   # caja 2\n\t\n%3\n")
                    .arg(buenas[0]->pty(), buenas[1]->pty(), buenas[2]->pty())
                    .toUtf8());
    }
    const QString archivos = d.filePath(QStringLiteral("generados"));
    const QString registros = d.filePath(QStringLiteral("registros"));
    const QString fallidos = d.filePath(QStringLiteral("fallidos.txt"));
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(QUORAVEX_CLI),
            {QStringLiteral("send"), tck, QStringLiteral("--ports-from"), lista, QStringLiteral("--port"),
             muda.pty(), QStringLiteral("--port"), falta, QStringLiteral("--parallel"), QStringLiteral("2"),
             QStringLiteral("--dir"), archivos, QStringLiteral("--log-dir"), registros,
             QStringLiteral("--failed-to"), fallidos});
    ASSERT_TRUE(p.waitForFinished(180000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(std::pair(p.exitStatus(), p.exitCode()), std::pair(QProcess::NormalExit, 1))
        << err.toStdString();
    EXPECT_EQ(out, QString()) << "several printers' logs go to their files only";

    // The three printers kept exactly the files that were generated once for all of them.
    QStringList nombres;
    for (int k = 0; k <= design.NumPulsadores; ++k)
        nombres << TransferenciaRaster::NombreArchivo(k);
    nombres << TipoFont::Turno().archivo;
    for (auto& s : buenas) {
        ASSERT_TRUE(s->esperarLinea(QStringLiteral("font: DatosRasterTurno.bin")))
            << s->lineas().join(QLatin1Char('\n')).toStdString();
        for (const QString& n : nombres) {
            const QByteArray generado = Leer(QDir(archivos).filePath(n));
            EXPECT_FALSE(generado.isEmpty()) << n.toStdString();
            EXPECT_EQ(s->archivo(n).toHex(), generado.toHex())
                << s->pty().toStdString() << " " << n.toStdString();
        }
    }

    // A line for each printer as it ended, then the table: port, result, seconds, repeats.
    QStringList puertos;
    for (auto& s : buenas)
        puertos << s->pty();
    puertos << muda.pty() << falta;
    const QStringList lineas = err.split(QLatin1Char('\n'));
    const QRegularExpression fila(QStringLiteral("^(\\S+)\\s+(.+\\S)\\s+(\\d+\\.\\d)\\s+(\\d+)$"));
    QStringList filas; // "result|repeats" of each port's row
    for (const QString& puerto : puertos) {
        QString enTabla;
        for (const QString& l : lineas)
            if (const auto m = fila.match(l); m.hasMatch() && m.captured(1) == puerto)
                enTabla = m.captured(2) + QLatin1Char('|') + m.captured(4);
        filas << enTabla;
        const QRegularExpression alTerminar(QStringLiteral("^%1: ").arg(QRegularExpression::escape(puerto)));
        EXPECT_EQ(lineas.filter(alTerminar).size(), 1) << puerto.toStdString() << "\n" << err.toStdString();
    }
    // The silent printer got its erase frame 11 times; the others answered every frame.
    EXPECT_EQ(filas.mid(0, 4), (QStringList{QStringLiteral("correcto|0"), QStringLiteral("correcto|0"),
                                            QStringLiteral("correcto|0"),
                                            QStringLiteral("Error de comunicación con Impresora|10")}))
        << err.toStdString();
    // The device that does not exist: what the port says, or that it could not be opened.
    const QString noAbre = filas[4].section(QLatin1Char('|'), 0, 0);
    EXPECT_TRUE(filas[4].endsWith(QStringLiteral("|0")) && !noAbre.isEmpty() &&
                noAbre != QStringLiteral("correcto"))
        << err.toStdString();
    EXPECT_TRUE(lineas.contains(falta + QStringLiteral(": ") + noAbre)) << err.toStdString();

    // The failed ports, ready for --ports-from.
    EXPECT_EQ(QString::fromUtf8(Leer(fallidos)), muda.pty() + QLatin1Char('\n') + falta + QLatin1Char('\n'));

    // Each printer's log in its own file.
    const QStringList logs = NombresRegistro(puertos);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Leer(QDir(registros).filePath(logs[i])).contains("O -> FIN_ENVIO_FONT"))
            << logs[i].toStdString();
    EXPECT_EQ(Leer(QDir(registros).filePath(logs[3])).count("O -> BORRADO"), 11);
    EXPECT_TRUE(Leer(QDir(registros).filePath(logs[4])).contains(falta.toUtf8()));
}
