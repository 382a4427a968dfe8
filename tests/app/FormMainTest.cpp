#include "VentanaPrueba.h"
#include "dialogs/FrmVistaPrevia.h"
#include "document/ArchivoDiseno.h"
#include "platform/AjustesUsuario.h"
#include "support/Bytes.h"

#include <QComboBox>
#include <QDir>
#include <QMenuBar>

using namespace quoravex;

TEST(FormMain, TitleMenusAndCanvasAtStart) {
    VentanaPrueba v;
    FormMain& f = *v.form;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Quoravex  -  Version 1.4"));
    QStringList barra;
    for (QAction* a : f.menuBar()->actions())
        barra << (a->isVisible() ? QStringLiteral("+") : QStringLiteral("-")) + a->text();
    EXPECT_EQ(barra.join(QLatin1Char(' ')),
              QStringLiteral("+&Archivo +Edición -Menu &Ticket -Redibujar -Visualizar +Ticket "
                             "-Menu Objetos -Menu Linea -Configuración +&Zoom +Ay&uda"));
    const struct {
        const char* nombre;
        const char* titulo;
        bool visible;
        QKeySequence atajo;
    } entradas[] = {
        {"mnuNuevoTicket", "Nuevo", true, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuAbrirArchivoTicket", "Abrir...", true, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnuGuardarTicket", "Guardar", true, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuGuardarTicketComo", "Guardar Como...", true, QKeySequence(Qt::Key_F12)},
        {"mnuImprimirTicket", "Imprimir", false, {}},
        {"mnuEnviarFechaHora", "Enviar Fecha y Hora", true, {}},
        {"mnuCerrarTicket", "Cerrar", true, QKeySequence(Qt::CTRL | Qt::Key_X)},
        {"mnuAnadirFecha", "Añadir &Fecha", false, {}},
        {"mnuAnadirTurno", "Añadir &Turno", true, {}},
        {"nmuConfNumPuls_4", " 4 Pulsadores", true, {}},
        {"nmuConfNumPuls_5", " 5 Pulsadores", false, {}},
        {"mnuRotarLinea", "&Rotar 90º", true, {}},
        {"MnuPortSerie_9", "COM9", true, {}},
    };
    for (const auto& e : entradas) {
        const QAction* a = v.accion(e.nombre);
        EXPECT_EQ(std::tuple(a->text(), a->isVisible(), a->shortcut()),
                  std::tuple(QString::fromUtf8(e.titulo), e.visible, e.atajo))
            << e.nombre;
    }
    EXPECT_EQ(f.menu(QStringLiteral("mnuAnadirTurno"))->actions().at(3)->text(),
              QStringLiteral("2 Dígitos Alfanuméricos"));
    // The hidden menus still open as context menus: they have their entries.
    EXPECT_EQ(f.menu(QStringLiteral("mnuObjetos"))->actions().size(), 8);
    EXPECT_EQ(f.menu(QStringLiteral("mnuLinea"))->actions().size(), 7);

    const Design& d = f.design();
    EXPECT_EQ(std::tuple(f.canvas().size(), f.workspace().PicTicket.height(),
                         f.workspace().item(NumSlots - 1).left(), int(d.LargoTicket), d.VistaActual,
                         d.TicketModificado, f.selectorVista().count(), f.selectorVista().isVisible()),
              std::tuple(QSize(385, 501), 501, 1000, 500, 1u, Falso, 1, false));
    EXPECT_TRUE(d.ArchivoTicket.endsWith(QStringLiteral("/TICKET.tck")));
}

TEST(FormMain, ConfigurationAndCommandLineReachTheMenus) {
    VentanaPrueba v("Keyboard Model=2\r\nComunication Port=COM3\r\n", QStringLiteral("COM5"));
    EXPECT_EQ(std::tuple(int(v.d().PuertoCom), int(v.d().ModeloTeclado),
                         v.accion("MnuPortSerie_5")->isChecked(), v.accion("MnuPortSerie_3")->isChecked(),
                         v.accion("nmuConfNumPuls_8")->isVisible(),
                         v.accion("nmuConfNumPuls_9")->isVisible()),
              std::tuple(5, 2, true, false, true, false));

    VentanaPrueba fuera("Comunication Port=COM12\n");
    EXPECT_EQ(fuera.d().PuertoCom, 12);
    for (int p = 1; p <= 9; ++p)
        EXPECT_FALSE(fuera.form->accion(QStringLiteral("MnuPortSerie_%1").arg(p))->isChecked()) << p;
}

TEST(FormMain, WorkFolderIsCreatedWithItsParentsAndABadOneDoesNotStopStartUp) {
    VentanaPrueba v;
    EXPECT_TRUE(QDir(v.form->dirTrabajo()).exists());
    EXPECT_TRUE(v.form->dirTrabajo().endsWith(QStringLiteral("tmp/a/b/Trenvast/")));

    OpcionesArranque o;
    o.dirActual = v.dir.path();
    o.usarRutaTemporal = true;
    o.rutaTemporal = v.dir.filePath(QStringLiteral("archivo")); // a file where a folder should be
    QFile(o.rutaTemporal).open(QIODevice::WriteOnly);
    FormMain f(o);
    EXPECT_FALSE(QDir(f.dirTrabajo()).exists());
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Quoravex  -  Version 1.4"));
}

TEST(FormMain, ViewSelectorFillAndStatusLine) {
    VentanaPrueba v;
    FormMain& f = *v.form;
    f.llenarSelectorVista(5);
    ASSERT_EQ(f.selectorVista().count(), 6);
    EXPECT_EQ(std::pair(f.selectorVista().itemText(5), f.selectorVista().itemData(5).toInt()),
              std::pair(QStringLiteral("Ticket Pulsador 5"), 5));
    f.llenarSelectorVista(1); // one push-button lists only the common part
    EXPECT_EQ(f.selectorVista().count(), 1);

    v.d().agregar({});
    v.d().agregar({});
    EXPECT_EQ(f.textoEstado(), QStringLiteral("[Num Objetos] : 2       [IdxObjMasAlto] : 2        "
                                              "[Objeto] : 2        [Orden] : 2"));
}

TEST(FormMain, DesignsOpenedFromTheCommandLineAndTheRecentList) {
    VentanaPrueba v;
    FormMain& f = *v.form;
    AjustesUsuario()->remove(QStringLiteral("recientes"));
    const QString muestra = QStringLiteral(QUORAVEX_DATOS_PRUEBA "/muestra.tck");
    ASSERT_TRUE(f.abrirDiseno(muestra));
    EXPECT_GT(v.d().NumObjetos, 0);
    EXPECT_EQ(v.d().ArchivoTicket, muestra);
    EXPECT_TRUE(v.mensajes.isEmpty());

    // A damaged file: the loader's message and an empty design.
    VentanaPrueba danado;
    const QString roto = danado.dir.filePath(QStringLiteral("roto.tck"));
    ASSERT_TRUE(pruebas::Escribir(roto, QByteArray(100, '\x07')));
    EXPECT_FALSE(danado.form->abrirDiseno(roto));
    ASSERT_EQ(danado.mensajes.size(), 1);
    Design solo;
    EXPECT_EQ(danado.mensajes[0], AbrirDiseno(solo, roto).mensaje);
    EXPECT_EQ(danado.d().NumObjetos, 0);

    // The last eight designs opened or saved, newest first, in "Recientes". The copies have
    // their picture beside them, as the original has.
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUORAVEX_DATOS_PRUEBA "/muestra.bmp"),
                            v.dir.filePath(QStringLiteral("muestra.bmp"))));
    QStringList copias;
    for (int i = 0; i < 9; ++i) {
        copias << v.dir.filePath(QStringLiteral("copia%1.tck").arg(i));
        ASSERT_TRUE(QFile::copy(muestra, copias.last()));
        f.agregarReciente(copias.last());
    }
    const QStringList lista = f.recientes();
    ASSERT_EQ(lista.size(), FormMain::MaximoRecientes);
    EXPECT_EQ(lista.first(), copias.last());
    EXPECT_FALSE(lista.contains(copias.first()));
    QMenu* recientes = f.menu(QStringLiteral("mnuRecientes"));
    ASSERT_EQ(recientes->actions().size(), 8);
    EXPECT_EQ(recientes->actions().first()->data().toString(), copias.last());

    // Opening a recent one asks first when the design has changes, like "Abrir...".
    v.d().TicketModificado = Verdadero;
    v.respuestaSi = true;
    recientes->actions().at(3)->trigger();
    EXPECT_EQ(v.confirmaciones, 1);
    EXPECT_EQ(v.d().ArchivoTicket, copias.at(5));
    EXPECT_EQ(f.recientes().first(), copias.at(5));
    // A missing one leaves the list, with a message.
    QFile::remove(copias.at(8));
    f.menu(QStringLiteral("mnuRecientes"))->actions().at(1)->trigger();
    EXPECT_FALSE(f.recientes().contains(copias.at(8)));
    ASSERT_EQ(v.mensajes.size(), 1);
    EXPECT_TRUE(v.mensajes[0].startsWith(QStringLiteral("No se encuentra el fichero")));
    EXPECT_EQ(v.d().ArchivoTicket, copias.at(5));
}

TEST(FormMain, WindowPlacementZoomAndPointerPosition) {
    {
        VentanaPrueba v;
        v.form->show();
        v.form->canvas().setZoom(2.0);
        v.form->resize(700, 500);
        v.form->guardarVentana();
    }
    VentanaPrueba v;
    FormMain& f = *v.form;
    f.restaurarVentana();
    f.show();
    EXPECT_EQ(f.canvas().zoom(), 2.0);
    EXPECT_EQ(f.size(), QSize(700, 500));

    // The dot under the pointer, in printer dots whatever the zoom; nothing off the canvas.
    QTest::mouseMove(&f.canvas(), QPoint(201, 81));
    EXPECT_EQ(f.textoCursor(), QStringLiteral("X: 100  Y: 40"));
    QEvent fuera(QEvent::Leave);
    QApplication::sendEvent(&f.canvas(), &fuera);
    EXPECT_TRUE(f.textoCursor().isEmpty());
}

TEST(FormMain, PrintPreviewFollowsTheDesign) {
    VentanaPrueba v;
    FormMain& f = *v.form;
    v.disparar("mnuVistaPrevia");
    FrmVistaPrevia* vista = f.vistaPrevia();
    ASSERT_NE(vista, nullptr);
    EXPECT_EQ(vista->windowTitle(), QStringLiteral("Vista previa de impresión"));
    ASSERT_EQ(vista->vistas().tickets.size(), 1);
    const QImage vacio = vista->vistas().tickets[0].imagen;

    f.pasoDiseno(QStringLiteral("Añadir Línea"), [&] { v.agregarLinea(QRect(10, 40, 300, 6)); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return vista->vistas().tickets[0].imagen != vacio; }, 5000));
    EXPECT_EQ(vista->vistas().tickets[0].imagen, VistasPreviasDiseno(v.d(), f.dirDiseno()).tickets[0].imagen);
    v.disparar("mnuDeshacer");
    ASSERT_TRUE(QTest::qWaitFor([&] { return vista->vistas().tickets[0].imagen == vacio; }, 5000));

    // Opening and closing with no edit in between are followed too.
    ASSERT_TRUE(f.abrirDiseno(QStringLiteral(QUORAVEX_DATOS_PRUEBA "/muestra.tck")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return vista->vistas().tickets[0].imagen != vacio; }, 5000));
    EXPECT_EQ(vista->vistas().tickets[0].imagen, VistasPreviasDiseno(v.d(), f.dirDiseno()).tickets[0].imagen);
    v.disparar("mnuCerrarTicket");
    ASSERT_TRUE(QTest::qWaitFor([&] { return vista->vistas().tickets.size() == 1 && vista->vistas().tickets[0].imagen == vacio; }, 5000));
}
