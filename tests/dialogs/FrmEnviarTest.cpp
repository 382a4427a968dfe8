#include "dialogs/FrmEnviar.h"
#include "dialogs/FrmEnviarFechaHora.h"
#include "document/Design.h"
#include "link/FakeSerialPort.h"
#include "platform/RelojesEnlace.h"

#include "support/Bytes.h"
#include "support/Esperar.h"
#include "support/VentanasCable.h"
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;
using quoravex::pruebas::Bytes;

namespace {

struct Mensaje {
    QString texto, titulo;
    bool operator==(const Mensaje&) const = default;
};

// A transfer window on the given port (by default the cable to the virtual printer), with the
// output files it sends written in its folder.
struct Banco {
    explicit Banco(std::unique_ptr<SerialPort> puerto = {}, int com = 1, bool otra = false) {
        design.LargoTicket = 300;
        design.ModeloTeclado = 1;
        OpcionesVentanaEnlace o;
        o.puerto = puerto ? std::move(puerto) : cable.puerto();
        o.puertoCom = com;
        o.otraInstancia = otra;
        o.directorio = dir.path();
        o.mostrarMensaje = [this](const QString& t, const QString& ti) { mensajes.append({t, ti}); };
        ventana = std::make_unique<FrmEnviar>(design, std::move(o));
    }
    void escribir(const QString& nombre, const QByteArray& datos) {
        QFile f(QDir(dir.path()).filePath(nombre));
        if (f.open(QIODevice::WriteOnly)) f.write(datos);
    }
    QString log() const { return ventana->TBBufRX->toPlainText(); }
    bool terminado() { return ventana->PBIniciar->isEnabled() && !ventana->enviarTodo().activo(); }

    QTemporaryDir dir;
    Design design;
    CablePrueba cable;
    QList<Mensaje> mensajes;
    std::unique_ptr<FrmEnviar> ventana;
};

const QByteArray Raster00 = Bytes({0x00, 0x00, 0x03, 0x02, 0x81, 0x18, 0x01, 0x40, 0x01, 0x3C});
const QByteArray FontTurno =
    Bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10, 0x30, 0x0C, 0x00, 0x08, 0x00, 0x00,
           0x00, 0x01, 0x02, 0x00, 0x40, 0x01, 0x02, 0x31, 0x0C, 0x00, 0x00, 0x00, 0xFF});

} // namespace

// Start sends the rasters and the turn font to the printer, logging each frame and filling the
// bars; a printer that never answers ends the send with the message and the window stays open;
// leaving closes the port.
TEST(FrmEnviar, IniciarEnvioSendsRastersAndTurnFontOrReportsASilentPrinter) {
    for (const bool silenciosa : {false, true}) {
        Banco b;
        b.escribir(QStringLiteral("Salida00.bin"), Raster00);
        b.escribir(QStringLiteral("DatosRasterTurno.bin"), FontTurno);
        if (silenciosa) b.cable.impresora.fallos.silencio = 1000000;
        ASSERT_TRUE(b.ventana->cargar());
        EXPECT_EQ(b.ventana->LBBarra[0]->text(), QStringLiteral("0%"));
        EXPECT_TRUE(b.ventana->FrmBarra[1]->isVisibleTo(b.ventana.get()) &&
                    !b.ventana->FrmBarra[2]->isVisibleTo(b.ventana.get()));
        b.ventana->show();
        QTest::mouseClick(b.ventana->PBIniciar, Qt::LeftButton);
        EXPECT_FALSE(b.ventana->PBIniciar->isEnabled());
        ASSERT_TRUE(EsperarHasta([&] { return b.terminado() && b.mensajes.size() == int(silenciosa); }, 20000))
            << b.log().toStdString();
        EXPECT_TRUE(b.ventana->isVisible() && b.ventana->puerto().isOpen());
        const QStringList lineas = b.log().split(QLatin1Char('\n'));
        EXPECT_EQ(lineas.first(), QStringLiteral("O -> BORRADO"));
        EXPECT_EQ(lineas.contains(QStringLiteral("O -> ENV_DATOS_TURNO")), !silenciosa);
        if (silenciosa) {
            EXPECT_EQ(b.mensajes, (QList<Mensaje>{{QStringLiteral("Error de comunicación con Impresora"),
                                                  QStringLiteral("Error comunicación")}}));
            EXPECT_TRUE(lineas.contains(QStringLiteral("  R -> TIME OUT")));
            continue;
        }
        EXPECT_EQ(b.cable.impresora.largoTicket, 300);
        ASSERT_EQ(b.cable.impresora.rasters.count(0), 1u);
        EXPECT_EQ(b.cable.impresora.rasters[0].archivo(), Raster00);
        EXPECT_TRUE(b.cable.impresora.rasters[0].completo);
        EXPECT_EQ(b.cable.impresora.fonts[0].archivo(), FontTurno);
        EXPECT_TRUE(lineas.contains(QStringLiteral("O -> ENVIO ( 9)")));
        EXPECT_EQ(lineas.last(), QStringLiteral("O -> FIN_ENVIO_FONT"));
        EXPECT_EQ(std::tuple(b.ventana->LBBarra[0]->text(), b.ventana->LBBarra[1]->text(),
                             b.ventana->ShBarra[1]->value()),
                  std::tuple(QStringLiteral("100%"), QStringLiteral("100%"), 100));
        EXPECT_EQ(b.ventana->Shape1->palette().color(QPalette::Window), QColor(Qt::white));
        b.ventana->PBBorrarRXBoton->click();
        EXPECT_TRUE(b.log().isEmpty());
        QTest::mouseClick(b.ventana->PBSalirBoton, Qt::LeftButton);
        EXPECT_FALSE(b.ventana->isVisible() || b.ventana->puerto().isOpen() ||
                     b.ventana->relojes().activo(Reloj::TOut));
    }
}

// A port that cannot open or a second copy of the program refuses the load; a device error
// that reopening cannot cure during a send shows the message and closes the window, a cured
// one is silent.
TEST(FrmEnviar, PortErrorsOnLoadAndDuringASend) {
    const struct {
        bool rechazar, otra;
        Mensaje mensaje;
    } casos[] = {
        {true, false, {QStringLiteral("No se puede abrir el puerto COM3"), QStringLiteral("Error critico")}},
        {false, true, {QStringLiteral("Programa ya en Ejecución"), QStringLiteral("Error de inicio de ejecución")}},
    };
    for (const auto& c : casos) {
        auto puerto = std::make_unique<FakeSerialPort>();
        puerto->rechazarApertura = c.rechazar;
        FakeSerialPort* fake = puerto.get();
        Banco b(std::move(puerto), 3, c.otra);
        EXPECT_FALSE(b.ventana->cargar()) << c.mensaje.texto.toStdString();
        EXPECT_EQ(b.mensajes, QList<Mensaje>{c.mensaje});
        EXPECT_FALSE(fake->abierto || b.ventana->isVisible());
    }

    for (const bool curado : {false, true}) {
        auto puerto = std::make_unique<FakeSerialPort>();
        FakeSerialPort* fake = puerto.get();
        Banco b(std::move(puerto));
        b.escribir(QStringLiteral("Salida00.bin"), Raster00);
        ASSERT_TRUE(b.ventana->cargar());
        EXPECT_EQ(fake->linea, LineaEnvio);
        b.ventana->show();
        b.ventana->PBIniciar->click();
        ASSERT_TRUE(EsperarHasta([&] { return !fake->escritos.isEmpty(); }, 5000));
        fake->rechazarApertura = !curado;
        fake->fail(curado ? EventoEncuadre : EventoDcb);
        if (curado) {
            QTest::qWait(20);
            EXPECT_TRUE(b.ventana->isVisible() && b.mensajes.isEmpty());
            continue;
        }
        ASSERT_TRUE(EsperarHasta([&] { return !b.ventana->isVisible(); }, 5000));
        EXPECT_EQ(b.mensajes, (QList<Mensaje>{{QStringLiteral("Error en el puerto de comunicaciones COM1"),
                                               QStringLiteral("Error critico")}}));
        EXPECT_FALSE(b.ventana->relojes().activo(Reloj::Raster));
    }
}

TEST(FrmEnviarFechaHora, SendsTheClockFrameAndClosesItself) {
    auto puerto = std::make_unique<FakeSerialPort>();
    FakeSerialPort* fake = puerto.get();
    OpcionesVentanaEnlace o;
    o.puerto = std::move(puerto);
    const QDateTime momento(QDate(2009, 6, 2), QTime(7, 5, 18));
    FrmEnviarFechaHora v(std::move(o), nullptr, [&] { return momento; });
    ASSERT_TRUE(v.cargar());
    EXPECT_EQ(fake->linea, LineaFechaHora);
    v.show();
    ASSERT_TRUE(EsperarHasta([&] { return !v.isVisible(); }, 5000));
    EXPECT_EQ(fake->escritos, QList<QByteArray>{Bytes({0x00, 0x51, 0x0F, 0x02, 0x00, 0x00, 0x09, 0x00, 0x06,
                                                       0x03, 0x00, 0x02, 0x00, 0x07, 0x00, 0x05, 0x01, 0x08,
                                                       0x3D, 0x86})});
    EXPECT_FALSE(fake->abierto);
}
