// Printers behind a serial device server (ser2net) on the loopback interface, reached over
// RFC 2217 and raw TCP by quoravex-cli, several at once.
#include "Ser2net.h"
#include "Simulador.h"
#include "dialogs/FrmEnviar.h"
#include "document/ArchivoDiseno.h"
#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"
#include "support/DisenoEjemplo.h"
#include "support/Esperar.h"

#include <QPushButton>

#include <QRegularExpression>
#include <sys/resource.h>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace quoravex;
using namespace quoravex::test;

namespace {

struct Resultado {
    int codigo = -1;
    QString salida;
    // The lines of the output that name this port.
    QStringList lineasDe(const QString& puerto) const {
        QStringList r;
        for (const QString& l : salida.split(QLatin1Char('\n')))
            if (l.contains(puerto)) r << l;
        return r;
    }
};

// A saved design with 0xFF bytes in its raster files, and printers on pseudo-terminals.
struct Flota {
    Flota() {
        generado = EscribirDisenoEjemplo(design, dir.path(), 2, 10, false);
        tck = QDir(dir.path()).filePath(QStringLiteral("diseno.tck"));
        archivos = QDir(dir.path()).filePath(QStringLiteral("archivos"));
        guardado = GuardarDisenoComo(design, tck).correcto;
    }
    Simulador& impresora(const QStringList& fallos = {}) {
        const QString carpeta = QDir(dir.path()).filePath(QStringLiteral("impresora%1").arg(impresoras.size()));
        impresoras.push_back(std::make_unique<Simulador>(carpeta, fallos));
        return *impresoras.back();
    }
    QProcess* iniciar(const QStringList& argumentos) {
        auto* p = new QProcess;
        p->setWorkingDirectory(dir.path());
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QStringLiteral(QUORAVEX_CLI), argumentos);
        return p;
    }
    static Resultado terminar(QProcess* p) {
        if (!p->waitForFinished(180000)) p->kill();
        p->waitForFinished();
        Resultado r{p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1,
                    QString::fromUtf8(p->readAll())};
        delete p;
        return r;
    }
    static QStringList puertos(const QStringList& nombres) {
        QStringList r;
        for (const QString& n : nombres) r << QStringLiteral("--port") << n;
        return r;
    }
    QByteArray generadoArchivo(const QString& nombre) const {
        QFile f(QDir(archivos).filePath(nombre));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The printer kept every raster file and the turn font exactly as they were generated.
    void compararArchivos(Simulador& s) {
        ASSERT_TRUE(s.esperarLinea(QStringLiteral("font: DatosRasterTurno.bin")))
            << s.lineas().join(QLatin1Char('\n')).toStdString();
        for (int k = 0; k <= design.NumPulsadores; ++k) {
            const QString nombre = TransferenciaRaster::NombreArchivo(k);
            EXPECT_EQ(s.archivo(nombre).toHex(), generadoArchivo(nombre).toHex()) << nombre.toStdString();
        }
        EXPECT_EQ(s.archivo(TipoFont::Turno().archivo).toHex(), generadoArchivo(TipoFont::Turno().archivo).toHex());
    }
    // The line settings the printer saw its frames at, as it reported them.
    static QStringList lineas(Simulador& s) { return s.lineas().filter(QRegularExpression(QStringLiteral("^LINEA "))); }

    QTemporaryDir dir;
    Design design;
    bool generado = false;
    bool guardado = false;
    QString tck;
    QString archivos;
    std::vector<std::unique_ptr<Simulador>> impresoras;
};

} // namespace

// One send to three printers over RFC 2217: each gets the files byte for byte, 0xFF data
// included, at the line settings the program asked the server for; then their clocks.
TEST(RedSer2net, ThreePrintersOverRfc2217) {
#ifdef QUORAVEX_SANITIZE
    GTEST_SKIP() << "slow end-to-end scenario: normal build only";
#endif
    Flota f;
    ASSERT_TRUE(f.generado && f.guardado);
    QList<Ser2net::Acceso> accesos;
    for (int i = 0; i < 3; ++i) accesos.append({f.impresora().pty(), true});
    Ser2net servidor(f.dir.path(), accesos);
    ASSERT_TRUE(servidor.listo()) << servidor.salida().toStdString();

    const Resultado envio = Flota::terminar(f.iniciar(QStringList{QStringLiteral("send"), f.tck, QStringLiteral("--dir"),
                                                                  f.archivos} +
                                                      Flota::puertos(servidor.nombres())));
    EXPECT_EQ(envio.codigo, 0) << envio.salida.toStdString();
    bool hayFF = false;
    for (int k = 0; k <= f.design.NumPulsadores; ++k)
        hayFF = hayFF || f.generadoArchivo(TransferenciaRaster::NombreArchivo(k)).contains('\xff');
    EXPECT_TRUE(hayFF) << "the design must have 0xFF data bytes";
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        f.compararArchivos(*f.impresoras[static_cast<size_t>(i)]);
        EXPECT_EQ(Flota::lineas(*f.impresoras[static_cast<size_t>(i)]), QStringList{QStringLiteral("LINEA 19200,n,8,2")});
        const QStringList fila = envio.lineasDe(servidor.nombre(i));
        EXPECT_FALSE(fila.filter(QStringLiteral("correcto")).isEmpty()) << envio.salida.toStdString();
    }

    const Resultado reloj =
        Flota::terminar(f.iniciar(QStringList{QStringLiteral("clock")} + Flota::puertos(servidor.nombres())));
    EXPECT_EQ(reloj.codigo, 0) << reloj.salida.toStdString();
    EXPECT_EQ(reloj.salida.count(QStringLiteral(": enviado (sin confirmación) (")), 3) << reloj.salida.toStdString();
    for (auto& s : f.impresoras) {
        EXPECT_TRUE(s->esperarLinea(QStringLiteral("reloj: "))) << s->lineas().join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(Flota::lineas(*s).last(), QStringLiteral("LINEA 1200,n,8,2"));
    }
}

// Printers that fail end only their own transfer: a silent printer, a port where nobody
// listens, a host name that does not resolve, servers that flood the line with noise and a
// server that goes away in the middle of the send. The others get their files; the exit
// status and the table tell which failed, and the failed ports are kept for a retry.
TEST(RedSer2net, FailuresEndOnlyTheirOwnPrinter) {
#ifdef QUORAVEX_SANITIZE
    GTEST_SKIP() << "slow end-to-end scenario: normal build only";
#endif
    Flota f;
    ASSERT_TRUE(f.generado && f.guardado);
    Simulador& buena = f.impresora();
    Simulador& cruda = f.impresora();
    Simulador& muda = f.impresora({QStringLiteral("--silent")});
    Simulador& cortada = f.impresora({QStringLiteral("--pace")});
    Ser2net servidor(f.dir.path(), {{buena.pty(), true}, {cruda.pty(), false}, {muda.pty(), true}});
    Ser2net otro(f.dir.path(), {{cortada.pty(), true}});
    ASSERT_TRUE(servidor.listo() && otro.listo());
    const QString rechazado = QStringLiteral("rfc2217://127.0.0.1:%1").arg(PuertoTcpLibre());
    const QString desconocido = QStringLiteral("rfc2217://no-such-host.invalid:2001");
    ServidorInundacion inundaCrudo(false), inundaTelnet(true);
    const QString fallidos = QDir(f.dir.path()).filePath(QStringLiteral("fallidos.txt"));

    const QStringList todos = servidor.nombres() + QStringList{otro.nombre(0), rechazado, desconocido,
                                                               inundaCrudo.nombre(), inundaTelnet.nombre()};
    QProcess* p = f.iniciar(QStringList{QStringLiteral("send"), f.tck, QStringLiteral("--dir"), f.archivos,
                                        QStringLiteral("--failed-to"), fallidos} +
                            Flota::puertos(todos));
    // The paced printer takes seconds for its files: its server goes while they arrive.
    // The flooding servers need this event loop to run.
    ASSERT_TRUE(EsperarHasta([&] { return !cortada.lineas().filter(QStringLiteral("LINEA ")).isEmpty(); }, 20000));
    otro.detener();
    const bool termina = EsperarHasta([&] { return p->state() == QProcess::NotRunning; }, 120000);
    if (!termina) p->kill();
    const Resultado r = Flota::terminar(p);
    ASSERT_TRUE(termina) << "a flooded port or a wrong host name must not hold the fleet up\n"
                         << r.salida.toStdString();
    // The noise never piles up: the whole run stays small.
    rusage uso{};
    getrusage(RUSAGE_CHILDREN, &uso);
    EXPECT_LT(uso.ru_maxrss, 300 * 1024) << "kilobytes";

    EXPECT_EQ(r.codigo, 1) << r.salida.toStdString();
    f.compararArchivos(buena);
    f.compararArchivos(cruda);
    const auto fila = [&](const QString& puerto, const QString& texto) {
        EXPECT_FALSE(r.lineasDe(puerto).filter(texto).isEmpty())
            << puerto.toStdString() << " / " << texto.toStdString() << "\n" << r.salida.toStdString();
    };
    fila(servidor.nombre(0), QStringLiteral("correcto"));
    fila(servidor.nombre(1), QStringLiteral("correcto"));
    fila(servidor.nombre(2), QStringLiteral("Error de comunicación con Impresora"));
    fila(otro.nombre(0), QStringLiteral("perdida: el servidor ha cerrado la conexión"));
    fila(rechazado, QStringLiteral("conexión rechazada"));
    fila(desconocido, QStringLiteral("no se encuentra el servidor no-such-host.invalid"));
    fila(inundaCrudo.nombre(), QStringLiteral("Error de comunicación con Impresora"));
    fila(inundaTelnet.nombre(), QStringLiteral("Error de comunicación con Impresora"));

    QFile lista(fallidos);
    ASSERT_TRUE(lista.open(QIODevice::ReadOnly));
    QStringList escritos = QString::fromUtf8(lista.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    escritos = escritos.filter(QRegularExpression(QStringLiteral("^[^#]")));
    std::sort(escritos.begin(), escritos.end());
    QStringList esperados{servidor.nombre(2), otro.nombre(0), rechazado, desconocido, inundaCrudo.nombre(),
                          inundaTelnet.nombre()};
    std::sort(esperados.begin(), esperados.end());
    EXPECT_EQ(escritos, esperados);
}

// The designer's transfer window on a port number that the settings point at a network port
// ("Device COM3 = rfc2217://..."): the same files arrive, at the line the window asked for.
TEST(RedSer2net, TransferWindowOnAConfiguredNetworkPort) {
    Flota f;
    ASSERT_TRUE(f.generado);
    Simulador& impresora = f.impresora();
    Ser2net servidor(f.dir.path(), {{impresora.pty(), true}});
    ASSERT_TRUE(servidor.listo()) << servidor.salida().toStdString();
    qunsetenv("QUORAVEX_COM3");

    QStringList mensajes;
    OpcionesVentanaEnlace o;
    o.puertoCom = 3;
    o.dispositivo = servidor.nombre(0);
    o.directorio = f.dir.path();
    o.mostrarMensaje = [&mensajes](const QString& texto, const QString&) { mensajes << texto; };
    FrmEnviar ventana(f.design, std::move(o));
    ASSERT_TRUE(ventana.cargar()) << mensajes.join(QLatin1Char('\n')).toStdString();
    ventana.show();
    ventana.PBIniciar->click();
    EsperarHasta([&] { return ventana.PBIniciar->isEnabled(); }, 120000);
    EXPECT_TRUE(mensajes.isEmpty()) << mensajes.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(ventana.enlace().ErrorEnvio);
    f.archivos = f.dir.path();
    f.compararArchivos(impresora);
    EXPECT_EQ(Flota::lineas(impresora), QStringList{QStringLiteral("LINEA 19200,n,8,2")});
}
