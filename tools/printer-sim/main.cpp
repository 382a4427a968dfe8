// The virtual printer on a pseudo-terminal: the designer's serial port is pointed at the
// path it prints, and what arrives is kept in a folder as files and ticket pictures.
#include "PuertoPty.h"
#include "SalidaImpresora.h"
#include "document/Version.h"
#include "link/ImpresoraVirtual.h"
#include "link/Trama.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <climits>
#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace quoravex;

namespace {

char gEnlace[4096] = {};

void alTerminar(int) {
    if (gEnlace[0]) ::unlink(gEnlace);
    _exit(0);
}

int entero(const QCommandLineParser& p, const QString& nombre) {
    return p.isSet(nombre) ? std::max(0, p.value(nombre).toInt()) : 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quoravex-printer-sim"));

    QCommandLineParser p;
    p.setApplicationDescription(
        QStringLiteral("Virtual ticket printer on a pseudo-terminal.\n"
                       "It refuses (status 0x0F) what a printer refuses, and does not answer frames\n"
                       "sent at other line settings than 19200 8N2 (the clock: 1200 8N2). After the\n"
                       "line has been quiet for 10 ms, bytes that do not make a frame are dropped\n"
                       "until a frame with a correct CRC comes. It prints \"LINEA <settings>\" when a\n"
                       "frame comes at other line settings than the one before."));
    p.addHelpOption();
    p.addOption(
        QCommandLineOption(QStringLiteral("version"), QStringLiteral("Displays version information.")));
    const auto opcion = [&](const char* nombre, const char* ayuda, const char* valor = nullptr) {
        p.addOption(valor ? QCommandLineOption(QString::fromLatin1(nombre), QString::fromLatin1(ayuda),
                                               QString::fromLatin1(valor))
                          : QCommandLineOption(QString::fromLatin1(nombre), QString::fromLatin1(ayuda)));
    };
    opcion("out", "Folder for the received files and ticket pictures (default ./printer-out).", "dir");
    opcion("link", "Also reach the terminal through this symbolic link (e.g. /tmp/quoravex-com1).", "path");
    opcion("silent", "Never answer.");
    opcion("drop-every", "Do not send every Nth answer.", "n");
    opcion("nak-every", "Refuse every Nth frame with status 0x0F.", "n");
    opcion("processing-first", "Answer every frame but status requests PROCESANDO first.");
    opcion("garbage-every",
           "Put noise bytes before every Nth answer, and on the line to the printer after it, so that the "
           "printer must find the next frame behind them.",
           "n");
    opcion("split", "Send every answer in two chunks.");
    opcion("split-ms", "Pause between the two chunks of an answer (default 1).", "ms");
    opcion("pace", "Take the line's time: 11 bits a byte at the speed the designer set.");
    opcion("latency-ms", "Answer each frame this long after it has fully arrived (default 0).", "ms");
    opcion(
        "usb-ms",
        "Deliver the answers like a USB serial adapter with this latency timer: each byte crosses the line "
        "(11 bits at the set speed) into the adapter, which hands what it holds to the designer on ticks "
        "this many milliseconds apart, on a fixed grid, so an answer may come in two packets. Implies "
        "--pace (default 0: no adapter).",
        "ms");
    opcion(
        "buffer",
        "Receive buffer of n bytes: bytes not yet answered fill it, and bytes that arrive while it is full "
        "are lost (default: no limit).",
        "n");
    p.process(app);
    if (p.isSet(QStringLiteral("version"))) {
        std::fputs(TextoVersion().toUtf8().constData(), stdout);
        return 0;
    }

    PuertoPty puerto;
    QString error;
    if (!puerto.crear(&error)) {
        std::fprintf(stderr, "quoravex-printer-sim: no pseudo-terminal: %s\n", qPrintable(error));
        return 1;
    }
    puerto.fallos.descartarCada = entero(p, QStringLiteral("drop-every"));
    puerto.fallos.basuraCada = entero(p, QStringLiteral("garbage-every"));
    puerto.fallos.partir = p.isSet(QStringLiteral("split"));
    if (p.isSet(QStringLiteral("split-ms")))
        puerto.fallos.pausaPartirMs = entero(p, QStringLiteral("split-ms"));
    puerto.fallos.usbMs = entero(p, QStringLiteral("usb-ms"));
    // Behind an adapter the bytes still cross a real line, at its speed, both ways.
    puerto.fallos.ritmo = p.isSet(QStringLiteral("pace")) || puerto.fallos.usbMs > 0;

    ImpresoraVirtual impresora(puerto);
    if (p.isSet(QStringLiteral("silent"))) impresora.fallos.silencio = INT_MAX;
    impresora.latenciaMs = entero(p, QStringLiteral("latency-ms"));
    impresora.capacidadBuffer = entero(p, QStringLiteral("buffer"));
    impresora.lineaActual = [&] { return puerto.linea(); };
    QObject::connect(&puerto, &PuertoPty::lineaQuieta, &impresora, &ImpresoraVirtual::pausa);
    const int rechazoCada = entero(p, QStringLiteral("nak-every"));
    const bool procesando = p.isSet(QStringLiteral("processing-first"));
    int tramas = 0;
    QTextStream informe(stdout);
    std::optional<ConfiguracionLinea> lineaVista;
    impresora.antesDeTrama = [&](const QByteArray& trama) {
        ++tramas;
        // The line settings each frame came at, whoever set them (a device server among them).
        if (const auto linea = puerto.linea(); linea && linea != lineaVista) {
            lineaVista = linea;
            informe << QStringLiteral("LINEA ") << linea->texto() << Qt::endl;
        }
        if (rechazoCada > 0 && tramas % rechazoCada == 0) impresora.fallos.rechazo = 1;
        if (procesando && static_cast<uint8_t>(trama.at(1)) != CmdStatus) impresora.fallos.procesando = 1;
    };

    const QString carpeta =
        p.isSet(QStringLiteral("out")) ? p.value(QStringLiteral("out")) : QStringLiteral("printer-out");
    SalidaImpresora salida(impresora, carpeta, informe);
    impresora.despuesDeTrama = [&] { salida.revisar(puerto.bytesRecibidos(), puerto.bytesEnviados()); };

    if (p.isSet(QStringLiteral("link"))) {
        const QString enlace = p.value(QStringLiteral("link"));
        QFile::remove(enlace);
        if (!QFile::link(puerto.rutaEsclavo(), enlace)) {
            std::fprintf(stderr, "quoravex-printer-sim: cannot make the link %s\n", qPrintable(enlace));
            return 1;
        }
        qstrncpy(gEnlace, QFile::encodeName(enlace).constData(), sizeof gEnlace);
    }
    std::signal(SIGTERM, alTerminar);
    std::signal(SIGINT, alTerminar);
    std::signal(SIGHUP, alTerminar);

    informe << QStringLiteral("PTY ") << puerto.rutaEsclavo() << Qt::endl;
    return QCoreApplication::exec();
}
