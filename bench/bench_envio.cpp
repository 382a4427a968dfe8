// Time of a full send against the time its bytes need on the line. The virtual printer
// paces both directions at the line speed (11 bits a byte at 19200 baud) and answers at
// once, so the ratio shows what the protocol's waits and the timers add to the wire.
#include "platform/EnvioConsola.h"
#include "support/DisenoEjemplo.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>

using namespace quoravex;

namespace {

struct Medida {
    bool ok = false;
    qint64 duracionMs = 0;
    qint64 bytes = 0;
};

Medida medir(const Design& d, const QString& carpeta, int tickMs) {
    Medida m;
    QProcess sim;
    sim.setProgram(QStringLiteral(QUORAVEX_PRINTER_SIM));
    sim.setArguments(
        {QStringLiteral("--pace"), QStringLiteral("--out"), carpeta + QStringLiteral("/impresora")});
    sim.start();
    QString pty;
    QByteArray salida;
    QElapsedTimer t;
    t.start();
    while (pty.isEmpty() && t.elapsed() < 5000 && sim.waitForReadyRead(100)) {
        salida += sim.readAllStandardOutput();
        const QRegularExpressionMatch r =
            QRegularExpression(QStringLiteral("PTY (\\S+)")).match(QString::fromUtf8(salida));
        if (r.hasMatch()) pty = r.captured(1);
    }
    if (pty.isEmpty()) return m;

    OpcionesEnvioConsola o;
    o.dispositivo = pty;
    o.carpeta = carpeta;
    o.ajustes = AjustesTick{tickMs};
    QString log;
    QTextStream s(&log);
    const ResultadoEnvioConsola r = EnviarDisenoConsola(d, std::move(o), s);
    m.ok = r.ok;
    m.duracionMs = r.duracionMs;

    // The printer reports the bytes of the whole send once the turn font is in.
    sim.waitForReadyRead(500);
    salida += sim.readAllStandardOutput();
    const QString texto = QString::fromUtf8(salida);
    const QRegularExpression bytes(QStringLiteral("bytes: recibidos (\\d+) enviados (\\d+)"));
    for (auto it = bytes.globalMatch(texto); it.hasNext();) {
        const QRegularExpressionMatch x = it.next();
        m.bytes = x.captured(1).toLongLong() + x.captured(2).toLongLong();
    }
    sim.terminate();
    sim.waitForFinished(2000);
    return m;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The design's files and what the printer received stay in the folder given, if any.
    QTemporaryDir temporal;
    const QString carpeta = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporal.path();
    QDir().mkpath(carpeta);
    Design d;
    if (!test::EscribirDisenoEjemplo(d, carpeta, 3)) {
        std::fprintf(stderr, "bench_envio: the design's files could not be made\n");
        return 1;
    }
    std::printf("send of a 3-push-button design at 19200 baud, paced printer answering at once\n");
    std::printf("%-10s %8s %10s %10s %8s\n", "tick", "bytes", "wire ms", "send ms", "ratio");
    for (const int tick : {0, 16}) {
        const Medida m = medir(d, carpeta, tick);
        const double cable = m.bytes * 11.0 * 1000.0 / 19200.0;
        const QString nombre = tick == 0 ? QStringLiteral("nominal") : QStringLiteral("%1 ms").arg(tick);
        if (!m.ok || m.bytes == 0) {
            std::printf("%-10s send failed\n", qPrintable(nombre));
            continue;
        }
        std::printf("%-10s %8lld %10.0f %10lld %8.2f\n", qPrintable(nombre), m.bytes, cable, m.duracionMs,
                    m.duracionMs / cable);
    }
    return 0;
}
