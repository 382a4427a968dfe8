// The virtual printer, a process of its own on a pseudo-terminal: sends answered as hardware
// does (late, in pieces, through a USB adapter's latency timer, busy, refusing frames and
// losing replies) from both front ends, quoravex-cli send and the transfer window; a fleet
// with each printer's values from a table; a USB adapter pulled out mid-send (the fleet's case
// is in RedTest) and a device this user may not open.
#include "Simulador.h"
#include "app/VentanaPrueba.h"
#include "document/Ficheros.h"
#include "platform/DispositivoSerie.h"
#include "render/CodigoBarras.h"
#include "render/DescripcionCodigo.h"
#include "render/ImagenObjeto.h"

#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

using namespace quoravex;
using namespace quoravex::test;

namespace {

// The bench with one printer, and quoravex-cli send to it (the transfer window is the bench's).
struct Mesa : Banco {
    explicit Mesa(const QStringList& fallos = {}) : simulador(impresora(fallos)) {}

    // quoravex-cli send on the design saved as a file; it generates the files anew.
    Salida enviarCli() {
        archivos = ruta(QStringLiteral("cli"));
        return correr({QStringLiteral("send"), tck, QStringLiteral("--port"), simulador.pty(),
                       QStringLiteral("--dir"), archivos});
    }
    Simulador& simulador;
    QString archivos = dir.path(); // where the front end's files are
};

struct Caso {
    const char* nombre;
    const char* opciones; // the printer's, separated by spaces
};

class Impresoras : public ::testing::TestWithParam<std::tuple<Caso, bool>> {};

TEST_P(Impresoras, EveryFileArrivesUnchangedAndSuccessIsReportedOnlyWhenItDid) {
    const auto& [c, ventana] = GetParam();
#ifdef QUORAVEX_SANITIZE
    if (*c.opciones) GTEST_SKIP() << "slow printer: run in the normal build";
#endif
    Mesa m(QStringLiteral("--pace %1")
               .arg(QLatin1String(c.opciones))
               .split(QLatin1Char(' '), Qt::SkipEmptyParts));
    ASSERT_TRUE(m.generado);
    ASSERT_FALSE(m.simulador.pty().isEmpty());
    const Salida e = ventana ? m.enviarVentana(m.simulador.pty()) : m.enviarCli();
    ASSERT_EQ(e.codigo, 0) << e.mensajes.join(QLatin1Char('\n')).toStdString() << "\n"
                           << e.out.right(3000).toStdString() << e.err.toStdString();
    EXPECT_FALSE(e.out.contains(ErrorComunicacion));
    m.compararArchivos(m.simulador, m.archivos);
    if (ventana || *c.opciones) return;
    // The send, drawn by the printer as it would print the tickets: once the rasters are in,
    // and again with the turn font.
    ASSERT_TRUE(m.simulador.esperarLinea(QStringLiteral("bytes:"), 5000, 2));
    QImage comun, boton2;
    ASSERT_TRUE(comun.loadFromData(m.simulador.archivo(QStringLiteral("Ticket00.png"))));
    ASSERT_TRUE(boton2.loadFromData(m.simulador.archivo(QStringLiteral("Ticket02.png"))));
    EXPECT_EQ(comun.size(), QSize(384, 401));
    const auto negro = [](const QImage& i, int x, int y) { return qGray(i.pixel(x, y)) == 0; };
    // The common part's line on both; push-button 2's own box on its ticket only.
    EXPECT_EQ(std::tuple(negro(comun, 100, 61), negro(boton2, 100, 61), negro(comun, 100, 200),
                         negro(boton2, 110, 360), negro(comun, 110, 360)),
              std::tuple(true, true, false, true, false));
    int tinta = 0; // the turn number printed with the received font at the field's place
    for (int y = 120; y < 180; ++y)
        for (int x = 120; x < 280; ++x)
            tinta += negro(comun, x, y) ? 1 : 0;
    EXPECT_GT(tinta, 20);
}

INSTANTIATE_TEST_SUITE_P(
    EnvioPty, Impresoras,
    ::testing::Combine(
        ::testing::Values(Caso{"AtOnce", ""}, Caso{"Late20ms", "--latency-ms 20"},
                          Caso{"Late50ms", "--latency-ms 50"}, Caso{"UsbLatencyTimer16ms", "--usb-ms 16"},
                          Caso{"RepliesSplitInTwo", "--split --split-ms 12"},
                          Caso{"Busy", "--processing-first"}, Caso{"NakEveryThirdFrame", "--nak-every 3"},
                          // Half of the font's blocks lose their reply and wait 51 ticks each: 90 s.
                          Caso{"EveryThirdReplyLostAt50ms", "--drop-every 3 --latency-ms 50"}),
        ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<Caso, bool>>& i) {
        return std::string(std::get<0>(i.param).nombre) + (std::get<1>(i.param) ? "_Window" : "_Cli");
    });

} // namespace

// One design, one table: quoravex-cli send to four virtual printers listed in a CSV file,
// each with its office's values; the fourth row lacks a value and fails alone.
TEST(CamposFlotaPty, EachPrinterGetsTheFilesOfItsRowAndAMissingValueFailsAlone) {
#ifdef QUORAVEX_SANITIZE
    GTEST_SKIP() << "four printers at once: run in the normal build";
#endif
    // The sample ticket with the office's name and a QR code that calls it.
    Banco b;
    ASSERT_TRUE(b.generado);
    Design& design = b.design;
    NuevoObjeto n{TipoTextoFijo, std::nullopt, 200, 1, 382, 120, QStringLiteral("Oficina {sucursal}")};
    ObjetoTicket& texto = design.objeto(design.agregar(n));
    texto.Pendiente = Falso;
    texto.FontName = QStringLiteral("DejaVu Sans");
    texto.FontSize = 14;
    ParametrosCodigo qr;
    qr.datos = QStringLiteral("tel:{tel}");
    const QImage simbolo = GenerarCodigo(qr).imagen;
    const QString bitmap = b.ruta(QStringLiteral("qr.bmp"));
    ASSERT_TRUE(GuardarImagenTrabajo(simbolo, bitmap) &&
                EscribirFichero(RutaDescripcionCodigo(bitmap), EscribirDescripcionCodigo(qr)));
    n = NuevoObjeto{TipoImagen, {}, 230, 142, simbolo.width(), simbolo.height(), {}, 1};
    ObjetoTicket& codigo = design.objeto(design.agregar(n));
    codigo.Pendiente = Falso;
    codigo.ImagenTrabajo = bitmap;
    codigo.ImagenOrigen = RutaDescripcionCodigo(bitmap);
    codigo.AnchoImagen = static_cast<int16_t>(simbolo.width());
    ASSERT_TRUE(GuardarDisenoComo(design, b.tck).correcto);
    auto& impresoras = b.impresoras;
    for (int i = 0; i < 4; ++i)
        ASSERT_FALSE(b.impresora().pty().isEmpty());
    const QStringList sucursales = {QStringLiteral("Centro"), QStringLiteral("Norte; planta \"B\""),
                                    QStringLiteral("Peñíscola"), QStringLiteral("Sur")};
    const QStringList telefonos = {QStringLiteral("911111111"), QStringLiteral("922222222"),
                                   QStringLiteral("933333333"), QString()};
    const QString tabla = b.ruta(QStringLiteral("oficinas.csv"));
    ASSERT_TRUE(quoravex::pruebas::Escribir(
        tabla,
        QStringLiteral(
            "puerto;sucursal;tel;sin_uso\r\n%1;Centro;911111111;x\r\n"
            "%2;\"Norte; planta \"\"B\"\"\";922222222;x\r\n%3;Peñíscola;933333333;x\r\n%4;Sur;;x\r\n")
            .arg(impresoras[0]->pty(), impresoras[1]->pty(), impresoras[2]->pty(), impresoras[3]->pty())
            .toUtf8()));
    const Salida r = b.correr({QStringLiteral("send"), b.tck, QStringLiteral("--ports-from"), tabla,
                               QStringLiteral("--parallel"), QStringLiteral("2")});
    const QString& err = r.err;
    EXPECT_EQ(r.codigo, 1) << err.toStdString();
    EXPECT_TRUE(err.contains(
        QStringLiteral("Aviso: la columna \"sin_uso\" de la tabla no es ningún campo del diseño; "
                       "no se usa.\n")))
        << err.toStdString();

    // Every printer with its values has exactly what "generate --valor" writes for its row.
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QString generados = b.ruta(QStringLiteral("generados%1").arg(i));
        const Salida g = b.correr({QStringLiteral("generate"), b.tck, QStringLiteral("--dir"), generados,
                                   QStringLiteral("--valor"), QStringLiteral("sucursal=") + sucursales[i],
                                   QStringLiteral("--valor"), QStringLiteral("tel=") + telefonos[i]});
        ASSERT_EQ(g.codigo, 0) << g.err.toStdString();
        b.compararArchivos(*impresoras[i], generados);
    }
    // The table tells the printers apart by their first value; the fourth fails alone.
    const QStringList lineas = err.split(QLatin1Char('\n'));
    const qsizetype cabecera =
        lineas.indexOf(QRegularExpression(QStringLiteral("^Puerto +sucursal +Resultado .*")));
    ASSERT_GE(cabecera, 0) << err.toStdString();
    for (int i = 0; i < 4; ++i) {
        const QString fila = lineas.value(cabecera + 1 + i);
        EXPECT_TRUE(fila.startsWith(impresoras[i]->pty()) &&
                    fila.contains(QStringLiteral("  ") + sucursales[i]) &&
                    fila.contains(i < 3 ? QStringLiteral("correcto")
                                        : QStringLiteral("Falta el valor del campo {tel}")))
            << fila.toStdString();
    }
}

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
        QStringLiteral("Error en el puerto de comunicaciones COM1 (%1)\n%1: el dispositivo no existe")
            .arg(sim.pty())))
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
    const QString motivo =
        esclavo + QStringLiteral(": no tiene permiso para usar el dispositivo") +
        (grupo == QStringLiteral("root") ? QStringLiteral("; solo el administrador")
                                         : QStringLiteral(". Pertenece al grupo %1: ").arg(grupo));
    EXPECT_TRUE(err.contains(motivo)) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("No se puede abrir el puerto %1\n").arg(esclavo) + motivo))
        << out.toStdString();
}
