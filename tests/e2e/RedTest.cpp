// Printers behind a serial device server (ser2net) on the loopback interface, reached over
// RFC 2217 and raw TCP by quoravex-cli, several at once, and by the transfer window.
#include "Ser2net.h"
#include "platform/FlotaEnvio.h"
#include "support/Esperar.h"

#include <QRegularExpression>
#include <QTcpServer>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <vector>

namespace quoravex::test {

// A server that never stops sending: every connection gets 0xFF data bytes as fast as it
// takes them (doubled on an RFC 2217 port, as Telnet escapes them). It runs in the test's
// event loop.
class ServidorInundacion {
public:
    explicit ServidorInundacion(bool rfc2217) : mRfc2217(rfc2217) {
        mServidor.listen(QHostAddress::LocalHost);
        QObject::connect(&mServidor, &QTcpServer::newConnection, &mServidor, [this] {
            while (QTcpSocket* s = mServidor.nextPendingConnection()) {
                const auto llenar = [s] {
                    while (s->bytesToWrite() < 256 * 1024)
                        s->write(QByteArray(64 * 1024, '\xff'));
                };
                QObject::connect(s, &QTcpSocket::bytesWritten, s, llenar);
                QObject::connect(s, &QTcpSocket::readyRead, s, [s] { s->readAll(); });
                llenar();
            }
        });
    }
    QString nombre() const { return NombreRed(mRfc2217, mServidor.serverPort()); }

private:
    bool mRfc2217;
    QTcpServer mServidor;
};

} // namespace quoravex::test

using namespace quoravex;
using namespace quoravex::test;

struct Fila {
    QString puerto, resultado;
    int repeticiones; // -1: any (a busy machine may make a good printer repeat a frame)
};

// Each port's line as it ended and its row in the table: port, result, seconds, repeats.
static void ComprobarFilas(const Salida& r, const std::vector<Fila>& filas) {
    const QRegularExpression tabla(QStringLiteral("^(\\S+)\\s+(.+\\S)\\s+\\d+\\.\\d\\s+(\\d+)$"));
    for (const Fila& e : filas) {
        const QStringList lineas = r.err.split(QLatin1Char('\n')).filter(e.puerto);
        const QStringList alTerminar = lineas.filter(QRegularExpression(
            QLatin1Char('^') + QRegularExpression::escape(e.puerto) + QStringLiteral(": ")));
        QString resultado, repeticiones;
        for (const QString& l : lineas)
            if (const auto m = tabla.match(l); m.hasMatch() && m.captured(1) == e.puerto)
                std::tie(resultado, repeticiones) = std::pair(m.captured(2), m.captured(3));
        EXPECT_TRUE(alTerminar.size() == 1 &&
                    alTerminar[0].startsWith(e.puerto + QStringLiteral(": ") + resultado) &&
                    resultado.contains(e.resultado) &&
                    (e.repeticiones < 0 || repeticiones == QString::number(e.repeticiones)))
            << e.puerto.toStdString() << " / " << e.resultado.toStdString() << "\n"
            << r.err.toStdString();
    }
}

// One send to printers over RFC 2217 and raw TCP, on pseudo-terminals and behind failures: a
// device that does not exist, a silent printer, a port where nobody listens, a host name that
// does not resolve, servers that flood the line with noise, a server that goes away in the
// middle of the send and a USB adapter pulled out. The good printers get the files generated
// once for all, byte for byte, 0xFF data included, at the line settings the program asked the
// server for; failures end only their own printer. A line as each printer ends, the table, the
// exit status, the failed ports kept for a retry and each printer's log in its own file tell
// what happened. The transfer window goes first; the clocks last.
TEST(RedSer2net, PrintersOverRfc2217AndOnAPseudoTerminalAndFailuresEndOnlyTheirOwn) {
#ifdef QUORAVEX_SANITIZE
    GTEST_SKIP() << "slow end-to-end scenario: normal build only";
#endif
    Banco b;
    ASSERT_TRUE(b.generado);
    Ser2net servidor(b.dir.path(), {{b.impresora().pty(), true},
                                    {b.impresora().pty(), true},
                                    {b.impresora().pty(), true},
                                    {b.impresora().pty(), false},
                                    {b.impresora({QStringLiteral("--silent")}).pty(), true}});
    Simulador& directa = b.impresora();
    Simulador& cortada = b.impresora({QStringLiteral("--pace")});
    Simulador& sacada = b.impresora({QStringLiteral("--pace")}); // its USB adapter is pulled out
    Ser2net otro(b.dir.path(), {{cortada.pty(), true}});
    ASSERT_TRUE(servidor.listo() && otro.listo() && !directa.pty().isEmpty())
        << servidor.salida().toStdString();
    // First the designer's transfer window, on a port number that the settings point at the
    // first network port ("Device COM3 = rfc2217://...").
    const Salida ventana = b.enviarVentana(servidor.nombre(0));
    EXPECT_EQ(ventana.codigo, 0) << ventana.mensajes.join(QLatin1Char('\n')).toStdString();
    b.compararArchivos(*b.impresoras[0], b.dir.path());

    const QString falta = QStringLiteral("/dev/quoravex-no-such-port"),
                  rechazado = QStringLiteral("rfc2217://127.0.0.1:%1").arg(PuertoTcpLibre()),
                  desconocido = QStringLiteral("rfc2217://no-such-host.invalid:2001");
    ServidorInundacion inundaCrudo(false), inundaTelnet(true);
    const QString archivos = b.ruta(QStringLiteral("archivos")),
                  registros = b.ruta(QStringLiteral("registros")),
                  fallidos = b.ruta(QStringLiteral("fallidos.txt")),
                  lista = b.ruta(QStringLiteral("lista.txt"));
    ASSERT_TRUE(pruebas::Escribir(lista, QStringLiteral("# planta baja\n%1\n\n   %2   # caja 2\n\t\n")
                                             .arg(directa.pty(), servidor.nombre(0))
                                             .toUtf8()));
    // --port first, then the list.
    const QStringList todos =
        servidor.nombres().mid(1) + QStringList{falta,        otro.nombre(0),       rechazado,
                                                desconocido,  inundaCrudo.nombre(), inundaTelnet.nombre(),
                                                sacada.pty(), directa.pty(),        servidor.nombre(0)};
    const auto p =
        b.iniciar(QStringList{QStringLiteral("send"), b.tck, QStringLiteral("--dir"), archivos,
                              QStringLiteral("--log-dir"), registros, QStringLiteral("--failed-to"), fallidos,
                              QStringLiteral("--ports-from"), lista} +
                  Banco::puertos(todos.first(11)));
    // The paced printer takes seconds for its files: its server goes while they arrive.
    // The flooding servers need this event loop to run; on a loaded machine they slow
    // everything down, so the wait is long.
    // The adapter goes once the printer has taken the erase frame: the rasters follow.
    ASSERT_TRUE(
        EsperarHasta([&] { return !sacada.lineas().filter(QStringLiteral("borrado:")).isEmpty(); }, 60000));
    sacada.proceso().kill();
    ASSERT_TRUE(EsperarHasta([&] { return !cortada.lineasSerie().isEmpty(); }, 60000))
        << cortada.lineas().join(QLatin1Char('\n')).toStdString() << otro.salida().toStdString();
    otro.detener();
    const bool termina = EsperarHasta([&] { return p->state() == QProcess::NotRunning; }, 120000);
    if (!termina) p->kill();
    const Salida envio = Banco::terminar(*p);
    ASSERT_TRUE(termina) << "a flooded port or a wrong host name must not hold the fleet up\n"
                         << envio.err.toStdString();
    // The noise never piles up: the whole run stays small.
    rusage uso{};
    getrusage(RUSAGE_CHILDREN, &uso);
    EXPECT_LT(uso.ru_maxrss, 300 * 1024) << "kilobytes";
    EXPECT_EQ(std::pair(envio.codigo, envio.out), std::pair(1, QString()))
        << "several printers' logs go to their files only\n"
        << envio.err.toStdString();

    QByteArray rasters;
    for (int k = 0; k <= b.design.NumPulsadores; ++k)
        rasters += Leer(QDir(archivos).filePath(TransferenciaRaster::NombreArchivo(k)));
    EXPECT_TRUE(rasters.contains('\xff')) << "the design must have 0xFF data bytes";
    for (int i : {0, 1, 2, 3, 5}) {
        SCOPED_TRACE(i);
        b.compararArchivos(*b.impresoras[i], archivos);
        EXPECT_EQ(b.impresoras[i]->lineasSerie(), QStringList{QStringLiteral("LINEA 19200,n,8,2")});
    }
    const QString correcto = QStringLiteral("correcto");
    ComprobarFilas(
        envio,
        {{servidor.nombre(0), correcto, -1},
         {todos[0], correcto, -1},
         {todos[1], correcto, -1},
         {todos[2], correcto, -1},
         {todos[3], ErrorComunicacion, 10}, // the erase frame, 11 times
         {falta, QStringLiteral("el dispositivo no existe"), 0},
         {otro.nombre(0), QStringLiteral("perdida: el servidor ha cerrado la conexión"), -1},
         {rechazado, QStringLiteral("conexión rechazada"), 0},
         {desconocido, QStringLiteral("no se encuentra el servidor no-such-host.invalid"), 0},
         {inundaCrudo.nombre(), ErrorComunicacion, -1},
         {inundaTelnet.nombre(), ErrorComunicacion, -1},
         {sacada.pty(), QStringLiteral("el dispositivo no existe (¿está conectado el adaptador?)"), -1},
         {directa.pty(), correcto, -1}});
    EXPECT_EQ(QString::fromUtf8(Leer(fallidos)), todos.mid(3, 8).join(QLatin1Char('\n')) + QLatin1Char('\n'));
    const QStringList logs = NombresRegistro(todos);
    for (int i : {0, 1, 2, 11, 12})
        EXPECT_TRUE(Leer(QDir(registros).filePath(logs[i])).contains("O -> FIN_ENVIO_FONT"))
            << logs[i].toStdString();
    EXPECT_TRUE(Leer(QDir(registros).filePath(logs[4])).contains(falta.toUtf8()));

    // The clocks: nothing confirms them; a raw socket cannot switch its line to 1200 baud.
    const QString crudo = servidor.nombre(3).toUpper();
    const Salida reloj =
        b.correr(QStringList{QStringLiteral("clock")} + Banco::puertos(servidor.nombres().first(3) << crudo));
    EXPECT_EQ(
        std::tuple(reloj.codigo, reloj.err.count(QStringLiteral(": enviado (sin confirmación) (")),
                   reloj.err.contains(crudo + QStringLiteral(": un puerto socket:// no puede cambiar la "
                                                             "velocidad de la línea; la hora necesita 1200 "
                                                             "baudios: use rfc2217://\n"))),
        std::tuple(1, qsizetype(3), true))
        << reloj.err.toStdString();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(b.impresoras[i]->esperarLinea(QStringLiteral("reloj: ")))
            << b.impresoras[i]->lineas().join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(b.impresoras[i]->lineasSerie().last(), QStringLiteral("LINEA 1200,n,8,2"));
    }
}
