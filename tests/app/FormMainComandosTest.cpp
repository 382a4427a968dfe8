#include "VentanaPrueba.h"

#include <QComboBox>
#include <QDir>

using namespace quoravex;

TEST(FormMainComandos, KeyboardModelKeepsACountItNoLongerOffers) {
    VentanaPrueba s;
    s.disparar("MnuConfigTeclas_3"); // "16 Teclas"
    EXPECT_TRUE(s.accion("nmuConfNumPuls_16")->isVisible());
    s.disparar("nmuConfNumPuls_12");
    s.disparar("MnuConfigTeclas_1"); // "4 Teclas"
    s.disparar("MnuPortSerie_7");
    EXPECT_EQ(std::tuple(int(s.d().NumPulsadores), int(s.d().ModeloTeclado),
                         s.accion("nmuConfNumPuls_5")->isVisible(),
                         s.accion("MnuConfigTeclas_1")->isChecked(), int(s.d().PuertoCom),
                         s.accion("MnuPortSerie_1")->isChecked()),
              std::tuple(12, 1, false, true, 7, false));
}

TEST(FormMainComandos, TicketLength) {
    VentanaPrueba s;
    const int abajo = s.agregarLinea(QRect(0, 301, 10, 2));
    const int justo = s.agregarLinea(QRect(0, 300, 10, 100));
    for (const auto& [largo, esperado] :
         {std::pair("300", 300), std::pair("512", 300), std::pair("5 11", 511)}) {
        s.longitud = QString::fromLatin1(largo);
        s.disparar("mnuConfigLargoTicket");
        EXPECT_EQ(std::tuple(int(s.d().LargoTicket), s.d().enUso(abajo), s.d().enUso(justo),
                             s.form->canvas().height()),
                  std::tuple(esperado, false, true, esperado + 1))
            << largo;
    }
    // The refusal carries the stop icon.
    EXPECT_EQ(s.criticos,
              QStringList{QStringLiteral(
                  "Longitud demasiado grande! (Longitud de 1 a 511). Por Favor cambie su selección.")});
    EXPECT_TRUE(s.mensajes.isEmpty());
}

TEST(FormMainComandos, CommandStateFollowsTheDesign) {
    VentanaPrueba s;
    auto activas = [&] {
        s.form->actualizarComandos();
        QString r;
        for (const char* n :
             {"mnuGuardarTicket", "mnuGuardarTicketComo", "mnuEnviarAPrinter", "mnuAnadirTurno"})
            r += s.accion(n)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return r;
    };
    EXPECT_EQ(activas(), QStringLiteral("0001"));
    NuevoObjeto turno;
    turno.Tipo = TipoTurno;
    const int i = AgregarObjeto(s.d(), s.form->workspace(), turno);
    EXPECT_EQ(activas(), QStringLiteral("1110"));
    BorrarObjeto(s.d(), s.form->workspace(), i);
    EXPECT_EQ(activas(), QStringLiteral("0001"));

    s.disparar("nmuConfNumPuls_4");
    activas();
    EXPECT_EQ(s.form->selectorVista().count(), 5);
    s.disparar("mnuTicketTipoPulsadorUnico");
    activas();
    EXPECT_TRUE(s.form->selectorVista().isHidden());
}

TEST(FormMainComandos, ViewSelector) {
    VentanaPrueba s;
    s.agregarLinea(QRect(0, 0, 10, 2), 1);
    s.agregarLinea(QRect(0, 10, 10, 2), 1u << 3);
    s.disparar("nmuConfNumPuls_4");
    s.form->actualizarComandos();
    s.form->seleccionVista(QStringLiteral("Ticket Pulsador 3"));
    // The redraw drew up to the last slot and greyed the common object.
    EXPECT_EQ(std::tuple(s.d().VistaActual, int(s.d().Objeto), s.caja(1).point(0, 0)),
              std::tuple(8u, 2, static_cast<int32_t>(ColorGris)));
    s.d().Objeto = 0;
    s.form->seleccionVista(QStringLiteral("Ticket Pulsador 3")); // already shown: no redraw
    EXPECT_EQ(s.d().Objeto, 0);
    s.form->seleccionVista(QStringLiteral("Parte Común"));
    EXPECT_EQ(std::pair(s.d().VistaActual, s.caja(2).left()),
              std::pair(1u, 1000)); // parked in the common view
}

TEST(FormMainComandos, SaveCloseAndOpenAgain) {
    VentanaPrueba s;
    s.agregarLinea(QRect(10, 20, 100, 2));
    s.agregarLinea(QRect(30, 40, 2, 100));
    s.disparar("nmuConfNumPuls_3");
    s.d().TicketModificado = Verdadero;
    s.ruta = s.dir.filePath(QStringLiteral("diseno"));
    s.form->mnuGuardarTicketComo();
    const QString archivo = s.dir.filePath(QStringLiteral("diseno.tck"));
    EXPECT_EQ(std::pair(QFileInfo(archivo).size(), s.d().TicketModificado),
              std::pair(qint64(3 * 452), Falso));

    // Closing or opening over a modified design asks; "No" keeps it and skips the file dialog.
    s.d().TicketModificado = Verdadero;
    s.disparar("mnuCerrarTicket");
    s.disparar("mnuAbrirArchivoTicket");
    EXPECT_EQ(std::pair(s.confirmaciones, int(s.d().NumObjetos)), std::pair(2, 2));
    s.respuestaSi = true;
    s.disparar("mnuCerrarTicket");
    EXPECT_EQ(std::pair(int(s.d().NumObjetos), int(s.d().NumPulsadores)), std::pair(0, 0));

    s.ruta = archivo;
    s.disparar("mnuAbrirArchivoTicket");
    EXPECT_EQ(std::tuple(int(s.d().NumObjetos), int(s.d().NumPulsadores), s.d().ArchivoTicket,
                         s.caja(2).geometry()),
              std::tuple(2, 3, archivo, QRect(30, 40, 2, 100)));

    // "Nuevo" on an empty design keeps the length and only resets the file name.
    s.disparar("mnuCerrarTicket");
    s.d().LargoTicket = 320;
    s.disparar("mnuNuevoTicket");
    EXPECT_EQ(std::pair(int(s.d().LargoTicket), s.d().ArchivoTicket),
              std::pair(320, s.d().DirTickets + QStringLiteral("TICKET.tck")));
}

TEST(FormMainComandos, LeavingAsksOnlyWithUnsavedChangesAndAboutRevealsConfiguration) {
    VentanaPrueba s, t;
    s.form->show();
    EXPECT_TRUE(s.form->close());
    EXPECT_EQ(s.confirmaciones, 0);

    t.form->show();
    t.agregarLinea(QRect(0, 0, 5, 5));
    t.d().TicketModificado = Verdadero;
    EXPECT_FALSE(t.form->close());
    EXPECT_TRUE(t.form->isVisible());
    t.respuestaSi = true;
    EXPECT_TRUE(t.form->close());
    EXPECT_EQ(t.confirmaciones, 2);

    EXPECT_FALSE(s.accion("MnuConfig")->isVisible());
    s.disparar("mnuAbout");
    EXPECT_TRUE(s.accion("MnuConfig")->isVisible());
}

TEST(FormMainComandos, HiddenOutputButtonsWriteAndPlotTheRasterFiles) {
    VentanaPrueba s;
    const QString anterior = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(s.dir.path()));
    s.agregarLinea(QRect(0, 0, 16, 2), 1);
    s.agregarLinea(QRect(100, 50, 8, 1), 1u << 2);
    s.disparar("nmuConfNumPuls_2");
    s.d().VistaActual = 4; // the user's view comes back at the end
    s.form->boton(QStringLiteral("Command2"))->click();
    EXPECT_EQ(std::tuple(QFile::exists(QStringLiteral("Salida02.bin")),
                         QFile::exists(QStringLiteral("Salida03.bin")), int(s.form->salidaActual()),
                         s.d().VistaActual),
              std::tuple(true, false, 3, 4u));

    // The common part is file 00, push-button 2's is 02.
    const Surface& lienzo = s.form->workspace().PicLienzo;
    s.form->boton(QStringLiteral("PBCargarSalida_2"))->click();
    EXPECT_EQ(std::pair(lienzo.point(100, 50), lienzo.point(0, 0)), std::pair(0, 0xFFFFFF));
    s.form->boton(QStringLiteral("PBCargarSalida_0"))->click();
    EXPECT_EQ(std::pair(lienzo.point(100, 50), lienzo.point(0, 0)), std::pair(0xFFFFFF, 0));
    QDir::setCurrent(anterior);
}
