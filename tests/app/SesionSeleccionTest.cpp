// Selecting many objects, arranging them, the clipboard between two designers and the
// properties panel, driven as a user would; then everything undone gives the start's files.
#include "app/FormMain.h"
#include "dialogs/Aceptar.h"
#include "dialogs/FrmGetImagen.h"
#include "dialogs/FrmPathFilesOut.h"
#include "dialogs/PanelPropiedades.h"
#include "document/ArchivoDiseno.h"
#include "document/Portapapeles.h"
#include "editor/CanvasTicket.h"
#include "editor/Historia.h"
#include "editor/Seleccion.h"
#include "render/ImagenObjeto.h"
#include "render/SalidaRaster.h"
#include "support/FicherosImagen.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace pruebas;

namespace {

// A main window whose dialogs are answered as a user would, its messages kept.
struct Ventana {
    explicit Ventana(const QString& imagen) : f(OpcionesArranque{{}, QDir::currentPath(), {}, false}) {
        f.show();
        f.mostrarMensaje = [this](const QString& m) { mensajes << m; };
        f.ejecutarDialogo = [this, imagen](QDialog& d) {
            if (auto* img = qobject_cast<FrmGetImagen*>(&d)) {
                img->soltarFicheros({imagen});
                img->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            } else if (auto* p = qobject_cast<FrmPathFilesOut*>(&d)) {
                p->RutaElegida = ruta;
            } else if (auto* a = qobject_cast<Aceptar*>(&d)) {
                a->Si->click();
            }
            return d.result();
        };
    }
    void menu(const char* nombre) {
        QAction* a = f.accion(QString::fromLatin1(nombre));
        ASSERT_NE(a, nullptr) << nombre;
        ASSERT_TRUE(a->isEnabled()) << nombre;
        a->trigger();
    }
    void arrastrar(QPoint desde, QPoint hasta, Qt::KeyboardModifiers m = {}) {
        QTest::mousePress(&f.canvas(), Qt::LeftButton, m, desde);
        QTest::mouseMove(&f.canvas(), (desde + hasta) / 2);
        QTest::mouseMove(&f.canvas(), hasta);
        QTest::mouseRelease(&f.canvas(), Qt::LeftButton, m, hasta);
    }
    void linea(QPoint desde, QPoint hasta) {
        menu("mnuAnadirLinea");
        arrastrar(desde, hasta);
    }
    QList<QPoint> esquinas(const QList<int>& objetos) const {
        QList<QPoint> r;
        for (int i : objetos)
            r << QPoint(d.objeto(i).Left, d.objeto(i).Top);
        return r;
    }
    QByteArray raster() {
        f.boton(QStringLiteral("Command2"))->click();
        return Leer(NombreArchivoSalida(1, QDir::currentPath()));
    }

    FormMain f;
    Design& d = f.design();
    QString ruta;
    QStringList mensajes;
};

} // namespace

TEST(SesionSeleccion, SelectArrangeCopyPasteEditAndUndoEverything) {
    DirectorioActualTemporal actual;
    const QString logo = QDir::current().filePath(QStringLiteral("logo.png"));
    ASSERT_TRUE(Escribir(logo, Codificar(MitadNegra(60, 30), "PNG")));
    Ventana v(logo);
    Design& d = v.d;

    // The start: two push-buttons, three lines and a picture, saved.
    v.menu("nmuConfNumPuls_2");
    v.linea({20, 40}, {120, 41});
    v.linea({60, 120}, {210, 121});
    v.linea({30, 300}, {110, 301});
    v.menu("mnuAnadirImagen");
    ASSERT_EQ(d.NumObjetos, 4);
    v.f.actualizarComandos();
    v.ruta = QDir::current().filePath(QStringLiteral("inicio"));
    v.menu("mnuGuardarTicketComo");
    ASSERT_EQ(d.TicketModificado, Falso);
    const QByteArray inicio = CodificarDiseno(d), rasterInicio = v.raster();
    Seleccion& sel = v.f.seleccion();

    // A band from the bare canvas takes the objects wholly inside it; Ctrl+click adds one.
    v.arrastrar({5, 20}, {260, 140});
    EXPECT_EQ(sel.objetos(), (QList<int>{1, 2}));
    QTest::mouseClick(&v.f.canvas(), Qt::LeftButton, Qt::ControlModifier, QPoint(50, 300));
    EXPECT_EQ(sel.objetos(), (QList<int>{1, 2, 3}));
    EXPECT_EQ(v.f.canvas().cajasSeleccionadas().size(), 3);

    // Dragged (Alt: no snapping) and nudged together: each moves by the same amount.
    const QList<QPoint> antes = v.esquinas({1, 2, 3});
    v.arrastrar({50, 40}, {61, 53}, Qt::AltModifier);
    QTest::keyClick(&v.f.canvas(), Qt::Key_Left);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(v.esquinas({k + 1})[0], antes[k] + QPoint(10, 13)) << k;

    // Every "Organizar" entry is one step named after it.
    const std::pair<const char*, const char*> entradas[] = {
        {"mnuAlinearIzquierda", "Alinear a la Izquierda"},
        {"mnuAlinearDerecha", "Alinear a la Derecha"},
        {"mnuAlinearArriba", "Alinear Arriba"},
        {"mnuAlinearAbajo", "Alinear Abajo"},
        {"mnuAlinearCentrosH", "Alinear Centros Horizontalmente"},
        {"mnuAlinearCentrosV", "Alinear Centros Verticalmente"},
        {"mnuDistribuirH", "Distribuir Horizontalmente"},
        {"mnuDistribuirV", "Distribuir Verticalmente"},
        {"mnuCentrarEnTicket", "Centrar en el Ticket"},
    };
    for (const auto& [accion, nombre] : entradas) {
        SCOPED_TRACE(nombre);
        v.menu(accion);
        EXPECT_EQ(v.f.accion(QStringLiteral("mnuDeshacer"))->text(), QStringLiteral("Deshacer ") + QString::fromUtf8(nombre));
        v.menu("mnuDeshacer");
    }
    v.menu("mnuAlinearIzquierda");
    EXPECT_EQ(v.esquinas({1, 2, 3})[0].x(), v.esquinas({1, 2, 3})[1].x());
    v.menu("mnuCentrarEnTicket");
    EXPECT_EQ(d.objeto(1).Left, (384 - 150) / 2); // the lines now share a left; the widest is 150 dots

    // Copied with the picture, and pasted into a second designer: the same objects, the
    // picture with its own bitmap of the same bytes.
    QTest::mouseClick(&v.f.canvas(), Qt::LeftButton, Qt::ControlModifier,
                      v.f.workspace().item(4).geometry().center());
    ASSERT_EQ(sel.objetos().size(), 4);
    v.menu("mnuCopiar");
    const QMimeData* copiado = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(copiado->hasFormat(TipoMimeObjetos) && copiado->hasImage());
    Ventana otra(logo);
    otra.menu("mnuPegar");
    ASSERT_EQ(otra.d.NumObjetos, 4);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(std::tuple(otra.d.objeto(i).Tipo, otra.d.objeto(i).Left, otra.d.objeto(i).Width),
                  std::tuple(d.objeto(i).Tipo, d.objeto(i).Left, d.objeto(i).Width))
            << i;
    }
    EXPECT_EQ(Leer(ResolverRutaImagen(otra.d.objeto(4).ImagenTrabajo.valor())),
              Leer(ResolverRutaImagen(d.objeto(4).ImagenTrabajo.valor())));
    EXPECT_EQ(otra.f.seleccion().objetos(), (QList<int>{1, 2, 3, 4}));

    // Pasted onto its originals it moves 8 dots; cut again, in one step each.
    v.menu("mnuPegar");
    ASSERT_EQ(d.NumObjetos, 8);
    EXPECT_EQ(v.esquinas({5}), QList<QPoint>{QPoint(d.objeto(1).Left + 8, d.objeto(1).Top + 8)});
    v.menu("mnuCortar");
    EXPECT_EQ(d.NumObjetos, 4);

    // A picture from another program, wider than the ticket.
    QGuiApplication::clipboard()->setImage(MitadNegra(500, 40));
    v.menu("mnuPegar");
    ASSERT_EQ(d.NumObjetos, 5);
    EXPECT_EQ(d.objeto(sel.objetos().first()).Width, 384);
    EXPECT_TRUE(v.mensajes.last().contains(QStringLiteral("se ha reducido a 384"))) << v.mensajes.join(QLatin1Char('\n')).toStdString();

    // The properties panel: X and a push-button for two objects at once.
    sel.poner({1, 2});
    PanelPropiedades& panel = *v.f.propiedades();
    panel.spnX->setValue(33);
    emit panel.spnX->editingFinished();
    EXPECT_EQ(v.esquinas({1, 2})[0].x(), 33);
    EXPECT_EQ(v.esquinas({1, 2})[1].x(), 33);
    // As in "Sel. Pulsador", a push-button ticked takes the objects out of the common part.
    panel.chkPulsadores[2]->click();
    EXPECT_EQ(std::pair(d.objeto(1).Pulsadores, d.objeto(2).Pulsadores), std::pair(4u, 4u));
    // Out of range is stored clamped and shown so.
    panel.spnX->setValue(2000);
    emit panel.spnX->editingFinished();
    EXPECT_EQ(d.objeto(1).Left, 382);
    EXPECT_EQ(panel.spnX->value(), 382);

    // Esc clears the selection; Supr deletes what Ctrl+A selects: the objects of the common
    // part shown now, not those that belong to push-button 2 only.
    QTest::keyClick(&v.f.canvas(), Qt::Key_Escape);
    EXPECT_TRUE(sel.vacia());
    v.menu("mnuSeleccionarTodo");
    EXPECT_EQ(sel.objetos(), (QList<int>{3, 4, 5}));
    v.menu("mnuBorrar");
    EXPECT_EQ(d.NumObjetos, 2);

    // Everything undone back to the save: the saved design and its raster file, byte for byte.
    while (!v.f.historia().pila().isClean())
        v.menu("mnuDeshacer");
    EXPECT_EQ(d.TicketModificado, Falso);
    EXPECT_EQ(CodificarDiseno(d), inicio);
    EXPECT_EQ(v.raster(), rasterInicio);
}

// Clipboard contents that do not read, or more objects than free slots, paste nothing.
TEST(SesionSeleccion, RefusedPastesChangeNothing) {
    DirectorioActualTemporal actual;
    Ventana v{QString()};
    QList<ObjetoCopiado> muchos(51 - 3);
    for (ObjetoCopiado& c : muchos) {
        c.registro.Tipo = TipoLinea;
        c.registro.Width = 10;
        c.registro.Height = 2;
    }
    const QByteArray bueno = CodificarObjetos(muchos);
    const std::pair<const char*, QByteArray> casos[] = {
        {"truncated", bueno.left(bueno.size() - 1)},
        {"another version", QByteArray("QVXOBJ\x02\x00\x01\x00", 10)},
        {"not ours at all", QByteArray("hola")},
        {"too many for the free slots", bueno},
    };
    v.linea({20, 40}, {120, 41});
    v.linea({20, 60}, {120, 61});
    v.linea({20, 80}, {120, 81});
    const QByteArray antes = CodificarDiseno(v.d);
    const int pasos = v.f.historia().pila().count();
    for (const auto& [nombre, datos] : casos) {
        SCOPED_TRACE(nombre);
        auto* mime = new QMimeData;
        mime->setData(TipoMimeObjetos, datos);
        QGuiApplication::clipboard()->setMimeData(mime);
        v.mensajes.clear();
        v.menu("mnuPegar");
        EXPECT_EQ(v.mensajes.size(), 1);
        EXPECT_EQ(CodificarDiseno(v.d), antes);
        EXPECT_EQ(v.f.historia().pila().count(), pasos);
    }
}
