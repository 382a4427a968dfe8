#include "dialogs/Aceptar.h"
#include "dialogs/FrmAbout.h"
#include "dialogs/FrmEntrar.h"
#include "dialogs/FrmSelPulsador.h"

#include "document/Design.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace quoravex;

namespace {

Design disenoConObjeto(int16_t numPulsadores, uint32_t pulsadores) {
    Design d;
    d.NumPulsadores = numPulsadores;
    NuevoObjeto n;
    n.Pulsadores = pulsadores;
    d.agregar(n);
    return d;
}

QCheckBox* caja(FrmSelPulsador& f, int i) {
    return f.Check1[static_cast<size_t>(i)];
}

// A click on the tick box itself, where a check box reacts.
void clic(QCheckBox* c) {
    QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(8, c->height() / 2));
}

} // namespace

TEST(FrmSelPulsador, BoxesFollowTheMaskAndTheConfiguration) {
    Design d = disenoConObjeto(4, (1u << 2) | (1u << 9));
    FrmSelPulsador f(d);
    for (int i = 1; i <= 16; ++i)
        EXPECT_EQ(caja(f, i)->isEnabled(), i <= 4) << i;
    EXPECT_TRUE(caja(f, 2)->isChecked() && caja(f, 9)->isChecked()); // 9: disabled but still ticked
    EXPECT_FALSE(f.CheckComun->isChecked());
    QTest::mouseClick(f.PBAceptar, Qt::LeftButton);
    EXPECT_EQ(d.objeto(1).Pulsadores, (1u << 2) | (1u << 9));
    EXPECT_EQ(f.result(), QDialog::Accepted);
}

TEST(FrmSelPulsador, CommonPartNoneAllAndCancel) {
    // Common part: only "COMUN"; accepting stores 1 whatever is ticked meanwhile...
    Design d = disenoConObjeto(4, 1 | (1u << 2));
    FrmSelPulsador f(d);
    f.show();
    EXPECT_TRUE(f.CheckComun->isChecked() && !caja(f, 2)->isChecked());
    caja(f, 3)->setChecked(true); // ticked without the mouse
    QTest::mouseClick(f.PBAceptar, Qt::LeftButton);
    EXPECT_EQ(d.objeto(1).Pulsadores, 1u);

    // ...unless a click on a push-button box unticked "COMUN".
    FrmSelPulsador g(d);
    g.show();
    clic(caja(g, 3));
    EXPECT_TRUE(!g.CheckComun->isChecked() && caja(g, 3)->isChecked());
    QTest::mouseClick(g.PBAceptar, Qt::LeftButton);
    EXPECT_EQ(d.objeto(1).Pulsadores, 1u << 3);

    // "NINGUNO" clears all sixteen boxes, 12 included; nothing ticked stores 0.
    Design m = disenoConObjeto(16, (1u << 3) | (1u << 12));
    FrmSelPulsador h(m);
    h.show();
    QTest::mouseClick(h.PBNinguno, Qt::LeftButton);
    for (int i = 1; i <= 16; ++i)
        EXPECT_FALSE(caja(h, i)->isChecked()) << i;
    QTest::mouseClick(h.PBAceptar, Qt::LeftButton);
    EXPECT_EQ(m.objeto(1).Pulsadores, 0u);

    // "TODOS" ticks every enabled box; "Cancelar" stores nothing.
    Design t = disenoConObjeto(5, 1);
    FrmSelPulsador todos(t);
    todos.show();
    QTest::mouseClick(todos.PBTodos, Qt::LeftButton);
    EXPECT_EQ(todos.mascara(), 0b111110u);
    QTest::mouseClick(todos.PBCancelar, Qt::LeftButton);
    EXPECT_EQ(t.objeto(1).Pulsadores, 1u);
    EXPECT_EQ(todos.result(), QDialog::Rejected);
}

TEST(FrmEntrar, LengthEntry) {
    const struct {
        const char* texto;
        int largo; // 0: refused
    } casos[] = {{"300", 300}, {"12abc", 12}, {"2.5", 2},   {"3.5", 4},    {"", 0},
                 {"0", 0},     {"-5", 0},     {"70000", 0}, {"3 00", 300}, {" 1 2 x", 12}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.texto);
        Design d;
        FrmEntrar f(d);
        QStringList mensajes;
        f.mostrarMensaje = [&](const QString& m) { mensajes << m; };
        f.show();
        EXPECT_EQ(f.TbEntrar->selectedText(), QStringLiteral("500"));
        f.TbEntrar->clear();
        QTest::keyClicks(f.TbEntrar, QString::fromLatin1(c.texto));
        QTest::keyClick(f.TbEntrar, Qt::Key_Return);
        if (c.largo == 0) {
            EXPECT_EQ(mensajes, QStringList{QStringLiteral("Longitud no valida")});
            EXPECT_EQ(d.LargoTicket, 500);
            EXPECT_TRUE(f.isVisible());
        } else {
            EXPECT_TRUE(mensajes.isEmpty());
            EXPECT_EQ(d.LargoTicket, c.largo);
            EXPECT_EQ(f.result(), QDialog::Accepted);
        }
    }
    Design d;
    FrmEntrar f(d);
    f.show();
    QTest::keyClicks(f.TbEntrar, QStringLiteral("300"));
    QTest::mouseClick(f.Cancela_P, Qt::LeftButton);
    EXPECT_EQ(d.LargoTicket, 500);
}

TEST(Aceptar, QuestionsAndAnswers) {
    Aceptar salir(Aceptar::SalirAplicacion);
    EXPECT_EQ(salir.Aviso->text(), QStringLiteral("El Ticket actual no ha sido guardado y se perderá"));
    EXPECT_EQ(salir.Pregunta->text(), QStringLiteral("¿Está seguro que desea SALIR de la aplicación?"));
    salir.show();
    QTest::mouseClick(salir.Si, Qt::LeftButton);
    EXPECT_EQ(salir.result(), QDialog::Accepted);

    Aceptar cerrar(Aceptar::CerrarTicketActual);
    EXPECT_EQ(cerrar.Pregunta->text(), QStringLiteral("¿Está seguro que desea CERRAR el Ticket actual?"));
    cerrar.show();
    QTest::mouseClick(cerrar.No, Qt::LeftButton);
    EXPECT_EQ(cerrar.result(), QDialog::Rejected);
}

TEST(FrmAbout, DoubleClickOnTheLogoRevealsConfiguration) {
    int revelado = 0;
    FrmAbout f([&] { ++revelado; });
    EXPECT_EQ(f.LbVersion->text(), QStringLiteral("Quoravex  -  Version 1.4"));
    f.show();
    QTest::mouseClick(f.Logo, Qt::LeftButton);
    EXPECT_EQ(revelado, 0);
    QTest::mouseDClick(f.Logo, Qt::LeftButton);
    EXPECT_EQ(revelado, 1);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(f.result(), QDialog::Accepted);
}
