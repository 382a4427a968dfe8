#include "VentanaPrueba.h"
#include "dialogs/FrmVistaPrevia.h"
#include "platform/InstanciaUnica.h"

#include <QMenuBar>

using namespace quoravex;

TEST(FormMain, StartUpMenusShortcutsAndConfiguration) {
    VentanaPrueba v("Keyboard Model=2\r\nComunication Port=COM3\r\n", QStringLiteral("COM5"));
    QStringList barra;
    for (QAction* a : v.f.menuBar()->actions())
        if (a->isVisible()) barra << a->text();
    EXPECT_EQ(barra.join(QLatin1Char(' ')), QStringLiteral("&Archivo Edición Ver Organizar Ticket &Zoom Ay&uda"));
    // The shortcuts users learnt; Ctrl+X stays "Cerrar".
    const std::pair<const char*, QKeySequence> atajos[] = {
        {"mnuNuevoTicket", Qt::CTRL | Qt::Key_N}, {"mnuAbrirArchivoTicket", Qt::CTRL | Qt::Key_O},
        {"mnuGuardarTicket", Qt::CTRL | Qt::Key_S}, {"mnuGuardarTicketComo", Qt::Key_F12},
        {"mnuCerrarTicket", Qt::CTRL | Qt::Key_X}, {"mnuVistaPrevia", Qt::CTRL | Qt::Key_P},
        {"mnuDeshacer", Qt::CTRL | Qt::Key_Z}, {"mnuRehacer", Qt::CTRL | Qt::Key_Y},
        {"mnuBorrar", Qt::Key_Delete}};
    for (const auto& [nombre, atajo] : atajos)
        EXPECT_EQ(v.accion(nombre)->shortcut(), atajo) << nombre;
    for (const char* oculta : {"mnuImprimirTicket", "mnuAnadirFecha", "mnuAnadirHora", "nmuConfNumPuls_9"})
        EXPECT_FALSE(v.accion(oculta)->isVisible()) << oculta;
    EXPECT_EQ(std::tuple(v.f.canvas().size(), int(v.d.LargoTicket), v.d.TicketModificado,
                         v.f.selectorVista().isVisible(), QDir(v.f.dirTrabajo()).exists(),
                         v.f.dirTrabajo().endsWith(QStringLiteral("tmp/a/b/Trenvast/"))),
              std::tuple(QSize(385, 501), 500, Falso, false, true, true));

    // The configuration file, then the command line; the menus show both.
    EXPECT_EQ(std::tuple(int(v.d.PuertoCom), int(v.d.ModeloTeclado), v.accion("MnuPortSerie_5")->isChecked(),
                         v.accion("MnuPortSerie_3")->isChecked(), v.accion("MnuConfigTeclas_2")->isChecked(),
                         v.accion("nmuConfNumPuls_8")->isVisible()),
              std::tuple(5, 2, true, false, true, true));
    // Chosen in the menus: 16 keys offer 16 push-buttons; back to 4 keys the count chosen stays.
    v.menu("MnuConfigTeclas_3");
    EXPECT_TRUE(v.accion("nmuConfNumPuls_16")->isVisible());
    v.menu("nmuConfNumPuls_12");
    v.menu("MnuConfigTeclas_1");
    v.menu("MnuPortSerie_7");
    EXPECT_EQ(std::tuple(int(v.d.NumPulsadores), int(v.d.ModeloTeclado),
                         v.accion("nmuConfNumPuls_5")->isVisible(),
                         v.accion("MnuConfigTeclas_1")->isChecked(), int(v.d.PuertoCom),
                         v.accion("MnuPortSerie_5")->isChecked()),
              std::tuple(12, 1, false, true, 7, false));
    // The configuration menu shows after a double click on the logo of "Acerca de...".
    v.menu("mnuAbout");
    EXPECT_TRUE(v.accion("MnuConfig")->isVisible());
}

TEST(FormMain, ZoomWindowPlacementAndPointerPosition) {
    {
        VentanaPrueba v;
        EXPECT_TRUE(v.accion("mnuZoom_100")->isChecked());
        v.menu("mnuZoom_300");
        EXPECT_EQ(v.f.canvas().size(), QSize(1155, 1503));
        v.f.canvas().alejar(); // Ctrl + wheel down
        EXPECT_EQ(std::pair(v.accion("mnuZoom_200")->isChecked(), v.accion("mnuZoom_300")->isChecked()),
                  std::pair(true, false));
        v.f.resize(700, 500);
        EXPECT_TRUE(v.f.close()); // nothing to lose: no question; the window is kept for the next run
        EXPECT_TRUE(v.preguntas.isEmpty());
    }
    VentanaPrueba v;
    v.f.restaurarVentana();
    EXPECT_EQ(std::pair(v.f.canvas().zoom(), v.f.size()), std::pair(2.0, QSize(700, 500)));
    // The dot under the pointer, in printer dots whatever the zoom; nothing off the canvas.
    QTest::mouseMove(&v.f.canvas(), QPoint(201, 81));
    EXPECT_EQ(v.f.textoCursor(), QStringLiteral("X: 100  Y: 40"));
    QEvent fuera(QEvent::Leave);
    QApplication::sendEvent(&v.f.canvas(), &fuera);
    EXPECT_TRUE(v.f.textoCursor().isEmpty());

    v.f.resize(500, 400);
    v.menu("mnuZoomAjustar");
    const double z = v.f.canvas().zoom();
    EXPECT_LT(z, 1.0);
    EXPECT_LE(v.f.canvas().height(), 400);
    EXPECT_NEAR(v.f.canvas().height(), 501 * z, 1);
}

TEST(FormMain, PrintPreviewFollowsTheDesign) {
    VentanaPrueba v;
    FormMain& f = v.f;
    v.menu("mnuVistaPrevia");
    FrmVistaPrevia* vista = f.vistaPrevia();
    ASSERT_NE(vista, nullptr);
    ASSERT_EQ(vista->vistas().tickets.size(), 1);
    const QImage vacio = vista->vistas().tickets[0].imagen;
    const auto muestra = [&] { return vista->vistas().tickets[0].imagen; };

    f.pasoDiseno(QStringLiteral("Añadir Línea"), [&] { v.agregarLinea(QRect(10, 40, 300, 6)); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return muestra() != vacio; }, 5000));
    EXPECT_EQ(muestra(), VistasPreviasDiseno(v.d, f.dirDiseno()).tickets[0].imagen);
    v.menu("mnuDeshacer");
    ASSERT_TRUE(QTest::qWaitFor([&] { return muestra() == vacio; }, 5000));

    // Opening and closing with no edit in between are followed too.
    ASSERT_TRUE(f.abrirDiseno(QStringLiteral(QUORAVEX_DATOS_PRUEBA "/muestra.tck")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return muestra() != vacio; }, 5000));
    EXPECT_EQ(muestra(), VistasPreviasDiseno(v.d, f.dirDiseno()).tickets[0].imagen);
    v.menu("mnuCerrarTicket");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return vista->vistas().tickets.size() == 1 && muestra() == vacio; }, 5000));
}

// A port that does not open and a second copy of the program stop the transfer windows
// before they show; with the port free, the printer's clock is set.
TEST(FormMain, SendingRefusedByThePortOrASecondCopyAndTheClockSent) {
    VentanaPrueba v;
    v.agregarLinea(QRect(10, 30, 200, 3));
    v.f.actualizarComandos();
    v.rechazarPuerto = true;
    v.d.PuertoCom = 4;
    v.menu("mnuEnviarAPrinter");
    const QString bloqueo = QDir::current().filePath(QStringLiteral("bloqueo.lock"));
    InstanciaUnica primera(bloqueo), segunda(bloqueo);
    v.f.instanciaUnica = &segunda;
    v.rechazarPuerto = false;
    v.menu("mnuEnviarFechaHora");
    v.f.instanciaUnica = nullptr;
    EXPECT_EQ(v.errores, (QStringList{QStringLiteral("No se puede abrir el puerto COM4"),
                                      QStringLiteral("Programa ya en Ejecución")}));
    EXPECT_EQ(std::pair(v.dialogos, int(v.d.NumObjetos)), std::pair(QStringList(), 1));

    v.menu("mnuEnviarFechaHora");
    EXPECT_EQ(v.dialogos, QStringList{QStringLiteral("FrmEnviarFechaHora")});
    ASSERT_TRUE(v.enlace.impresora.fechaHora.has_value());
    EXPECT_LE(std::abs(v.enlace.impresora.fechaHora->secsTo(QDateTime::currentDateTime())), 5);
}
