#include "dialogs/FrmEnviar.h"
#include "document/Design.h"
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

// Start is off while the rasters and the turn font go out, logged frame by frame and filling
// the bars; leaving closes the port. What the printer receives, refused loads, a silent or lost
// printer and the clock window are driven from the main window (tests/app, tests/e2e).
TEST(FrmEnviar, IniciarEnvioSendsRastersAndTurnFont) {
    const QByteArray raster = Bytes({0x00, 0x00, 0x03, 0x02, 0x81, 0x18, 0x01, 0x40, 0x01, 0x3C});
    const QByteArray font =
        Bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10, 0x30, 0x0C, 0x00, 0x08, 0x00, 0x00,
               0x00, 0x01, 0x02, 0x00, 0x40, 0x01, 0x02, 0x31, 0x0C, 0x00, 0x00, 0x00, 0xFF});
    QTemporaryDir dir;
    for (const auto& [nombre, datos] : {std::pair{"Salida00.bin", raster}, std::pair{"DatosRasterTurno.bin", font}}) {
        QFile f(QDir(dir.path()).filePath(QString::fromLatin1(nombre)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size());
    }
    Design design;
    design.LargoTicket = 300;
    CablePrueba cable;
    QStringList mensajes;
    OpcionesVentanaEnlace o;
    o.puerto = cable.puerto();
    o.puertoCom = 1;
    o.directorio = dir.path();
    o.mostrarMensaje = [&](const QString& t, const QString&) { mensajes << t; };
    FrmEnviar v(design, std::move(o));
    const auto log = [&] { return v.TBBufRX->toPlainText(); };

    ASSERT_TRUE(v.cargar());
    EXPECT_EQ(v.LBBarra[0]->text(), QStringLiteral("0%"));
    EXPECT_TRUE(v.FrmBarra[1]->isVisibleTo(&v) && !v.FrmBarra[2]->isVisibleTo(&v));
    v.show();
    QTest::mouseClick(v.PBIniciar, Qt::LeftButton);
    EXPECT_FALSE(v.PBIniciar->isEnabled());
    ASSERT_TRUE(EsperarHasta([&] { return v.PBIniciar->isEnabled() && !v.enviarTodo().activo(); }, 20000))
        << log().toStdString();
    const QStringList lineas = log().split(QLatin1Char('\n'));
    EXPECT_EQ(std::tuple(lineas.first(), lineas.contains(QStringLiteral("O -> ENVIO ( 9)")), lineas.last()),
              std::tuple(QStringLiteral("O -> BORRADO"), true, QStringLiteral("O -> FIN_ENVIO_FONT")));
    EXPECT_EQ(std::tuple(v.LBBarra[0]->text(), v.LBBarra[1]->text(), v.ShBarra[1]->value(), mensajes),
              std::tuple(QStringLiteral("100%"), QStringLiteral("100%"), 100, QStringList()));
    EXPECT_EQ(v.Shape1->palette().color(QPalette::Window), QColor(Qt::white));
    v.PBBorrarRXBoton->click();
    EXPECT_TRUE(log().isEmpty());
    QTest::mouseClick(v.PBSalirBoton, Qt::LeftButton);
    EXPECT_FALSE(v.isVisible() || v.puerto().isOpen() || v.relojes().activo(Reloj::TOut));
}
