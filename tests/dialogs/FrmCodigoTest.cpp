#include "dialogs/FrmCodigo.h"
#include "document/Design.h"
#include "render/Workspace.h"
#include "support/FicherosImagen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace pruebas;

// What the symbology refuses, a symbol too small for its data and a code wider than the
// ticket are explained beside the data and cannot be accepted; a good code shows at 100 %.
TEST(FrmCodigo, RefusesWhatCannotPrintAndShowsTheRest) {
    DirectorioActualTemporal actual;
    Design d;
    Workspace ws;
    d.Objeto = static_cast<int16_t>(d.agregar(NuevoObjeto{TipoImagen, std::nullopt, 1, 1, 96, 96}));
    const QString url = QStringLiteral("https://turnos.example.com/sucursal/") + QString(164, QLatin1Char('a'));
    const struct {
        Simbologia tipo;
        QString datos;
        int modulo, version;
        const char* error; // what the message says, or nullptr when the code is accepted
    } casos[] = {
        {Simbologia::EAN13, QStringLiteral("12345abc9012"), 2, 0, "EAN-13"},
        {Simbologia::QR, url, 2, 3, "QR"},     // version 3 holds far less than 200 characters
        {Simbologia::QR, url, 12, 0, "384"},   // fits a QR, not the ticket
        {Simbologia::QR, QString(), 4, 0, ""}, // nothing to encode yet
        {Simbologia::Code128, QStringLiteral("A-123 ñ"), 2, 0, nullptr},
        {Simbologia::QR, url, 2, 0, nullptr},
    };
    FrmCodigo f(d, ws);
    f.show();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.datos.left(20).toStdString() + " / " + std::to_string(c.modulo));
        f.cboTipo->setCurrentIndex(f.cboTipo->findData(static_cast<int>(c.tipo)));
        f.txtDatos->setText(c.datos);
        f.spnModulo->setValue(c.modulo);
        f.cboVersion->setCurrentIndex(f.cboVersion->findData(c.version));
        EXPECT_EQ(std::tuple(f.cboVersion->isEnabled(), f.chkTexto->isEnabled()),
                  std::tuple(c.tipo == Simbologia::QR, EsLineal(c.tipo)));
        EXPECT_EQ(std::tuple(f.cmdAceptar->isEnabled(), f.lblError->isVisibleTo(&f)), std::tuple(!c.error, !!c.error));
        if (c.error) {
            EXPECT_TRUE(!f.error().isEmpty() && f.error().contains(QString::fromUtf8(c.error)))
                << f.error().toStdString();
            EXPECT_TRUE(f.imagen().isNull());
            continue;
        }
        const CodigoGenerado g = GenerarCodigo(f.parametros());
        ASSERT_FALSE(g.imagen.isNull()) << f.error().toStdString();
        EXPECT_EQ(f.imagen(), g.imagen);
        EXPECT_EQ(f.lblTamano->text(), QStringLiteral("%1 × %2 puntos").arg(g.imagen.width()).arg(g.imagen.height()));
    }
    // Another kind starts at its own module size.
    f.spnModulo->setValue(9);
    f.cboTipo->setCurrentIndex(f.cboTipo->findData(static_cast<int>(Simbologia::Code39)));
    EXPECT_EQ(f.spnModulo->value(), ModuloPorDefecto(Simbologia::Code39));
}
