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
    NuevoObjeto n;
    n.Tipo = TipoImagen;
    n.Width = n.Height = 96;
    d.Objeto = static_cast<int16_t>(d.agregar(n));
    const QString url = QStringLiteral("https://turnos.example.com/sucursal/") + QString(164, QLatin1Char('a'));
    ASSERT_EQ(url.size(), 200);

    struct Caso {
        Simbologia tipo;
        QString datos;
        int modulo;
        int version;
        const char* error; // what the message says, or nullptr when the code is accepted
    };
    const Caso casos[] = {
        {Simbologia::EAN13, QStringLiteral("12345abc9012"), 2, 0, "EAN-13"},
        {Simbologia::QR, url, 2, 3, "QR"},                    // version 3 holds far less
        {Simbologia::QR, url, 12, 0, "384"},                  // fits a QR, not the ticket
        {Simbologia::QR, QString(), 4, 0, ""},                // nothing to encode yet
        {Simbologia::Code128, QStringLiteral("A-123 ñ"), 2, 0, nullptr},
        {Simbologia::QR, url, 2, 0, nullptr},
    };
    FrmCodigo f(d, ws);
    f.show();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Código de Barras / QR"));
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.datos.left(20).toStdString() + " / " + std::to_string(c.modulo));
        f.cboTipo->setCurrentIndex(f.cboTipo->findData(static_cast<int>(c.tipo)));
        f.txtDatos->setText(c.datos);
        f.spnModulo->setValue(c.modulo);
        f.cboVersion->setCurrentIndex(f.cboVersion->findData(c.version));
        EXPECT_EQ(f.cboVersion->isEnabled(), c.tipo == Simbologia::QR);
        EXPECT_EQ(f.chkTexto->isEnabled(), EsLineal(c.tipo));
        if (c.error) {
            EXPECT_FALSE(f.cmdAceptar->isEnabled());
            EXPECT_FALSE(f.error().isEmpty());
            EXPECT_TRUE(f.error().contains(QString::fromUtf8(c.error))) << f.error().toStdString();
            EXPECT_TRUE(f.lblError->isVisibleTo(&f));
            EXPECT_TRUE(f.imagen().isNull());
        } else {
            EXPECT_TRUE(f.cmdAceptar->isEnabled()) << f.error().toStdString();
            EXPECT_FALSE(f.lblError->isVisibleTo(&f));
            const CodigoGenerado g = GenerarCodigo(f.parametros());
            ASSERT_FALSE(g.imagen.isNull());
            EXPECT_EQ(f.imagen(), g.imagen);
            EXPECT_EQ(f.lblTamano->text(),
                      QStringLiteral("%1 × %2 puntos").arg(g.imagen.width()).arg(g.imagen.height()));
        }
    }
    // Another kind starts at its own module size.
    f.cboTipo->setCurrentIndex(f.cboTipo->findData(static_cast<int>(Simbologia::QR)));
    f.spnModulo->setValue(9);
    f.cboTipo->setCurrentIndex(f.cboTipo->findData(static_cast<int>(Simbologia::Code39)));
    EXPECT_EQ(f.spnModulo->value(), ModuloPorDefecto(Simbologia::Code39));
}
