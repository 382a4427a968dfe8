// Selecting many objects, arranging them, the clipboard between two designers, refused pastes
// and the properties panel, driven as a user would; then everything undone gives the start's files.
#include "VentanaPrueba.h"

#include "dialogs/PanelPropiedades.h"
#include "document/Portapapeles.h"
#include "editor/Historia.h"
#include "render/ImagenObjeto.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace quoravex;

TEST(SesionSeleccion, SelectArrangeCopyPasteEditAndUndoEverything) {
    VentanaPrueba v;
    v.respuestaSi = true;
    Design& d = v.d;
    const auto esquina = [&d](int i) { return QPoint(d.objeto(i).Left, d.objeto(i).Top); };

    // The start: two push-buttons, three lines and a picture, saved.
    v.menu("nmuConfNumPuls_2");
    v.linea({20, 40}, {120, 41});
    v.linea({60, 120}, {210, 121});
    v.linea({30, 300}, {110, 301});
    v.menu("mnuAnadirImagen");
    ASSERT_EQ(d.NumObjetos, 4);
    v.menuArchivo("mnuGuardarTicketComo", QDir::current().filePath(QStringLiteral("inicio")));
    v.generar();
    const QByteArray inicio = CodificarDiseno(d), rasterInicio = v.raster(1);
    Seleccion& sel = v.f.seleccion();

    // A band from the bare canvas takes the objects wholly inside it; Ctrl+click adds one.
    v.arrastrar({5, 20}, {260, 140});
    QTest::mouseClick(&v.f.canvas(), Qt::LeftButton, Qt::ControlModifier, QPoint(50, 300));
    EXPECT_EQ(sel.objetos(), (QList<int>{1, 2, 3}));
    EXPECT_EQ(v.f.canvas().cajasSeleccionadas().size(), 3);

    // Dragged (Alt: no snapping) and nudged together: each moves by the same amount.
    const QList<QPoint> antes = {esquina(1), esquina(2), esquina(3)};
    v.arrastrar({50, 40}, {61, 53}, Qt::AltModifier);
    QTest::keyClick(&v.f.canvas(), Qt::Key_Left);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(esquina(k + 1), antes[k] + QPoint(10, 13)) << k;

    // Aligned, then the block centred on the ticket, each one step: the lines share a left and
    // the widest is 150 dots.
    v.menu("mnuAlinearIzquierda");
    v.menu("mnuCentrarEnTicket");
    EXPECT_EQ(d.objeto(1).Left, (384 - 150) / 2);

    // Copied with the picture, and pasted into a second designer: the same objects, the
    // picture with its own bitmap of the same bytes.
    QTest::mouseClick(&v.f.canvas(), Qt::LeftButton, Qt::ControlModifier,
                      v.f.workspace().item(4).geometry().center());
    v.menu("mnuCopiar");
    const QMimeData* copiado = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(copiado->hasFormat(TipoMimeObjetos) && copiado->hasImage());
    const QByteArray bitmap = pruebas::Leer(ResolverRutaImagen(d.objeto(4).ImagenTrabajo.valor()));
    {
        VentanaPrueba otra;
        otra.menu("mnuPegar");
        ASSERT_EQ(otra.d.NumObjetos, 4);
        for (int i = 1; i <= 4; ++i)
            EXPECT_EQ(std::tuple(otra.d.objeto(i).Tipo, otra.d.objeto(i).Left, otra.d.objeto(i).Width),
                      std::tuple(d.objeto(i).Tipo, d.objeto(i).Left, d.objeto(i).Width))
                << i;
        EXPECT_EQ(pruebas::Leer(ResolverRutaImagen(otra.d.objeto(4).ImagenTrabajo.valor())), bitmap);
        EXPECT_EQ(otra.f.seleccion().objetos(), (QList<int>{1, 2, 3, 4}));
    }

    // Pasted onto its originals it moves 8 dots; cut again, in one step each.
    v.menu("mnuPegar");
    ASSERT_EQ(d.NumObjetos, 8);
    EXPECT_EQ(esquina(5), esquina(1) + QPoint(8, 8));
    v.menu("mnuCortar");
    EXPECT_EQ(d.NumObjetos, 4);

    // A picture from another program, wider than the ticket.
    QGuiApplication::clipboard()->setImage(pruebas::MitadNegra(500, 40));
    v.menu("mnuPegar");
    ASSERT_EQ(d.NumObjetos, 5);
    EXPECT_EQ(d.objeto(sel.objetos().first()).Width, 384);
    EXPECT_TRUE(v.mensajes.last().contains(QStringLiteral("se ha reducido a 384")))
        << v.mensajes.join(QLatin1Char('\n')).toStdString();

    // The properties panel follows the selection: a push-button for two objects at once.
    sel.poner({1, 2});
    PanelPropiedades& panel = *v.f.propiedades();
    // As in "Sel. Pulsador", a push-button ticked takes the objects out of the common part.
    panel.chkPulsadores[2]->click();
    EXPECT_EQ(std::pair(d.objeto(1).Pulsadores, d.objeto(2).Pulsadores), std::pair(4u, 4u));

    // Esc clears the selection; Supr deletes what Ctrl+A selects: the objects of the common
    // part shown now, not those that belong to push-button 2 only.
    QTest::keyClick(&v.f.canvas(), Qt::Key_Escape);
    EXPECT_TRUE(sel.vacia());
    v.menu("mnuSeleccionarTodo");
    EXPECT_EQ(sel.objetos(), (QList<int>{3, 4, 5}));
    v.menu("mnuBorrar");
    EXPECT_EQ(d.NumObjetos, 2);

    // Clipboard contents that do not read, or more objects than free slots, paste nothing.
    ObjetoCopiado linea;
    linea.registro.Tipo = TipoLinea;
    linea.registro.Width = 10;
    linea.registro.Height = 2;
    const QByteArray bueno = CodificarObjetos(QList<ObjetoCopiado>(MaxObjetos + 1 - d.NumObjetos, linea));
    const std::pair<const char*, QByteArray> rechazados[] = {
        {"truncated", bueno.left(bueno.size() - 1)},
        {"another version", QByteArray("QVXOBJ\x02\x00\x01\x00", 10)},
        {"not ours at all", QByteArray("hola")},
        {"too many for the free slots", bueno},
    };
    const QByteArray diseno = CodificarDiseno(d);
    const int pasos = v.f.historia().pila().count();
    for (const auto& [nombre, datos] : rechazados) {
        SCOPED_TRACE(nombre);
        auto* mime = new QMimeData;
        mime->setData(TipoMimeObjetos, datos);
        QGuiApplication::clipboard()->setMimeData(mime);
        v.mensajes.clear();
        v.menu("mnuPegar");
        EXPECT_EQ(std::tuple(v.mensajes.size(), CodificarDiseno(d), v.f.historia().pila().count()),
                  std::tuple(qsizetype(1), diseno, pasos));
    }

    // Everything undone back to the save: the saved design and its raster file, byte for byte.
    while (!v.f.historia().pila().isClean())
        v.menu("mnuDeshacer");
    EXPECT_EQ(d.TicketModificado, Falso);
    EXPECT_EQ(CodificarDiseno(d), inicio);
    v.generar();
    EXPECT_EQ(v.raster(1), rasterInicio);
}
