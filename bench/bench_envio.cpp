// Time of a full send against the time its bytes need on the line. The virtual printer
// paces both directions at the line speed (11 bits a byte at 19200 baud); it answers at
// once, 50 ms late, or through a USB adapter's 16 ms latency timer. The ratio shows what
// the program's waits add to the wire and to the printer's own delay.
#include "platform/EnvioConsola.h"
#include "DisenoBanco.h"

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
    int tramas = 0;
};

// Frames sent, from the log: every "O -> " line but the two that only mark a step.
int contarTramas(const QString& log) {
    int n = 0;
    for (const QStringView l : QStringView(log).split(QLatin1Char('\n')))
        if (l.startsWith(u"O -> ") && l != u"O -> INICIO_ENVIO" && l != u"O -> FIN_ENVIO_FONT") ++n;
    return n;
}

Medida medir(const Design& d, const QString& carpeta, const QStringList& opciones) {
    Medida m;
    QProcess sim;
    sim.setProgram(QStringLiteral(QUORAVEX_PRINTER_SIM));
    sim.setArguments(QStringList{QStringLiteral("--pace"), QStringLiteral("--out"),
                                 carpeta + QStringLiteral("/impresora")} +
                     opciones);
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
    QString log;
    QTextStream s(&log);
    const ResultadoEnvioConsola r = EnviarDisenoConsola(d, std::move(o), s);
    m.ok = r.ok;
    m.duracionMs = r.duracionMs;
    m.tramas = contarTramas(log);

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
    QTemporaryDir temporal;
    Design d;
    const QString carpeta = bench::PrepararDisenoBanco(argc, argv, temporal, d, "bench_envio");
    if (carpeta.isEmpty()) return 1;
    std::printf("send of a 3-push-button design at 19200 baud to the paced virtual printer, 16 ms wait ticks\n");
    std::printf("%-22s %7s %7s %9s %9s %7s %8s\n", "printer", "bytes", "frames", "wire ms", "send ms", "ratio",
                "repeats");
    const struct {
        const char* nombre;
        QStringList opciones;
        int latenciaMs; // taken out of the send time before the ratio
    } casos[] = {
        {"answers at once", {}, 0},
        {"50 ms late", {QStringLiteral("--latency-ms"), QStringLiteral("50")}, 50},
        {"USB latency timer 16", {QStringLiteral("--usb-ms"), QStringLiteral("16")}, 0},
    };
    int tramasLimpias = 0;
    for (const auto& c : casos) {
        const Medida m = medir(d, carpeta, c.opciones);
        if (!m.ok || m.bytes == 0) {
            std::printf("%-22s send failed\n", c.nombre);
            continue;
        }
        if (tramasLimpias == 0) tramasLimpias = m.tramas;
        const double cable = m.bytes * 11.0 * 1000.0 / 19200.0;
        const double ratio = (m.duracionMs - static_cast<double>(m.tramas) * c.latenciaMs) / cable;
        std::printf("%-22s %7lld %7d %9.0f %9lld %7.2f %8d\n", c.nombre, m.bytes, m.tramas, cable, m.duracionMs,
                    ratio, m.tramas - tramasLimpias);
    }
    std::printf("goals: ratio at most 1.15, no repeats\n");
    return 0;
}
