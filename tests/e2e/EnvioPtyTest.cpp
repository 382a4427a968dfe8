#include "Simulador.h"
#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"
#include "platform/EnvioConsola.h"
#include "support/DisenoEjemplo.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

namespace {

// A design whose files were generated, and the printer on a pseudo-terminal.
struct Mesa {
    explicit Mesa(const QStringList& fallos = {})
        : generado(EscribirDisenoEjemplo(design, dir.path(), 2, 10, false)),
          simulador(QDir(dir.path()).filePath(QStringLiteral("impresora")), fallos) {}

    ResultadoEnvioConsola enviar(int limiteMs = 20000, AjustesTick ajustes = {}) {
        OpcionesEnvioConsola o;
        o.dispositivo = simulador.pty();
        o.carpeta = dir.path();
        o.limiteMs = limiteMs;
        o.ajustes = ajustes;
        QTextStream s(&log);
        return EnviarDisenoConsola(design, std::move(o), s);
    }
    QByteArray generadoArchivo(const QString& nombre) const {
        QFile f(QDir(dir.path()).filePath(nombre));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The printer kept every raster file and the turn font exactly as they were generated.
    void compararArchivos() {
        ASSERT_TRUE(simulador.esperarLinea(QStringLiteral("font: DatosRasterTurno.bin")))
            << simulador.lineas().join(QLatin1Char('\n')).toStdString();
        for (int k = 0; k <= design.NumPulsadores; ++k) {
            const QString nombre = TransferenciaRaster::NombreArchivo(k);
            EXPECT_EQ(simulador.archivo(nombre), generadoArchivo(nombre)) << nombre.toStdString();
        }
        const QByteArray font = generadoArchivo(TipoFont::Turno().archivo);
        EXPECT_GT(font.size(), 8);
        EXPECT_EQ(simulador.archivo(TipoFont::Turno().archivo), font);
    }

    QTemporaryDir dir;
    Design design;
    bool generado;
    Simulador simulador;
    QString log;
};

} // namespace

TEST(EnvioPty, SendDeliversTheRasterFilesAndTheTurnFontUnchanged) {
    Mesa m;
    ASSERT_TRUE(m.generado);
    ASSERT_FALSE(m.simulador.pty().isEmpty());
    const ResultadoEnvioConsola r = m.enviar();
    EXPECT_TRUE(r.ok) << m.log.toStdString();
    EXPECT_TRUE(r.rasterCompleto);
    EXPECT_TRUE(r.fontTurno);
    EXPECT_TRUE(r.mensajes.isEmpty());
    EXPECT_TRUE(m.log.startsWith(QStringLiteral("O -> BORRADO\n")));
    EXPECT_TRUE(m.log.endsWith(QStringLiteral("O -> FIN_ENVIO_FONT\n")));
    m.compararArchivos();
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

struct CasoFallo {
    const char* nombre;
    QStringList opciones;
    bool debeCompletar;
};

class FalloImpresora : public ::testing::TestWithParam<CasoFallo> {};

TEST_P(FalloImpresora, CompletesOrFailsWithTheMessageInBoundedTime) {
    const CasoFallo& c = GetParam();
    Mesa m(c.opciones);
    ASSERT_TRUE(m.generado);
    ASSERT_FALSE(m.simulador.pty().isEmpty());
    // Ticks of 2 ms leave a loaded machine (or a sanitizer build) time to answer; the
    // waits and retries are counted the same.
    const ResultadoEnvioConsola r = m.enviar(30000, AjustesTick{2});
    EXPECT_FALSE(r.tiempoAgotado);
    if (r.ok) {
        EXPECT_TRUE(r.mensajes.isEmpty());
        m.compararArchivos();
    } else {
        EXPECT_TRUE(r.mensajes.contains(QStringLiteral("Error de comunicación con Impresora")))
            << r.mensajes.join(QLatin1Char('\n')).toStdString();
    }
    EXPECT_EQ(r.ok, c.debeCompletar) << m.log.right(2000).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    EnvioPty, FalloImpresora,
    ::testing::Values(
        CasoFallo{"Silent", {QStringLiteral("--silent")}, false},
        CasoFallo{"DropEvery9", {QStringLiteral("--drop-every"), QStringLiteral("9")}, true},
        CasoFallo{"NakEvery4", {QStringLiteral("--nak-every"), QStringLiteral("4")}, true},
        CasoFallo{"ProcessingFirst", {QStringLiteral("--processing-first")}, true},
        CasoFallo{"GarbageEvery5", {QStringLiteral("--garbage-every"), QStringLiteral("5")}, true},
        CasoFallo{"SplitAnswers",
                  {QStringLiteral("--split"), QStringLiteral("--split-ms"), QStringLiteral("0")},
                  true},
        // Halves of three bytes each, a long pause apart: never a whole answer.
        CasoFallo{"SplitAnswersLongPause",
                  {QStringLiteral("--split"), QStringLiteral("--split-ms"), QStringLiteral("40")},
                  false},
        CasoFallo{"PacedLine", {QStringLiteral("--pace")}, true}),
    [](const ::testing::TestParamInfo<CasoFallo>& i) { return std::string(i.param.nombre); });

TEST(EnvioPty, PrinterKilledMidTransferEndsWithAMessage) {
    Mesa m({QStringLiteral("--pace")});
    ASSERT_TRUE(m.generado);
    ASSERT_FALSE(m.simulador.pty().isEmpty());
    QTimer::singleShot(400, [&] { m.simulador.proceso().kill(); });
    QElapsedTimer t;
    t.start();
    const ResultadoEnvioConsola r = m.enviar(20000);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.tiempoAgotado);
    ASSERT_FALSE(r.mensajes.isEmpty()) << m.log.toStdString();
    const QString& mensaje = r.mensajes.first();
    EXPECT_TRUE(mensaje == QStringLiteral("Error en el puerto de comunicaciones COM1") ||
                mensaje == QStringLiteral("Error de comunicación con Impresora"))
        << mensaje.toStdString();
    EXPECT_LT(t.elapsed(), 15000);
}

TEST(EnvioPty, ClockFrameSetsThePrinterClock) {
    QTemporaryDir dir;
    Simulador sim(dir.path());
    ASSERT_FALSE(sim.pty().isEmpty());
    OpcionesEnvioConsola o;
    o.dispositivo = sim.pty();
    QString log;
    QTextStream s(&log);
    const QDateTime momento(QDate(2009, 6, 2), QTime(7, 5, 18));
    const ResultadoEnvioConsola r = EnviarFechaHoraConsola(std::move(o), s, [&] { return momento; });
    EXPECT_TRUE(r.ok) << log.toStdString();
    EXPECT_TRUE(sim.esperarLinea(QStringLiteral("reloj: 2009-06-02 07:05:18")))
        << sim.lineas().join(QLatin1Char('\n')).toStdString();
}

TEST(EnvioPty, MissingDeviceFailsAtOnceWithTheMessage) {
    OpcionesEnvioConsola o;
    o.dispositivo = QStringLiteral("/dev/quoravex-no-such-port");
    QString log;
    QTextStream s(&log);
    Design d;
    const ResultadoEnvioConsola r = EnviarDisenoConsola(d, std::move(o), s);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.mensajes, QStringList{QStringLiteral("No se puede abrir el puerto COM1")});
}
