#include "app/FormMain.h"
#include "dialogs/Aceptar.h"
#include "dialogs/FrmAbout.h"
#include "dialogs/FrmEntrar.h"
#include "dialogs/FrmPathFilesOut.h"
#include "editor/CanvasTicket.h"
#include "editor/ObjetosCanvas.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quoravex;

namespace {

// A main window whose dialogs are answered by the test instead of a person.
struct Sesion {
    QTemporaryDir dir;
    std::unique_ptr<FormMain> form;
    QStringList mensajes;
    QString longitud;         // typed into the length dialog
    bool respuestaSi = false; // answer of the confirmation dialog
    QString ruta;             // chosen in the file location dialog
    int confirmaciones = 0;

    Sesion() {
        OpcionesArranque o;
        o.dirActual = dir.path();
        o.usarRutaTemporal = true;
        o.rutaTemporal = dir.path();
        form = std::make_unique<FormMain>(o);
        form->design().DirTickets = dir.path() + QLatin1Char('/');
        form->mostrarMensaje = [this](const QString& m) { mensajes << m; };
        form->ejecutarDialogo = [this](QDialog& d) { return responder(d); };
    }

    int responder(QDialog& d) {
        if (auto* e = qobject_cast<FrmEntrar*>(&d)) {
            e->TbEntrar->setText(longitud);
            e->Aceptar_pass->click();
        } else if (auto* a = qobject_cast<Aceptar*>(&d)) {
            ++confirmaciones;
            (respuestaSi ? a->Si : a->No)->click();
        } else if (auto* p = qobject_cast<FrmPathFilesOut*>(&d)) {
            p->RutaElegida = ruta;
            return ruta.isEmpty() ? QDialog::Rejected : QDialog::Accepted;
        } else if (auto* about = qobject_cast<FrmAbout*>(&d)) {
            QTest::mouseDClick(about->Logo, Qt::LeftButton);
            about->Command1->click();
        }
        return d.result();
    }

    Design& d() { return form->design(); }

    int agregarLinea(QRect r, uint32_t pulsadores = 1) {
        NuevoObjeto n;
        n.Tipo = TipoLinea;
        n.Left = r.left();
        n.Top = r.top();
        n.Width = r.width();
        n.Height = r.height();
        n.Pulsadores = pulsadores;
        return AgregarObjeto(d(), form->workspace(), n);
    }
};

} // namespace

TEST(FormMainComandos, KeyboardModelKeepsACountItNoLongerOffers) {
    Sesion s;
    s.form->accion(QStringLiteral("MnuConfigTeclas_3"))->trigger();
    EXPECT_TRUE(s.form->accion(QStringLiteral("nmuConfNumPuls_16"))->isVisible());
    s.form->accion(QStringLiteral("nmuConfNumPuls_12"))->trigger();
    s.form->accion(QStringLiteral("MnuConfigTeclas_1"))->trigger();
    EXPECT_EQ(s.d().NumPulsadores, 12);
    EXPECT_EQ(s.d().ModeloTeclado, 1);
    EXPECT_FALSE(s.form->accion(QStringLiteral("nmuConfNumPuls_5"))->isVisible());
    EXPECT_TRUE(s.form->accion(QStringLiteral("MnuConfigTeclas_1"))->isChecked());
    s.form->accion(QStringLiteral("MnuPortSerie_7"))->trigger();
    EXPECT_EQ(s.d().PuertoCom, 7);
    EXPECT_FALSE(s.form->accion(QStringLiteral("MnuPortSerie_1"))->isChecked());
}

TEST(FormMainComandos, TicketLength) {
    Sesion s;
    const int abajo = s.agregarLinea(QRect(0, 301, 10, 2));
    const int justo = s.agregarLinea(QRect(0, 300, 10, 100));
    s.longitud = QStringLiteral("300");
    s.form->accion(QStringLiteral("mnuConfigLargoTicket"))->trigger();
    EXPECT_EQ(s.d().LargoTicket, 300);
    EXPECT_FALSE(s.d().enUso(abajo));
    EXPECT_TRUE(s.d().enUso(justo));
    EXPECT_EQ(s.form->workspace().PicTicket.height(), 301);

    s.longitud = QStringLiteral("512");
    s.form->accion(QStringLiteral("mnuConfigLargoTicket"))->trigger();
    EXPECT_EQ(s.d().LargoTicket, 300);
    EXPECT_EQ(s.mensajes,
              QStringList{QStringLiteral(
                  "Longitud demasiado grande! (Longitud de 1 a 511). Por Favor cambie su selección.")});
    s.longitud = QStringLiteral("511");
    s.form->accion(QStringLiteral("mnuConfigLargoTicket"))->trigger();
    EXPECT_EQ(s.d().LargoTicket, 511);
    EXPECT_EQ(s.form->canvas().height(), 512);
}

TEST(FormMainComandos, CommandStateFollowsTheDesign) {
    Sesion s;
    s.form->actualizarComandos();
    for (const char* nombre : {"mnuGuardarTicket", "mnuGuardarTicketComo", "mnuEnviarAPrinter"})
        EXPECT_FALSE(s.form->accion(QString::fromLatin1(nombre))->isEnabled()) << nombre;
    NuevoObjeto turno;
    turno.Tipo = TipoTurno;
    const int i = AgregarObjeto(s.d(), s.form->workspace(), turno);
    s.form->actualizarComandos();
    EXPECT_FALSE(s.form->accion(QStringLiteral("mnuAnadirTurno"))->isEnabled());
    EXPECT_TRUE(s.form->accion(QStringLiteral("mnuGuardarTicket"))->isEnabled());
    BorrarObjeto(s.d(), s.form->workspace(), i);
    s.form->actualizarComandos();
    EXPECT_TRUE(s.form->accion(QStringLiteral("mnuAnadirTurno"))->isEnabled());

    s.form->accion(QStringLiteral("nmuConfNumPuls_4"))->trigger();
    s.form->actualizarComandos();
    EXPECT_EQ(s.form->selectorVista().count(), 5);
    s.form->accion(QStringLiteral("mnuTicketTipoPulsadorUnico"))->trigger();
    s.form->actualizarComandos();
    EXPECT_TRUE(s.form->selectorVista().isHidden());
}

TEST(FormMainComandos, ViewSelector) {
    Sesion s;
    s.agregarLinea(QRect(0, 0, 10, 2), 1);
    s.agregarLinea(QRect(0, 10, 10, 2), 1u << 3);
    s.form->accion(QStringLiteral("nmuConfNumPuls_4"))->trigger();
    s.form->actualizarComandos();
    s.form->seleccionVista(QStringLiteral("Ticket Pulsador 3"));
    EXPECT_EQ(s.d().VistaActual, 8u);
    EXPECT_EQ(s.d().Objeto, 2); // the redraw drew up to the last slot
    EXPECT_EQ(s.form->workspace().item(1).point(0, 0), static_cast<int32_t>(ColorGris));

    s.d().Objeto = 0;
    s.form->seleccionVista(QStringLiteral("Ticket Pulsador 3")); // already shown: no redraw
    EXPECT_EQ(s.d().Objeto, 0);
    s.form->seleccionVista(QStringLiteral("Parte Común"));
    EXPECT_EQ(s.d().VistaActual, 1u);
    EXPECT_EQ(s.form->workspace().item(2).left(), 1000); // parked in the common view
}

TEST(FormMainComandos, SaveCloseAndOpenAgain) {
    Sesion s;
    s.agregarLinea(QRect(10, 20, 100, 2));
    s.agregarLinea(QRect(30, 40, 2, 100));
    s.form->accion(QStringLiteral("nmuConfNumPuls_3"))->trigger();
    s.d().TicketModificado = Verdadero;

    s.ruta = s.dir.filePath(QStringLiteral("diseno"));
    s.form->mnuGuardarTicketComo();
    const QString archivo = s.dir.filePath(QStringLiteral("diseno.tck"));
    EXPECT_EQ(QFileInfo(archivo).size(), 3 * 452);
    EXPECT_EQ(s.d().TicketModificado, Falso);

    // Closing a modified design asks; "No" keeps it.
    s.d().TicketModificado = Verdadero;
    s.respuestaSi = false;
    s.form->accion(QStringLiteral("mnuCerrarTicket"))->trigger();
    EXPECT_EQ(s.confirmaciones, 1);
    EXPECT_EQ(s.d().NumObjetos, 2);
    // Opening asks first too, and "No" skips the file dialog.
    s.form->accion(QStringLiteral("mnuAbrirArchivoTicket"))->trigger();
    EXPECT_EQ(s.confirmaciones, 2);
    EXPECT_EQ(s.d().NumObjetos, 2);

    s.respuestaSi = true;
    s.form->accion(QStringLiteral("mnuCerrarTicket"))->trigger();
    EXPECT_EQ(s.d().NumObjetos, 0);
    EXPECT_EQ(s.d().NumPulsadores, 0);

    s.ruta = archivo;
    s.form->accion(QStringLiteral("mnuAbrirArchivoTicket"))->trigger();
    EXPECT_EQ(s.d().NumObjetos, 2);
    EXPECT_EQ(s.d().NumPulsadores, 3);
    EXPECT_EQ(s.d().ArchivoTicket, archivo);
    EXPECT_EQ(s.form->workspace().item(2).geometry(), QRect(30, 40, 2, 100));

    // "Nuevo" on an empty design keeps the length and only resets the file name.
    s.form->accion(QStringLiteral("mnuCerrarTicket"))->trigger();
    s.d().LargoTicket = 320;
    s.form->accion(QStringLiteral("mnuNuevoTicket"))->trigger();
    EXPECT_EQ(s.d().LargoTicket, 320);
    EXPECT_EQ(s.d().ArchivoTicket, s.d().DirTickets + QStringLiteral("TICKET.tck"));
}

TEST(FormMainComandos, LeavingAsksOnlyWithUnsavedChanges) {
    Sesion s;
    s.form->show();
    EXPECT_TRUE(s.form->close());
    EXPECT_EQ(s.confirmaciones, 0);

    Sesion t;
    t.form->show();
    t.agregarLinea(QRect(0, 0, 5, 5));
    t.d().TicketModificado = Verdadero;
    t.respuestaSi = false;
    EXPECT_FALSE(t.form->close());
    EXPECT_TRUE(t.form->isVisible());
    t.respuestaSi = true;
    EXPECT_TRUE(t.form->close());
    EXPECT_EQ(t.confirmaciones, 2);
}

TEST(FormMainComandos, AboutRevealsConfiguration) {
    Sesion s;
    QAction* config = s.form->accion(QStringLiteral("MnuConfig"));
    EXPECT_FALSE(config->isVisible());
    s.form->accion(QStringLiteral("mnuAbout"))->trigger();
    EXPECT_TRUE(config->isVisible());
}

TEST(FormMainComandos, HiddenOutputButtonsWriteAndPlotTheRasterFiles) {
    Sesion s;
    const QString anterior = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(s.dir.path()));
    s.agregarLinea(QRect(0, 0, 16, 2), 1);
    s.agregarLinea(QRect(100, 50, 8, 1), 1u << 2);
    s.form->accion(QStringLiteral("nmuConfNumPuls_2"))->trigger();
    s.d().VistaActual = 4; // the user's view comes back at the end
    s.form->boton(QStringLiteral("Command2"))->click();
    EXPECT_TRUE(QFile::exists(QStringLiteral("Salida02.bin")));
    EXPECT_FALSE(QFile::exists(QStringLiteral("Salida03.bin")));
    EXPECT_EQ(s.form->salidaActual(), 3);
    EXPECT_EQ(s.d().VistaActual, 4u);

    s.form->boton(QStringLiteral("PBCargarSalida_2"))->click();
    const Surface& lienzo = s.form->workspace().PicLienzo;
    EXPECT_EQ(lienzo.point(100, 50), 0);
    EXPECT_EQ(lienzo.point(0, 0), 0xFFFFFF); // the common part is file 00, not 02
    s.form->boton(QStringLiteral("PBCargarSalida_0"))->click();
    EXPECT_EQ(lienzo.point(0, 0), 0);
    EXPECT_EQ(lienzo.point(100, 50), 0xFFFFFF);
    QDir::setCurrent(anterior);
}
