#include "dialogs/FrmEnviar.h"
#include "dialogs/FrmEnviarFechaHora.h"
#include "document/Design.h"
#include "link/FakeSerialPort.h"
#include "link/ImpresoraVirtual.h"
#include "link/ParPuertos.h"
#include "platform/RelojesEnlace.h"

#include "support/Esperar.h"
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

namespace {

QByteArray Bytes(std::initializer_list<int> v) {
    QByteArray r;
    for (int b : v)
        r.append(static_cast<char>(b));
    return r;
}

struct Mensaje {
    QString texto;
    QString titulo;
};

// A transfer window whose port is one end of a cable in memory; the virtual printer sits
// on the other end and the cable delivers on every turn of the event loop.
struct Banco {
    explicit Banco(std::unique_ptr<SerialPort> puerto = {}) {
        design.LargoTicket = 300;
        design.ModeloTeclado = 1;
        if (!puerto) {
            auto pc = std::make_unique<PuertoEnlazado>();
            pc->otro = &lado;
            lado.otro = pc.get();
            lado.abierto = true;
            cable = pc.get();
            puerto = std::move(pc);
        }
        OpcionesVentanaEnlace o;
        o.puerto = std::move(puerto);
        o.directorio = dir.path();
        o.mostrarMensaje = [this](const QString& t, const QString& ti) { mensajes.append({t, ti}); };
        ventana = std::make_unique<FrmEnviar>(design, std::move(o));
        repartir();
    }
    void repartir() {
        QObject::connect(&reparto, &QTimer::timeout, &reparto, [this] {
            if (!cable) return;
            while (cable->entregar() || lado.entregar()) {
            }
        });
        reparto.start(0);
    }
    void escribir(const QString& nombre, const QByteArray& datos) {
        QFile f(QDir(dir.path()).filePath(nombre));
        if (f.open(QIODevice::WriteOnly)) f.write(datos);
    }
    QString log() const { return ventana->TBBufRX->toPlainText(); }
    bool terminado() { return ventana->PBIniciar->isEnabled() && !ventana->enviarTodo().activo(); }

    QTemporaryDir dir;
    Design design;
    PuertoEnlazado lado; // the printer's end
    PuertoEnlazado* cable = nullptr;
    ImpresoraVirtual impresora{lado};
    QList<Mensaje> mensajes;
    std::unique_ptr<FrmEnviar> ventana;
    QTimer reparto;
};

const QByteArray Raster00 = Bytes({0x00, 0x00, 0x03, 0x02, 0x81, 0x18, 0x01, 0x40, 0x01, 0x3C});
const QByteArray FontTurno =
    Bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10, 0x30, 0x0C, 0x00, 0x08, 0x00, 0x00,
           0x00, 0x01, 0x02, 0x00, 0x40, 0x01, 0x02, 0x31, 0x0C, 0x00, 0x00, 0x00, 0xFF});

} // namespace

TEST(FrmEnviar, IniciarEnvioSendsRastersAndTurnFontShowingLogAndBars) {
    Banco b;
    b.escribir(QStringLiteral("Salida00.bin"), Raster00);
    b.escribir(QStringLiteral("DatosRasterTurno.bin"), FontTurno);
    ASSERT_TRUE(b.ventana->cargar());
    EXPECT_EQ(b.ventana->windowTitle(), QStringLiteral("Enviando a Impresora"));
    EXPECT_EQ(b.ventana->LBBarra[0]->text(), QStringLiteral("0%"));
    EXPECT_FALSE(b.ventana->FrmBarra[2]->isVisibleTo(b.ventana.get()));
    EXPECT_TRUE(b.ventana->FrmBarra[1]->isVisibleTo(b.ventana.get()));
    EXPECT_FALSE(b.ventana->AreaDepuracion->isVisibleTo(b.ventana.get()));
    b.ventana->show();

    QTest::mouseClick(b.ventana->PBIniciar, Qt::LeftButton);
    EXPECT_FALSE(b.ventana->PBIniciar->isEnabled());
    ASSERT_TRUE(EsperarHasta([&] { return b.terminado(); }, 20000)) << b.log().toStdString();

    EXPECT_TRUE(b.mensajes.isEmpty());
    EXPECT_EQ(b.impresora.largoTicket, 300);
    ASSERT_EQ(b.impresora.rasters.count(0), 1u);
    EXPECT_EQ(b.impresora.rasters[0].archivo(), Raster00);
    EXPECT_TRUE(b.impresora.rasters[0].completo);
    EXPECT_EQ(b.impresora.fonts[0].archivo(), FontTurno);
    const QStringList lineas = b.log().split(QLatin1Char('\n'));
    EXPECT_EQ(lineas.first(), QStringLiteral("O -> BORRADO"));
    EXPECT_TRUE(lineas.contains(QStringLiteral("O -> ENVIO ( 9)")));
    EXPECT_TRUE(lineas.contains(QStringLiteral("O -> ENV_DATOS_TURNO")));
    EXPECT_EQ(lineas.last(), QStringLiteral("O -> FIN_ENVIO_FONT"));
    EXPECT_EQ(b.ventana->LBBarra[0]->text(), QStringLiteral("100%"));
    EXPECT_EQ(b.ventana->LBBarra[1]->text(), QStringLiteral("100%"));
    EXPECT_EQ(b.ventana->ShBarra[1]->value(), 100);
    EXPECT_EQ(b.ventana->Shape1->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(b.ventana->isVisible());
    EXPECT_TRUE(b.ventana->puerto().isOpen());

    b.ventana->PBBorrarRXBoton->click();
    EXPECT_TRUE(b.log().isEmpty());
    QTest::mouseClick(b.ventana->PBSalirBoton, Qt::LeftButton);
    EXPECT_FALSE(b.ventana->isVisible());
    EXPECT_FALSE(b.ventana->puerto().isOpen());
    EXPECT_FALSE(b.ventana->relojes().activo(Reloj::TOut));
}

TEST(FrmEnviar, SilentPrinterEndsWithTheMessageAndTheWindowStaysOpen) {
    Banco b;
    b.escribir(QStringLiteral("Salida00.bin"), Raster00);
    b.impresora.fallos.silencio = 1000000;
    ASSERT_TRUE(b.ventana->cargar());
    b.ventana->show();
    b.ventana->PBIniciar->click();
    ASSERT_TRUE(EsperarHasta([&] { return b.terminado() && !b.mensajes.isEmpty(); }, 20000));
    ASSERT_EQ(b.mensajes.size(), 1);
    EXPECT_EQ(b.mensajes[0].texto, QStringLiteral("Error de comunicación con Impresora"));
    EXPECT_EQ(b.mensajes[0].titulo, QStringLiteral("Error comunicación"));
    EXPECT_TRUE(b.log().contains(QStringLiteral("  R -> TIME OUT")));
    EXPECT_FALSE(b.log().contains(QStringLiteral("ENV_DATOS_TURNO")));
    EXPECT_TRUE(b.ventana->isVisible());
    EXPECT_TRUE(b.ventana->puerto().isOpen());
}

TEST(FrmEnviar, LoadRefusesAnUnopenablePortOrASecondCopy) {
    struct Caso {
        bool rechazar;
        bool otra;
        QString texto;
        QString titulo;
    };
    const Caso casos[] = {
        {true, false, QStringLiteral("No se puede abrir el puerto COM3"), QStringLiteral("Error critico")},
        {false, true, QStringLiteral("Programa ya en Ejecución"),
         QStringLiteral("Error de inicio de ejecución")},
    };
    for (const Caso& c : casos) {
        auto puerto = std::make_unique<FakeSerialPort>();
        puerto->rechazarApertura = c.rechazar;
        FakeSerialPort* fake = puerto.get();
        QList<Mensaje> mensajes;
        OpcionesVentanaEnlace o;
        o.puertoCom = 3;
        o.otraInstancia = c.otra;
        o.puerto = std::move(puerto);
        o.mostrarMensaje = [&](const QString& t, const QString& ti) { mensajes.append({t, ti}); };
        Design d;
        FrmEnviar v(d, std::move(o));
        EXPECT_FALSE(v.cargar()) << c.texto.toStdString();
        ASSERT_EQ(mensajes.size(), 1);
        EXPECT_EQ(mensajes[0].texto, c.texto);
        EXPECT_EQ(mensajes[0].titulo, c.titulo);
        EXPECT_FALSE(fake->abierto);
        EXPECT_FALSE(v.isVisible());
    }
}

TEST(FrmEnviar, PortLostDuringASendShowsTheMessageAndClosesTheWindow) {
    auto puerto = std::make_unique<FakeSerialPort>();
    FakeSerialPort* fake = puerto.get();
    Banco b(std::move(puerto));
    b.escribir(QStringLiteral("Salida00.bin"), Raster00);
    ASSERT_TRUE(b.ventana->cargar());
    EXPECT_EQ(fake->linea, LineaEnvio);
    b.ventana->show();
    b.ventana->PBIniciar->click();
    ASSERT_TRUE(EsperarHasta([&] { return !fake->escritos.isEmpty(); }, 5000));

    // A device error that reopening cannot cure.
    fake->rechazarApertura = true;
    fake->fail(EventoDcb);
    ASSERT_TRUE(EsperarHasta([&] { return !b.ventana->isVisible(); }, 5000));
    ASSERT_EQ(b.mensajes.size(), 1);
    EXPECT_EQ(b.mensajes[0].texto, QStringLiteral("Error en el puerto de comunicaciones COM1"));
    EXPECT_EQ(b.mensajes[0].titulo, QStringLiteral("Error critico"));
    EXPECT_FALSE(b.ventana->relojes().activo(Reloj::Raster));

    // A cured error is silent and the window stays.
    Banco otro(std::make_unique<FakeSerialPort>());
    ASSERT_TRUE(otro.ventana->cargar());
    otro.ventana->show();
    static_cast<FakeSerialPort&>(otro.ventana->puerto()).fail(EventoEncuadre);
    QTest::qWait(20);
    EXPECT_TRUE(otro.ventana->isVisible());
    EXPECT_TRUE(otro.mensajes.isEmpty());
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
    ASSERT_EQ(fake->escritos.size(), 1);
    EXPECT_EQ(fake->escritos[0], Bytes({0x00, 0x51, 0x0F, 0x02, 0x00, 0x00, 0x09, 0x00, 0x06, 0x03,
                                        0x00, 0x02, 0x00, 0x07, 0x00, 0x05, 0x01, 0x08, 0x3D, 0x86}));
    EXPECT_FALSE(fake->abierto);
}
