#include "dialogs/FrmAbout.h"
#include "dialogs/FrmEntrar.h"
#include "dialogs/FrmPathFilesOut.h"
#include "dialogs/FrmSelPulsador.h"

#include "document/Design.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quoravex;

// Each row opens the push-button choice on an object, may tick a box without the mouse, presses
// a button, accepts or cancels, and says what is stored (a box clicked: the sessions).
TEST(FrmSelPulsador, BoxesCommonPartNoneAllAndCancel) {
    const struct {
        const char* caso;
        int16_t pulsadores;
        uint32_t antes;
        int marcar;
        QPushButton* FrmSelPulsador::*boton;
        bool aceptar;
        uint32_t guardada, mascara; // what the boxes say once done
    } casos[] = {
        {"9 disabled but still ticked", 4, (1u << 2) | (1u << 9), 0, nullptr, true, 0x204, 0x204},
        {"common part ignores a box ticked without the mouse", 4, 1 | (1u << 2), 3, nullptr, true, 1, 1},
        {"NINGUNO clears all sixteen", 16, (1u << 3) | (1u << 12), 0, &FrmSelPulsador::PBNinguno, true, 0, 0},
        {"TODOS ticks every enabled box", 5, 1, 0, &FrmSelPulsador::PBTodos, false, 1, 0b111110u},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        Design d;
        d.NumPulsadores = c.pulsadores;
        d.agregar(NuevoObjeto{TipoTextoFijo, std::nullopt, 1, 1, 382, 120, QString(), c.antes});
        FrmSelPulsador f(d);
        f.show();
        for (int i = 1; i <= 16; ++i)
            EXPECT_EQ(std::tuple(f.Check1[size_t(i)]->isEnabled(), f.Check1[size_t(i)]->isChecked()),
                      std::tuple(i <= c.pulsadores, !(c.antes & 1) && ((c.antes >> i) & 1)))
                << i;
        EXPECT_EQ(f.CheckComun->isChecked(), (c.antes & 1) != 0);
        if (c.marcar) f.Check1[size_t(c.marcar)]->setChecked(true);
        if (c.boton) (f.*c.boton)->click();
        (c.aceptar ? f.PBAceptar : f.PBCancelar)->click();
        EXPECT_EQ(std::tuple(d.objeto(1).Pulsadores, f.result() == QDialog::Accepted, f.mascara()),
                  std::tuple(c.guardada, c.aceptar, c.mascara));
    }
}

TEST(FrmEntrar, LengthEntry) {
    const struct {
        const char* texto;
        int largo; // 0: refused, -1: cancelled
    } casos[] = {{"300", 300}, {"12abc", 12}, {"2.5", 2},   {"3.5", 4},    {"", 0},
                 {"0", 0},     {"-5", 0},     {"70000", 0}, {"3 00", 300}, {" 1 2 x", 12}, {"300", -1}};
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
        c.largo < 0 ? QTest::mouseClick(f.Cancela_P, Qt::LeftButton) : QTest::keyClick(f.TbEntrar, Qt::Key_Return);
        EXPECT_EQ(mensajes, c.largo ? QStringList() : QStringList{QStringLiteral("Longitud no valida")});
        EXPECT_EQ(std::tuple(d.LargoTicket, f.isVisible()), std::tuple(c.largo > 0 ? c.largo : 500, !c.largo));
    }
}

TEST(FrmAbout, DoubleClickOnTheLogoRevealsConfiguration) {
    int revelado = 0;
    FrmAbout f([&] { ++revelado; });
    f.show();
    QTest::mouseClick(f.Logo, Qt::LeftButton);
    EXPECT_EQ(revelado, 0);
    QTest::mouseDClick(f.Logo, Qt::LeftButton);
    EXPECT_EQ(revelado, 1);
}

// Opening lists only designs and takes a clicked file, in whatever folder it was found; saving
// goes to the program's folder when the stored one is gone.
TEST(FrmPathFilesOut, OpenByClickingSaveByTyping) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("sub.dir"));
    for (const char* nombre : {"A.tck", "sub.dir/B.tck", "nota.txt"})
        QFile(dir.filePath(QString::fromLatin1(nombre))).open(QIODevice::WriteOnly);
    auto elemento = [](QListWidget* lista, const char* texto) {
        return lista->findItems(QString::fromLatin1(texto), Qt::MatchExactly).value(0);
    };
    Design d;
    d.DirTickets = dir.path() + QLatin1Char('/');
    FrmPathFilesOut f(d, FrmPathFilesOut::Abrir, QString(), QDir::tempPath());
    f.show();
    EXPECT_EQ(f.FilesFOut->count(), 1);
    QTest::keyClicks(f.NombreFicheroTicket, QStringLiteral("typed"));
    EXPECT_TRUE(f.NombreFicheroTicket->text().isEmpty());
    f.DirFOut->itemActivated(elemento(f.DirFOut, "sub.dir"));
    ASSERT_NE(elemento(f.FilesFOut, "B.tck"), nullptr);
    f.FilesFOut->itemClicked(elemento(f.FilesFOut, "B.tck"));
    EXPECT_EQ(std::tuple(f.RutaElegida, d.DirTickets),
              std::tuple(dir.filePath(QStringLiteral("sub.dir/B.tck")), dir.filePath(QStringLiteral("sub.dir/"))));
    QTest::mouseClick(f.CmdCancelar, Qt::LeftButton);
    EXPECT_TRUE(f.RutaElegida.isEmpty());

    d.DirTickets = dir.filePath(QStringLiteral("borrada/"));
    FrmPathFilesOut h(d, FrmPathFilesOut::Guardar, QString(), dir.path());
    QTest::mouseClick(h.CmdAceptar, Qt::LeftButton); // an empty name gives the folder alone
    EXPECT_EQ(h.RutaElegida, dir.path() + QLatin1Char('/'));
}
