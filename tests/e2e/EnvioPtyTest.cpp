// Sends to the virtual printer, a process of its own on a pseudo-terminal, answering as
// hardware does: late, in pieces, through a USB adapter's latency timer, busy, refusing
// frames and losing replies. Both front ends: quoravex-cli send and the transfer window.
#include "Simulador.h"
#include "dialogs/FrmEnviar.h"
#include "document/ArchivoDiseno.h"
#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"
#include "platform/EnvioConsola.h"
#include "platform/SystemSerialPort.h"
#include "support/DisenoEjemplo.h"
#include "support/Esperar.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

namespace {

const QString ErrorComunicacion = QStringLiteral("Error de comunicación con Impresora");

struct Envio {
    bool ok = false;
    QString log;
    QStringList mensajes;
};

// A small design whose files were generated, and the printer on a pseudo-terminal.
struct Mesa {
    explicit Mesa(const QStringList& fallos = {})
        : generado(EscribirDisenoEjemplo(design, dir.path(), 2, 10, false)),
          simulador(QDir(dir.path()).filePath(QStringLiteral("impresora")), fallos) {}

    // quoravex-cli send on the design saved as a file; it generates the files anew.
    Envio enviarCli(const QStringList& extra = {}) {
        const QString tck = QDir(dir.path()).filePath(QStringLiteral("diseno.tck"));
        archivos = QDir(dir.path()).filePath(QStringLiteral("cli"));
        if (!GuardarDisenoComo(design, tck).correcto) return {};
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(QStringLiteral(QUORAVEX_CLI),
                QStringList{QStringLiteral("send"), tck, QStringLiteral("--port"), simulador.pty(),
                            QStringLiteral("--dir"), archivos} +
                    extra);
        if (!p.waitForFinished(180000)) {
            p.kill();
            p.waitForFinished();
        }
        const QString salida = QString::fromUtf8(p.readAllStandardOutput());
        Envio e{p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, salida, {}};
        if (salida.contains(ErrorComunicacion)) e.mensajes << ErrorComunicacion;
        return e;
    }
    // "IniciarEnvio" in the transfer window, on the operating system's serial device.
    Envio enviarVentana() {
        archivos = dir.path();
        auto puerto = std::make_unique<SystemSerialPort>();
        puerto->fijarDispositivo(simulador.pty());
        Envio e;
        OpcionesVentanaEnlace o;
        o.puerto = std::move(puerto);
        o.directorio = dir.path();
        o.mostrarMensaje = [&e](const QString& texto, const QString&) { e.mensajes << texto; };
        FrmEnviar ventana(design, std::move(o));
        if (!ventana.cargar()) return e;
        ventana.show();
        ventana.PBIniciar->click();
        EsperarHasta([&] { return ventana.PBIniciar->isEnabled(); }, 180000);
        e.log = ventana.TBBufRX->toPlainText();
        e.ok = ventana.PBIniciar->isEnabled() && !ventana.enlace().ErrorEnvio && e.mensajes.isEmpty();
        return e;
    }
    // The console runner in this process, as quoravex-cli runs it.
    ResultadoEnvioConsola enviarConsola() {
        archivos = dir.path();
        OpcionesEnvioConsola o;
        o.dispositivo = simulador.pty();
        o.carpeta = dir.path();
        QTextStream s(&log);
        return EnviarDisenoConsola(design, std::move(o), s);
    }
    QByteArray generadoArchivo(const QString& nombre) const {
        QFile f(QDir(archivos).filePath(nombre));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The printer kept every raster file and the turn font exactly as they were generated.
    void compararArchivos() {
        ASSERT_TRUE(simulador.esperarLinea(QStringLiteral("font: DatosRasterTurno.bin")))
            << simulador.lineas().join(QLatin1Char('\n')).toStdString();
        for (int k = 0; k <= design.NumPulsadores; ++k) {
            const QString nombre = TransferenciaRaster::NombreArchivo(k);
            EXPECT_EQ(simulador.archivo(nombre).toHex(), generadoArchivo(nombre).toHex())
                << nombre.toStdString();
        }
        const QByteArray font = generadoArchivo(TipoFont::Turno().archivo);
        EXPECT_GT(font.size(), 8);
        EXPECT_EQ(simulador.archivo(TipoFont::Turno().archivo).toHex(), font.toHex());
    }

    QTemporaryDir dir;
    Design design;
    bool generado;
    Simulador simulador;
    QString archivos; // where the front end's files are
    QString log;
};

enum class Repite {
    Nunca,     // no frame goes out twice
    TrasNak,   // only the frames the printer refused
    Permitido, // replies are lost: frames are repeated after their wait
};

struct Caso {
    const char* nombre;
    QStringList opciones;
    Repite repite;
    bool lento; // left out of the sanitizer build
};

class Impresoras : public ::testing::TestWithParam<std::tuple<Caso, bool>> {};

TEST_P(Impresoras, EveryFileArrivesUnchangedAndSuccessIsReportedOnlyWhenItDid) {
    const auto& [c, ventana] = GetParam();
#ifdef QUORAVEX_SANITIZE
    if (c.lento) GTEST_SKIP() << "slow printer: run in the normal build";
#endif
    Mesa m(QStringList{QStringLiteral("--pace")} + c.opciones);
    ASSERT_TRUE(m.generado);
    ASSERT_FALSE(m.simulador.pty().isEmpty());
    const Envio e = ventana ? m.enviarVentana() : m.enviarCli();
    ASSERT_TRUE(e.ok) << e.mensajes.join(QLatin1Char('\n')).toStdString() << "\n"
                      << e.log.right(3000).toStdString();
    EXPECT_TRUE(e.mensajes.isEmpty());
    m.compararArchivos();

    const QStringList lineas = e.log.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < lineas.size(); ++i) {
        if (!lineas[i].contains(QStringLiteral("REPITE"))) continue;
        EXPECT_NE(c.repite, Repite::Nunca) << lineas[i].toStdString();
        if (c.repite == Repite::TrasNak) {
            EXPECT_EQ(lineas.value(i - 1), QStringLiteral("  R -> NAK")) << "line " << i;
        }
    }
    // The send ended with the printer's acknowledgement of the turn font's terminator
    // (a busy printer says PROCESANDO first, and the poll gets the ACK).
    QStringList finales = lineas.mid(lineas.lastIndexOf(QStringLiteral("O -> ENV_TERMINADOR_FONT")));
    finales.removeAll(QStringLiteral("  R -> TIME OUT"));
    finales.removeAll(QStringLiteral("  R -> PROCESANDO"));
    EXPECT_EQ(finales.join(QLatin1Char('|')).toStdString(),
              "O -> ENV_TERMINADOR_FONT|  R -> ACK|O -> FIN_ENVIO_FONT");
}

QStringList Opciones(std::initializer_list<const char*> o) {
    QStringList r;
    for (const char* s : o)
        r << QString::fromLatin1(s);
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    EnvioPty, Impresoras,
    ::testing::Combine(
        ::testing::Values(
            Caso{"AtOnce", {}, Repite::Nunca, false},
            Caso{"Late20ms", Opciones({"--latency-ms", "20"}), Repite::Nunca, true},
            Caso{"Late50ms", Opciones({"--latency-ms", "50"}), Repite::Nunca, true},
            Caso{"UsbLatencyTimer16ms", Opciones({"--usb-ms", "16"}), Repite::Nunca, true},
            Caso{"RepliesSplitInTwo", Opciones({"--split", "--split-ms", "12"}), Repite::Nunca, true},
            Caso{"Busy", Opciones({"--processing-first"}), Repite::Nunca, true},
            Caso{"NakEveryThirdFrame", Opciones({"--nak-every", "3"}), Repite::TrasNak, true},
            // Half of the font's blocks lose their reply and wait 51 ticks each: 90 s.
            Caso{"EveryThirdReplyLostAt50ms", Opciones({"--drop-every", "3", "--latency-ms", "50"}),
                 Repite::Permitido, true}),
        ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<Caso, bool>>& i) {
        return std::string(std::get<0>(i.param).nombre) + (std::get<1>(i.param) ? "_Window" : "_Cli");
    });

TEST(EnvioPty, SilentPrinterFailsWithTheMessageInBoundedTime) {
    // 11 tries of the erase frame, 11 wait ticks each: about 2 s at 16 ms.
    Mesa m({QStringLiteral("--silent")});
    ASSERT_FALSE(m.simulador.pty().isEmpty());
    QElapsedTimer t;
    t.start();
    const Envio e = m.enviarCli();
    EXPECT_FALSE(e.ok);
    EXPECT_EQ(e.mensajes, QStringList{ErrorComunicacion}) << e.log.toStdString();
    EXPECT_EQ(e.log.count(QStringLiteral("O -> BORRADO")), 11);
    EXPECT_LT(t.elapsed(), 15000);
}

TEST(EnvioPty, PicturesOfTheTicketsAsPrinted) {
    Mesa m;
    ASSERT_TRUE(m.generado);
    const ResultadoEnvioConsola r = m.enviarConsola();
    ASSERT_TRUE(r.ok) << m.log.toStdString();
    EXPECT_TRUE(r.rasterCompleto);
    EXPECT_TRUE(r.fontTurno);
    // The pictures are drawn once the rasters are in, and again with the turn font.
    ASSERT_TRUE(m.simulador.esperarLinea(QStringLiteral("bytes:"), 5000, 2));
    QImage comun, boton2;
    ASSERT_TRUE(comun.loadFromData(m.simulador.archivo(QStringLiteral("Ticket00.png"))));
    ASSERT_TRUE(boton2.loadFromData(m.simulador.archivo(QStringLiteral("Ticket02.png"))));
    EXPECT_EQ(comun.size(), QSize(384, 401));
    const auto negro = [](const QImage& i, int x, int y) { return qGray(i.pixel(x, y)) == 0; };
    EXPECT_TRUE(negro(comun, 100, 61) && negro(boton2, 100, 61)); // the common part's line
    EXPECT_FALSE(negro(comun, 100, 200));
    EXPECT_TRUE(negro(boton2, 110, 360)); // push-button 2's own box
    EXPECT_FALSE(negro(comun, 110, 360));
    int tinta = 0; // the turn number printed with the received font at the field's place
    for (int y = 120; y < 180; ++y)
        for (int x = 120; x < 280; ++x)
            tinta += negro(comun, x, y) ? 1 : 0;
    EXPECT_GT(tinta, 20);
}

TEST(EnvioPty, PrinterKilledMidTransferEndsWithAMessage) {
    Mesa m({QStringLiteral("--pace")});
    ASSERT_TRUE(m.generado);
    ASSERT_FALSE(m.simulador.pty().isEmpty());
    QTimer::singleShot(400, [&] { m.simulador.proceso().kill(); });
    const ResultadoEnvioConsola r = m.enviarConsola();
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.tiempoAgotado);
    ASSERT_FALSE(r.mensajes.isEmpty()) << m.log.toStdString();
    // The port's own reason may follow on a second line.
    const QString mensaje = r.mensajes.first().section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(mensaje == QStringLiteral("Error en el puerto de comunicaciones ") + m.simulador.pty() ||
                mensaje == ErrorComunicacion)
        << mensaje.toStdString();
}

TEST(EnvioPty, ClockFrameSetsThePrinterClockAndMissingDevicesFailAtOnce) {
    QTemporaryDir dir;
    Simulador sim(dir.path());
    ASSERT_FALSE(sim.pty().isEmpty());
    OpcionesEnvioConsola o;
    o.dispositivo = sim.pty();
    QString log;
    QTextStream s(&log);
    const QDateTime momento(QDate(2009, 6, 2), QTime(7, 5, 18));
    const ResultadoEnvioConsola r = EnviarFechaHoraConsola(std::move(o), s, [&] { return momento; });
    EXPECT_TRUE(r.ok && r.sinConfirmacion) << log.toStdString();
    EXPECT_TRUE(sim.esperarLinea(QStringLiteral("reloj: 2009-06-02 07:05:18")))
        << sim.lineas().join(QLatin1Char('\n')).toStdString();

    OpcionesEnvioConsola falta;
    falta.dispositivo = QStringLiteral("/dev/quoravex-no-such-port");
    Design d;
    const ResultadoEnvioConsola sinPuerto = EnviarDisenoConsola(d, std::move(falta), s);
    EXPECT_FALSE(sinPuerto.ok);
    ASSERT_EQ(sinPuerto.mensajes.size(), 1);
    EXPECT_TRUE(sinPuerto.mensajes.first().startsWith(QStringLiteral(
        "No se puede abrir el puerto /dev/quoravex-no-such-port\n"
        "/dev/quoravex-no-such-port: el dispositivo no existe (¿está conectado el adaptador?). ")))
        << sinPuerto.mensajes.first().toStdString();
}

} // namespace
