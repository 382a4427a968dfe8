#include "app/FormMain.h"
#include "editor/CanvasTicket.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quoravex;

namespace {

struct Ventana {
    QTemporaryDir dir;
    std::unique_ptr<FormMain> form;

    explicit Ventana(const QByteArray& cfg = {}, const QString& comandos = {}) {
        if (!cfg.isNull()) {
            QFile f(dir.filePath(QStringLiteral("Morvane.cfg")));
            f.open(QIODevice::WriteOnly);
            f.write(cfg);
        }
        OpcionesArranque o;
        o.dirActual = dir.path();
        o.lineaComandos = comandos;
        o.usarRutaTemporal = true;
        o.rutaTemporal = dir.filePath(QStringLiteral("tmp/a/b"));
        form = std::make_unique<FormMain>(o);
    }
};

QStringList titulosBarra(FormMain& f, bool soloVisibles) {
    QStringList r;
    for (QAction* a : f.menuBar()->actions())
        if (!soloVisibles || a->isVisible()) r << a->text();
    return r;
}

} // namespace

TEST(FormMain, TitleMenusAndCanvasAtStart) {
    Ventana v;
    FormMain& f = *v.form;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Quoravex  -  Version 1.4"));
    EXPECT_EQ(
        titulosBarra(f, false),
        (QStringList{QStringLiteral("&Archivo"), QStringLiteral("Menu &Ticket"), QStringLiteral("Redibujar"),
                     QStringLiteral("Visualizar"), QStringLiteral("Ticket"), QStringLiteral("Menu Objetos"),
                     QStringLiteral("Menu Linea"), QStringLiteral("Configuración"), QStringLiteral("&Zoom"),
                     QStringLiteral("Ay&uda")}));
    EXPECT_EQ(titulosBarra(f, true), (QStringList{QStringLiteral("&Archivo"), QStringLiteral("Ticket"),
                                                  QStringLiteral("&Zoom"), QStringLiteral("Ay&uda")}));

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
        QAction* a = f.accion(QString::fromLatin1(e.nombre));
        ASSERT_NE(a, nullptr) << e.nombre;
        EXPECT_EQ(a->text(), QString::fromUtf8(e.titulo)) << e.nombre;
        EXPECT_EQ(a->isVisible(), e.visible) << e.nombre;
        EXPECT_EQ(a->shortcut(), e.atajo) << e.nombre;
    }
    EXPECT_EQ(f.menu(QStringLiteral("mnuAnadirTurno"))->actions().at(3)->text(),
              QStringLiteral("2 Dígitos Alfanuméricos"));
    // The hidden menus still open as context menus: they have their entries.
    EXPECT_EQ(f.menu(QStringLiteral("mnuObjetos"))->actions().size(), 8);
    EXPECT_EQ(f.menu(QStringLiteral("mnuLinea"))->actions().size(), 7);

    EXPECT_EQ(f.canvas().size(), QSize(385, 501));
    EXPECT_EQ(f.workspace().PicTicket.height(), 501);
    EXPECT_EQ(f.workspace().item(NumSlots - 1).left(), 1000);

    const Design& d = f.design();
    EXPECT_EQ(d.LargoTicket, 500);
    EXPECT_EQ(d.VistaActual, 1u);
    EXPECT_EQ(d.TicketModificado, Falso);
    EXPECT_TRUE(d.ArchivoTicket.endsWith(QStringLiteral("/TICKET.tck")));
    EXPECT_EQ(f.selectorVista().count(), 1);
    EXPECT_FALSE(f.selectorVista().isVisible());
}

TEST(FormMain, ConfigurationAndCommandLineReachTheMenus) {
    Ventana v("Keyboard Model=2\r\nComunication Port=COM3\r\n", QStringLiteral("COM5"));
    FormMain& f = *v.form;
    EXPECT_EQ(f.design().PuertoCom, 5);
    EXPECT_EQ(f.design().ModeloTeclado, 2);
    EXPECT_TRUE(f.accion(QStringLiteral("MnuPortSerie_5"))->isChecked());
    EXPECT_FALSE(f.accion(QStringLiteral("MnuPortSerie_3"))->isChecked());
    EXPECT_TRUE(f.accion(QStringLiteral("nmuConfNumPuls_8"))->isVisible());
    EXPECT_FALSE(f.accion(QStringLiteral("nmuConfNumPuls_9"))->isVisible());

    Ventana fuera("Comunication Port=COM12\n");
    for (int p = 1; p <= 9; ++p)
        EXPECT_FALSE(fuera.form->accion(QStringLiteral("MnuPortSerie_%1").arg(p))->isChecked()) << p;
    EXPECT_EQ(fuera.form->design().PuertoCom, 12);
}

TEST(FormMain, WorkFolderIsCreatedWithItsParentsAndABadOneDoesNotStopStartUp) {
    Ventana v;
    EXPECT_TRUE(QDir(v.form->dirTrabajo()).exists());
    EXPECT_TRUE(v.form->dirTrabajo().endsWith(QStringLiteral("tmp/a/b/Trenvast/")));

    QTemporaryDir dir;
    QFile bloqueo(dir.filePath(QStringLiteral("archivo")));
    ASSERT_TRUE(bloqueo.open(QIODevice::WriteOnly));
    bloqueo.close();
    OpcionesArranque o;
    o.dirActual = dir.path();
    o.usarRutaTemporal = true;
    o.rutaTemporal = dir.filePath(QStringLiteral("archivo")); // a file where a folder should be
    FormMain f(o);
    EXPECT_FALSE(QDir(f.dirTrabajo()).exists());
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Quoravex  -  Version 1.4"));
}

TEST(FormMain, ViewSelectorFillAndStatusLine) {
    Ventana v;
    FormMain& f = *v.form;
    f.llenarSelectorVista(5);
    ASSERT_EQ(f.selectorVista().count(), 6);
    EXPECT_EQ(f.selectorVista().itemText(5), QStringLiteral("Ticket Pulsador 5"));
    EXPECT_EQ(f.selectorVista().itemData(5).toInt(), 5);
    f.llenarSelectorVista(1); // one push-button lists only the common part
    EXPECT_EQ(f.selectorVista().count(), 1);

    NuevoObjeto n;
    f.design().agregar(n);
    f.design().agregar(n);
    EXPECT_EQ(f.textoEstado(), QStringLiteral("[Num Objetos] : 2       [IdxObjMasAlto] : 2        "
                                              "[Objeto] : 2        [Orden] : 2"));
}
