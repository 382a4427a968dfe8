#include "app/FormMain.h"
#include "dialogs/FrmGetFont.h"
#include "editor/CanvasTicket.h"
#include "editor/ComandosObjeto.h"
#include "editor/RatonCanvas.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

using namespace quoravex;

namespace {

// The main window with its editor dialogs confirmed at once and its menus caught.
struct Edicion {
    QTemporaryDir dir;
    std::unique_ptr<FormMain> form;
    QStringList dialogos;
    QStringList menus;

    Edicion() {
        OpcionesArranque o;
        o.dirActual = dir.path();
        o.usarRutaTemporal = true;
        o.rutaTemporal = dir.path();
        form = std::make_unique<FormMain>(o);
        form->comandos().ejecutarDialogo = [this](QDialog& dlg) {
            dialogos << QString::fromLatin1(dlg.metaObject()->className());
            if (auto* f = qobject_cast<FrmGetFont*>(&dlg)) f->cmdOK_Click();
            return int(QDialog::Accepted);
        };
        form->comandos().mostrarMensaje = [](const QString&) {};
        form->raton().abrirMenu = [this](QMenu& m, const QPoint&) { menus << m.objectName(); };
    }
    void disparar(const char* nombre) {
        QAction* a = form->accion(QString::fromLatin1(nombre));
        ASSERT_NE(a, nullptr) << nombre;
        a->trigger();
    }
    Design& d() { return form->design(); }
    Surface& caja(int i) { return form->workspace().item(i); }
};

} // namespace

TEST(FormMainEdicion, MenuCommandsAndMouseReachTheDesign) {
    Edicion e;
    CanvasTicket& canvas = e.form->canvas();

    e.disparar("mnuAnadirLinea");
    ASSERT_EQ(e.d().NumObjetos, 1);
    EXPECT_TRUE(e.form->comandos().DibujandoLinea);
    QTest::mousePress(&canvas, Qt::LeftButton, {}, QPoint(100, 50));
    QTest::mouseMove(&canvas, QPoint(300, 52));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, QPoint(300, 52));
    EXPECT_FALSE(e.form->comandos().DibujandoLinea);
    EXPECT_EQ(e.caja(1).geometry(), QRect(100, 50, 200, 2));

    QTest::mouseClick(&canvas, Qt::RightButton, {}, QPoint(150, 51));
    QTest::mouseClick(&canvas, Qt::RightButton, {}, QPoint(150, 300));
    EXPECT_EQ(e.menus, (QStringList{QStringLiteral("mnuLinea"), QStringLiteral("mnuTicket")}));

    e.d().Objeto = 1;
    e.disparar("MnuGrosorDeLineaX_5");
    EXPECT_EQ(e.caja(1).geometry(), QRect(100, 50, 200, 5));
    e.disparar("mnuRotarLinea");
    EXPECT_EQ(e.caja(1).geometry(), QRect(198, -48, 5, 200));
    e.disparar("mnuCopiarLinea");
    ASSERT_EQ(e.d().NumObjetos, 2);
    EXPECT_EQ(QPoint(e.d().objeto(2).Left, e.d().objeto(2).Top), QPoint(218, -48));
    e.disparar("mnuLlevarAlFondoLinea");
    EXPECT_EQ(e.d().objeto(2).Orden, 1);
    e.disparar("mnuTraerAlFrenteLinea");
    EXPECT_EQ(e.d().objeto(2).Orden, 2);
    e.disparar("mnuBorrarLinea");
    EXPECT_EQ(e.d().NumObjetos, 1);

    e.disparar("mnuTurnoFormato_10");
    ASSERT_EQ(e.d().NumObjetos, 2);
    EXPECT_EQ(e.d().objeto(2).Texto.valor(), QStringLiteral("A8"));
    EXPECT_EQ(e.d().objeto(2).Formato, 10);
    e.disparar("mnuAnadirTextoFijo");
    ASSERT_EQ(e.d().NumObjetos, 3);
    EXPECT_EQ(e.dialogos, (QStringList{QStringLiteral("quoravex::FrmGetFontTurno"),
                                       QStringLiteral("quoravex::FrmGetFont")}));

    // The redraw leaves the last slot current: centre the fixed text.
    e.d().Objeto = 3;
    e.disparar("mnuCentradoAmbosObjeto");
    const QRect texto = e.caja(3).geometry();
    EXPECT_EQ(texto.left(), static_cast<int>(std::nearbyint((384 - texto.width()) / 2.0)));
    EXPECT_EQ(texto.top(), static_cast<int>(std::nearbyint((500 - texto.height()) / 2.0)));
    EXPECT_EQ(QPoint(e.d().objeto(3).Left, e.d().objeto(3).Top), texto.topLeft());

    // Double click modifies the object under the pointer.
    e.dialogos.clear();
    QTest::mouseDClick(&canvas, Qt::LeftButton, {}, texto.center());
    EXPECT_EQ(e.dialogos, QStringList{QStringLiteral("quoravex::FrmGetFont")});
}

TEST(FormMainEdicion, ZoomEntriesFollowTheCanvas) {
    Edicion e;
    QMenu* zoom = e.form->menu(QStringLiteral("mnuZoom"));
    ASSERT_NE(zoom, nullptr);
    QStringList titulos;
    for (QAction* a : zoom->actions())
        titulos << a->text();
    EXPECT_EQ(titulos,
              (QStringList{QStringLiteral("100 %"), QStringLiteral("200 %"), QStringLiteral("300 %"),
                           QStringLiteral("400 %"), QString(), QStringLiteral("Ajustar a la ventana")}));
    EXPECT_TRUE(e.form->accion(QStringLiteral("mnuZoom_100"))->isChecked());
    e.disparar("mnuZoom_300");
    EXPECT_EQ(e.form->canvas().zoom(), 3.0);
    EXPECT_EQ(e.form->canvas().size(), QSize(1155, 1503));
    e.form->canvas().alejar();
    EXPECT_TRUE(e.form->accion(QStringLiteral("mnuZoom_200"))->isChecked());
    EXPECT_FALSE(e.form->accion(QStringLiteral("mnuZoom_300"))->isChecked());
}

TEST(FormMainEdicion, ArrowKeysNudgeTheCurrentObjectWithinTheDragLimits) {
    Edicion e;
    CanvasTicket& canvas = e.form->canvas();
    e.disparar("mnuAnadirLinea");
    QTest::mousePress(&canvas, Qt::LeftButton, {}, QPoint(5, 100));
    QTest::mouseMove(&canvas, QPoint(105, 101));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, QPoint(105, 101));
    ASSERT_EQ(e.d().objeto(1).Left, 5);
    e.d().Objeto = 1;
    e.d().TicketModificado = Falso;

    QTest::keyClick(&canvas, Qt::Key_Right);
    EXPECT_EQ(e.d().objeto(1).Left, 6);
    EXPECT_EQ(e.d().TicketModificado, Verdadero);
    QTest::keyClick(&canvas, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(e.d().objeto(1).Top, 110);
    QTest::keyClick(&canvas, Qt::Key_Left, Qt::ShiftModifier); // a line's corner stays on the ticket
    EXPECT_EQ(e.d().objeto(1).Left, 1);
    EXPECT_EQ(e.caja(1).left(), 1);
    QTest::keyClick(&canvas, Qt::Key_Up);
    EXPECT_EQ(e.d().objeto(1).Top, 109);
}

TEST(FormMainEdicion, FitToWindowShowsTheWholeTicket) {
    Edicion e;
    e.form->resize(500, 400);
    e.form->show();
    e.form->accion(QStringLiteral("mnuZoomAjustar"))->trigger();
    const double z = e.form->canvas().zoom();
    EXPECT_LT(z, 1.0);
    EXPECT_LE(e.form->canvas().height(), 400);
    EXPECT_NEAR(e.form->canvas().height(), 501 * z, 1);
}
