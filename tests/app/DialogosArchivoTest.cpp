// "Guardar Como..." and "Abrir..." driven through the real file dialog, as a user would.
#include "VentanaPrueba.h"
#include "support/Bytes.h"

#include <QListWidget>

using namespace quoravex;

namespace {

// Answers the file dialog with `accion` and the replace question with `reemplazar`.
struct Archivos : VentanaPrueba {
    Archivos() {
        form->ejecutarDialogo = [this](QDialog& dlg) {
            if (auto* p = qobject_cast<FrmPathFilesOut*>(&dlg)) {
                p->show();
                accion(*p);
                return p->result();
            }
            if (auto* a = qobject_cast<Aceptar*>(&dlg); a && a->Pregunta->isHidden()) {
                preguntas << a->Aviso->text();
                (reemplazar ? a->Si : a->No)->click();
                return a->result();
            }
            return responder(dlg);
        };
    }
    void clicEn(FrmPathFilesOut& p, const QString& nombre) {
        const auto items = p.FilesFOut->findItems(nombre, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty()) << nombre.toStdString();
        QTest::mouseClick(p.FilesFOut->viewport(), Qt::LeftButton, {},
                          p.FilesFOut->visualItemRect(items.first()).center());
    }
    QByteArray leer(const QString& nombre) { return pruebas::Leer(dir.filePath(nombre)); }

    std::function<void(FrmPathFilesOut&)> accion;
    bool reemplazar = false;
    QStringList preguntas;
};

} // namespace

TEST(DialogosArchivo, SaveAsNeverReplacesAnotherFileUnasked) {
    Archivos s;
    s.agregarLinea(QRect(10, 20, 100, 2));
    s.form->actualizarComandos(); // what the command-state timer does: saving is offered
    ASSERT_TRUE(pruebas::Escribir(s.dir.filePath(QStringLiteral("otro.tck")), "otro diseño"));

    const QString archivoAntes = s.d().ArchivoTicket;
    // A file clicked, then Esc or the window's close button: nothing is saved.
    for (const bool esc : {true, false}) {
        s.accion = [&](FrmPathFilesOut& p) {
            s.clicEn(p, QStringLiteral("otro.tck"));
            if (esc)
                QTest::keyClick(&p, Qt::Key_Escape);
            else
                p.close();
        };
        s.disparar("mnuGuardarTicketComo");
        EXPECT_EQ(s.leer(QStringLiteral("otro.tck")), QByteArray("otro diseño")) << esc;
        EXPECT_TRUE(s.preguntas.isEmpty());
        EXPECT_EQ(s.d().ArchivoTicket, archivoAntes);
    }

    // Typed onto another design's name: asked first; "No" writes nothing.
    s.accion = [](FrmPathFilesOut& p) {
        QTest::keyClicks(p.NombreFicheroTicket, QStringLiteral("otro"));
        QTest::keyClick(p.NombreFicheroTicket, Qt::Key_Return);
    };
    s.disparar("mnuGuardarTicketComo");
    EXPECT_EQ(s.preguntas, QStringList{QStringLiteral("El fichero ya existe. ¿Desea reemplazarlo?")});
    EXPECT_EQ(s.leer(QStringLiteral("otro.tck")), QByteArray("otro diseño"));
    EXPECT_EQ(s.d().ArchivoTicket, archivoAntes);
    // "Sí" replaces it, and saving onto the design's own file again asks nothing.
    s.reemplazar = true;
    s.disparar("mnuGuardarTicketComo");
    EXPECT_EQ(s.leer(QStringLiteral("otro.tck")).size(), 2 * 452);
    EXPECT_EQ(s.d().ArchivoTicket, s.dir.filePath(QStringLiteral("otro.tck")));
    s.reemplazar = false;
    s.disparar("mnuGuardarTicketComo");
    EXPECT_EQ(s.preguntas.size(), 2);
    EXPECT_EQ(s.leer(QStringLiteral("otro.tck")).size(), 2 * 452);
}

TEST(DialogosArchivo, OpenedDesignStacksByItsOrderAndAClosedOneIsNeverOverwritten) {
    // A design whose first object lies under the second where they overlap. A new design
    // has no file yet: "Guardar" asks for its name.
    Archivos s;
    s.agregarLinea(QRect(10, 10, 100, 40));
    s.agregarLinea(QRect(50, 20, 100, 40));
    int dialogos = 0;
    s.accion = [&](FrmPathFilesOut& p) {
        ++dialogos;
        QTest::keyClicks(p.NombreFicheroTicket, QStringLiteral("apilado"));
        QTest::keyClick(p.NombreFicheroTicket, Qt::Key_Return);
    };
    s.form->actualizarComandos(); // what the command-state timer does: saving is offered
    s.disparar("mnuGuardarTicket");
    EXPECT_EQ(dialogos, 1);
    QByteArray guardado = s.leer(QStringLiteral("apilado.tck"));
    ASSERT_EQ(guardado.size(), 3 * 452);
    s.respuestaSi = true;
    s.disparar("mnuCerrarTicket");

    // Another design with one object in the window: closing it leaves its box at the top
    // of the stacking; then "Abrir...".
    s.agregarLinea(QRect(0, 0, 10, 10));
    s.accion = [&](FrmPathFilesOut& p) {
        s.clicEn(p, QStringLiteral("apilado.tck"));
        QTest::mouseClick(p.CmdAceptar, Qt::LeftButton);
    };
    s.disparar("mnuAbrirArchivoTicket");
    ASSERT_EQ(s.d().NumObjetos, 2);
    EXPECT_LT(s.d().objeto(1).Orden, s.d().objeto(2).Orden);
    EXPECT_EQ(s.form->workspace().pila().back(), 2);
    EXPECT_EQ(s.form->raton().objetoEn(QPointF(60, 30)), 2); // the higher rank takes the click

    // The opened design saves without a question; once closed, what is drawn next is a new
    // design, and "Guardar" asks again instead of replacing the closed one.
    s.accion = [&](FrmPathFilesOut& p) {
        ++dialogos;
        QTest::keyClick(&p, Qt::Key_Escape);
    };
    s.disparar("mnuGuardarTicket");
    EXPECT_EQ(dialogos, 1);
    guardado = s.leer(QStringLiteral("apilado.tck"));
    ASSERT_EQ(guardado.size(), 3 * 452);
    s.disparar("mnuCerrarTicket");
    s.agregarLinea(QRect(0, 0, 10, 10));
    s.form->actualizarComandos();
    s.disparar("mnuGuardarTicket");
    EXPECT_EQ(dialogos, 2);
    EXPECT_EQ(s.leer(QStringLiteral("apilado.tck")), guardado);
    // Saving it as the closed design's file asks before replacing it.
    s.accion = [&](FrmPathFilesOut& p) {
        QTest::keyClicks(p.NombreFicheroTicket, QStringLiteral("apilado"));
        QTest::keyClick(p.NombreFicheroTicket, Qt::Key_Return);
    };
    s.disparar("mnuGuardarTicket");
    EXPECT_EQ(s.preguntas, QStringList{QStringLiteral("El fichero ya existe. ¿Desea reemplazarlo?")});
    EXPECT_EQ(s.leer(QStringLiteral("apilado.tck")), guardado);
}

TEST(DialogosArchivo, EnterSavesTheTypedNameEvenWhenTheStoredFolderIsGone) {
    QTemporaryDir programa;
    Design d;
    d.DirTickets = programa.filePath(QStringLiteral("borrada/"));
    FrmPathFilesOut f(d, FrmPathFilesOut::Guardar, QString(), programa.path());
    f.show();
    QTest::keyClicks(f.NombreFicheroTicket, QStringLiteral("sucursal"));
    QTest::keyClick(f.NombreFicheroTicket, Qt::Key_Return);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(f.RutaElegida, QDir(programa.path()).absolutePath() + QStringLiteral("/sucursal"));
}
