// Sends to the virtual printer, a process of its own on a pseudo-terminal, answering as
// hardware does: late, in pieces, through a USB adapter's latency timer, busy, refusing
// frames and losing replies. Both front ends: quoravex-cli send and the transfer window.
#include "Simulador.h"
#include "platform/SystemSerialPort.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

namespace {

// The bench with one printer, and the two ways of sending to it.
struct Mesa : Banco {
    explicit Mesa(const QStringList& fallos = {}) : simulador(impresora(fallos)) {}

    // quoravex-cli send on the design saved as a file; it generates the files anew.
    Salida enviarCli() {
        archivos = ruta(QStringLiteral("cli"));
        return correr({QStringLiteral("send"), tck, QStringLiteral("--port"), simulador.pty(),
                       QStringLiteral("--dir"), archivos});
    }
    // The transfer window on the operating system's serial device.
    Salida enviarVentana() {
        auto puerto = std::make_unique<SystemSerialPort>();
        puerto->fijarDispositivo(simulador.pty());
        OpcionesVentanaEnlace o;
        o.puerto = std::move(puerto);
        return Banco::enviarVentana(std::move(o));
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
    const Salida e = ventana ? m.enviarVentana() : m.enviarCli();
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
                          Caso{"RepliesSplitInTwo", "--split --split-ms 12"}, Caso{"Busy", "--processing-first"},
                          Caso{"NakEveryThirdFrame", "--nak-every 3"},
                          // Half of the font's blocks lose their reply and wait 51 ticks each: 90 s.
                          Caso{"EveryThirdReplyLostAt50ms", "--drop-every 3 --latency-ms 50"}),
        ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<Caso, bool>>& i) {
        return std::string(std::get<0>(i.param).nombre) + (std::get<1>(i.param) ? "_Window" : "_Cli");
    });

} // namespace
