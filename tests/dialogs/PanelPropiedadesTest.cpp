#include "dialogs/PanelPropiedades.h"

#include "document/Design.h"
#include "render/Redibujar.h"
#include "render/Workspace.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace quoravex;

namespace {

void escribir(QWidget* campo, const QString& texto) {
    if (auto* s = qobject_cast<QSpinBox*>(campo)) s->selectAll();
    if (auto* e = qobject_cast<QLineEdit*>(campo)) e->selectAll();
    QTest::keyClicks(campo, texto);
    QTest::keyClick(campo, Qt::Key_Return);
}

} // namespace

TEST(PanelPropiedades, EditaLosObjetosMostradosPasoAPaso) {
    Design d;
    d.NumPulsadores = 3;
    Workspace ws;
    ws.dimensionarCanvas(d.LargoTicket);
    auto poner = [&](int16_t tipo, QRect r, const QString& texto = {}) {
        NuevoObjeto n{tipo, std::nullopt, r.top(), r.left(), r.width(), r.height(), texto, 1};
        if (tipo == TipoTurno) n.Formato = 1;
        const int i = d.agregar(n);
        d.objeto(i).FontName = QStringLiteral("DejaVu Sans");
        d.objeto(i).FontSize = 12;
        d.objeto(i).Grosor = 2;
        ws.colocar(i, d.objeto(i));
        return i;
    };
    const int t1 = poner(TipoTextoFijo, QRect(20, 10, 100, 30), QStringLiteral("Hola"));
    const int t2 = poner(TipoTextoFijo, QRect(300, 50, 120, 30), QStringLiteral("Adiós"));
    const int linea = poner(TipoLinea, QRect(10, 200, 300, 2));
    const int turno = poner(TipoTurno, QRect(100, 100, 60, 40), QStringLiteral("000"));

    PanelPropiedades p(d, ws);
    p.show();
    QStringList pasos;
    int redibujados = 0;
    p.paso = [&](const QString& nombre, const std::function<void()>& cambio) {
        pasos << nombre;
        cambio();
    };
    p.redibujar = [&] {
        ++redibujados;
        RedibujarTicket(d, ws);
    };

    p.mostrar({});
    EXPECT_FALSE(p.spnX->isEnabled() || p.txtTexto->isEnabled() || p.chkPulsadores[0]->isEnabled());
    p.mostrar({t1, t2});
    EXPECT_EQ(std::tuple(p.lbTipo->text(), p.spnY->text(), p.spnAlto->value()),
              std::tuple(QStringLiteral("Texto fijo (2)"), QStringLiteral("—"), 30)); // tops 10 and 50

    // X moves every object shown, each within its own drag limits; filling applied no step.
    const struct {
        QList<int> objetos;
        int x;
        QList<int> lefts;
        QString muestra;
        qsizetype pasos;
    } filas[] = {
        {{t1, t2}, 330, {330, 324}, QStringLiteral("—"), 1}, // t2, 120 wide, may leave by 60
        {{t2}, -100, {-60}, QStringLiteral("-60"), 2},
        {{t2}, -200, {-60}, QStringLiteral("-60"), 2}, // already at its limit: no step
    };
    for (const auto& f : filas) {
        p.mostrar(f.objetos);
        escribir(p.spnX, QString::number(f.x));
        for (qsizetype k = 0; k < f.objetos.size(); ++k)
            EXPECT_EQ(std::pair(int(d.objeto(f.objetos[k]).Left), ws.item(f.objetos[k]).left()),
                      std::pair(f.lefts[k], f.lefts[k])) << f.x;
        EXPECT_EQ(std::pair(p.spnX->text(), pasos.size()), std::pair(f.muestra, f.pasos)) << f.x;
    }
    EXPECT_EQ(d.TicketModificado, Verdadero);

    // The text is redrawn and the panel shows the new box, which the record follows.
    p.mostrar({t1});
    escribir(p.txtTexto, QStringLiteral("Bienvenidos a todos"));
    EXPECT_EQ(std::pair(d.objeto(t1).Texto.valor(), redibujados), std::pair(QStringLiteral("Bienvenidos a todos"), 1));
    EXPECT_NE(ws.item(t1).width(), 100);
    EXPECT_EQ(std::pair(p.spnAncho->value(), int(d.objeto(t1).Width)), std::pair(ws.item(t1).width(), ws.item(t1).width()));

    // A horizontal line: its width is the length (at most the paper), its height the thickness.
    p.mostrar({linea});
    EXPECT_TRUE(!p.spnAncho->isReadOnly() && p.spnAlto->isReadOnly() && p.spnGrosor->isEnabled());
    escribir(p.spnAncho, QStringLiteral("500"));
    escribir(p.spnGrosor, QStringLiteral("5"));
    const ObjetoTicket& l = d.objeto(linea);
    EXPECT_EQ(std::tuple(ws.item(linea).geometry(), QRect(l.Left, l.Top, l.Width, l.Height), int(l.Grosor)),
              std::tuple(QRect(10, 200, 384, 5), QRect(10, 200, 384, 5), 5));
    EXPECT_EQ(p.lbMilimetros->text(), QStringLiteral("X 1,25 mm  Y 25 mm  ancho 48 mm  alto 0,625 mm"));

    // A variable field always belongs to the common part; its size comes from its text.
    p.mostrar({turno});
    EXPECT_EQ(p.lbTipo->text(), QStringLiteral("Turno"));
    EXPECT_TRUE(p.chkPulsadores[0]->isChecked() && !p.chkPulsadores[0]->isEnabled());
    EXPECT_TRUE(p.spnAncho->isReadOnly() && !p.spnGrosor->isEnabled());

    // Membership: push-buttons 1..3 offered; a tick applies to all but the field, a mixed box
    // ticks for all.
    p.mostrar({t1, t2, turno});
    EXPECT_EQ(p.lbTipo->text(), QStringLiteral("3 objetos"));
    EXPECT_TRUE(p.chkPulsadores[3]->isVisibleTo(&p) && !p.chkPulsadores[4]->isVisibleTo(&p));
    p.chkPulsadores[2]->click();
    EXPECT_EQ(std::tuple(d.objeto(t1).Pulsadores, d.objeto(t2).Pulsadores, d.objeto(turno).Pulsadores),
              std::tuple(1u << 2, 1u << 2, 1u));
    d.objeto(t1).Pulsadores |= 1u << 1;
    p.mostrar({t1, t2});
    EXPECT_EQ(p.chkPulsadores[1]->checkState(), Qt::PartiallyChecked);
    p.chkPulsadores[1]->click();
    EXPECT_EQ(std::tuple(d.objeto(t2).Pulsadores, p.chkPulsadores[1]->checkState(), redibujados),
              std::tuple((1u << 1) | (1u << 2), Qt::Checked, 3));
    EXPECT_EQ(pasos, QStringList(7, QStringLiteral("Propiedades")));

    // A single push-button ticket has no membership to choose.
    d.NumPulsadores = 0;
    p.mostrar({t1});
    EXPECT_FALSE(p.grpPulsadores->isVisibleTo(&p));
}
