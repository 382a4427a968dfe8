#include "VentanaPrueba.h"

#include <cmath>

using namespace quoravex;

namespace {

void dibujarLinea(CanvasTicket& canvas, QPoint desde, QPoint hasta) {
    QTest::mousePress(&canvas, Qt::LeftButton, {}, desde);
    QTest::mouseMove(&canvas, hasta);
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, hasta);
}

} // namespace

TEST(FormMainEdicion, MenuCommandsAndMouseReachTheDesign) {
    VentanaPrueba e;
    CanvasTicket& canvas = e.form->canvas();
    e.disparar("mnuAnadirLinea");
    dibujarLinea(canvas, {100, 50}, {300, 52});
    EXPECT_EQ(std::pair(e.form->comandos().DibujandoLinea, e.caja(1).geometry()),
              std::pair(false, QRect(100, 50, 200, 2)));
    QTest::mouseClick(&canvas, Qt::RightButton, {}, QPoint(150, 51));
    QTest::mouseClick(&canvas, Qt::RightButton, {}, QPoint(150, 300));
    EXPECT_EQ(e.menus, (QStringList{QStringLiteral("mnuLinea"), QStringLiteral("mnuTicket")}));

    e.d().Objeto = 1;
    e.disparar("MnuGrosorDeLineaX_5");
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
    e.disparar("mnuAnadirTextoFijo");
    ASSERT_EQ(e.d().NumObjetos, 3);
    EXPECT_EQ(std::pair(e.d().objeto(2).Texto.valor(), int(e.d().objeto(2).Formato)),
              std::pair(QStringLiteral("A8"), 10));
    // The redraw leaves the last slot current: centre the fixed text, then double click it.
    e.d().Objeto = 3;
    e.disparar("mnuCentradoAmbosObjeto");
    const QRect texto = e.caja(3).geometry();
    EXPECT_EQ(texto.topLeft(), QPoint(int(std::nearbyint((384 - texto.width()) / 2.0)),
                                      int(std::nearbyint((500 - texto.height()) / 2.0))));
    QTest::mouseDClick(&canvas, Qt::LeftButton, {}, texto.center());
    EXPECT_EQ(e.dialogos,
              (QStringList{QStringLiteral("quoravex::FrmGetFontTurno"),
                           QStringLiteral("quoravex::FrmGetFont"), QStringLiteral("quoravex::FrmGetFont")}));
}

TEST(FormMainEdicion, ZoomEntriesFollowTheCanvasAndFitTheWindow) {
    VentanaPrueba e;
    QStringList titulos;
    for (QAction* a : e.form->menu(QStringLiteral("mnuZoom"))->actions())
        titulos << a->text();
    EXPECT_EQ(titulos.join(QLatin1Char('|')),
              QStringLiteral("100 %|200 %|300 %|400 %||Ajustar a la ventana"));
    EXPECT_TRUE(e.accion("mnuZoom_100")->isChecked());
    e.disparar("mnuZoom_300");
    EXPECT_EQ(e.form->canvas().size(), QSize(1155, 1503));
    e.form->canvas().alejar();
    EXPECT_EQ(std::pair(e.accion("mnuZoom_200")->isChecked(), e.accion("mnuZoom_300")->isChecked()),
              std::pair(true, false));

    e.form->resize(500, 400);
    e.form->show();
    e.disparar("mnuZoomAjustar");
    const double z = e.form->canvas().zoom();
    EXPECT_LT(z, 1.0);
    EXPECT_LE(e.form->canvas().height(), 400);
    EXPECT_NEAR(e.form->canvas().height(), 501 * z, 1);
}

TEST(FormMainEdicion, ArrowKeysNudgeTheCurrentObjectWithinTheDragLimits) {
    VentanaPrueba e;
    CanvasTicket& canvas = e.form->canvas();
    e.disparar("mnuAnadirLinea");
    dibujarLinea(canvas, {5, 100}, {105, 101});
    e.d().Objeto = 1;
    e.d().TicketModificado = Falso;
    const struct {
        Qt::Key tecla;
        Qt::KeyboardModifiers mods;
        QPoint esperado;
    } pasos[] = {
        {Qt::Key_Right, {}, {6, 100}},
        {Qt::Key_Down, Qt::ShiftModifier, {6, 110}},
        {Qt::Key_Left, Qt::ShiftModifier, {1, 110}}, // a line's corner stays on the ticket
        {Qt::Key_Up, {}, {1, 109}},
    };
    for (const auto& p : pasos) {
        QTest::keyClick(&canvas, p.tecla, p.mods);
        EXPECT_EQ(std::tuple(QPoint(e.d().objeto(1).Left, e.d().objeto(1).Top),
                             e.caja(1).geometry().topLeft(), e.d().TicketModificado),
                  std::tuple(p.esperado, p.esperado, Verdadero));
    }
}
