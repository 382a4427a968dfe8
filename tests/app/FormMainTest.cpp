#include "VentanaPrueba.h"

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
