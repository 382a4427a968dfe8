// "Guardar", "Guardar Como..." and "Abrir..." driven through the real file dialog.
#include "VentanaPrueba.h"

using namespace quoravex;
using pruebas::Leer;

TEST(DialogosArchivo, NoDesignIsReplacedUnaskedAndAClosedOneNeverByGuardar) {
    // A new design has no file yet: "Guardar" asks for its name. Its first object lies under
    // the second where they overlap.
    VentanaPrueba s;
    s.agregarLinea(QRect(10, 10, 100, 40));
    s.agregarLinea(QRect(50, 20, 100, 40));
    s.f.actualizarComandos(); // what the command-state timer does: saving is offered
    ASSERT_TRUE(pruebas::Escribir(QStringLiteral("otro.tck"), "otro diseño"));
    int dialogos = 0;
    const auto teclear = [&](const char* nombre) {
        s.archivo = [&dialogos, nombre](FrmPathFilesOut& p) {
            ++dialogos;
            QTest::keyClicks(p.NombreFicheroTicket, QString::fromLatin1(nombre));
            QTest::keyClick(p.NombreFicheroTicket, Qt::Key_Return);
        };
    };
    const QString archivoAntes = s.d.ArchivoTicket;
    // A file clicked, then Esc (as the window's close button, "Cancelar"): nothing is saved.
    s.archivo = [&](FrmPathFilesOut& p) {
        ++dialogos;
        s.clicEn(p.FilesFOut, QStringLiteral("otro.tck"));
        QTest::keyClick(&p, Qt::Key_Escape);
    };
    s.menu("mnuGuardarTicket");
    EXPECT_EQ(std::tuple(dialogos, Leer(QStringLiteral("otro.tck")), s.preguntas, s.d.ArchivoTicket),
              std::tuple(1, QByteArray("otro diseño"), QStringList(), archivoAntes));
    // Typed onto another design's name: asked first; "No" writes nothing, "Sí" replaces it.
    const QString reemplazar = QStringLiteral("El fichero ya existe. ¿Desea reemplazarlo?");
    teclear("otro");
    s.menu("mnuGuardarTicketComo");
    EXPECT_EQ(std::tuple(Leer(QStringLiteral("otro.tck")), s.preguntas, s.d.ArchivoTicket),
              std::tuple(QByteArray("otro diseño"), QStringList{reemplazar}, archivoAntes));
    s.reemplazar = true;
    s.menu("mnuGuardarTicketComo");
    EXPECT_EQ(std::pair(Leer(QStringLiteral("otro.tck")).size(), s.d.ArchivoTicket),
              std::pair(qsizetype(3 * 452), QDir::current().filePath(QStringLiteral("otro.tck"))));
    // Saving onto the design's own file asks nothing, with either command.
    s.reemplazar = false;
    s.menu("mnuGuardarTicketComo");
    dialogos = 0;
    s.menu("mnuGuardarTicket");
    EXPECT_EQ(std::pair(s.preguntas.size(), dialogos), std::pair(qsizetype(2), 0));

    // Another design in the window, one object: closing it leaves its box at the top of the
    // stacking; then "Abrir...": the opened design stacks by its order.
    s.respuestaSi = true;
    s.menu("mnuCerrarTicket");
    s.agregarLinea(QRect(0, 0, 10, 10));
    s.archivo = [&](FrmPathFilesOut& p) {
        s.clicEn(p.FilesFOut, QStringLiteral("otro.tck"));
        QTest::mouseClick(p.CmdAceptar, Qt::LeftButton);
    };
    s.menu("mnuAbrirArchivoTicket");
    ASSERT_EQ(s.d.NumObjetos, 2);
    EXPECT_EQ(std::tuple(s.d.objeto(1).Orden < s.d.objeto(2).Orden, s.f.workspace().pila().back(),
                         s.f.raton().objetoEn(QPointF(60, 30))), // the higher rank takes the click
              std::tuple(true, 2, 2));
    dialogos = 0;
    s.menu("mnuGuardarTicket"); // an opened design saves without a question
    EXPECT_EQ(std::pair(dialogos, s.preguntas.size()), std::pair(0, qsizetype(2)));

    // Once closed, what is drawn next is a new design: "Guardar" asks its name again, and
    // replacing the closed design's file is asked too.
    const QByteArray guardado = Leer(QStringLiteral("otro.tck"));
    s.menu("mnuCerrarTicket");
    s.agregarLinea(QRect(0, 0, 10, 10));
    s.f.actualizarComandos();
    teclear("otro");
    s.menu("mnuGuardarTicket");
    EXPECT_EQ(std::tuple(dialogos, s.preguntas.size(), s.preguntas.last(), Leer(QStringLiteral("otro.tck"))),
              std::tuple(1, qsizetype(3), reemplazar, guardado));
}
