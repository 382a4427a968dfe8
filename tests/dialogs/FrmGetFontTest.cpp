#include "dialogs/FrmGetFont.h"

#include "document/Design.h"
#include "render/Workspace.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

using namespace quoravex;

namespace {

const QString Sans = QStringLiteral("DejaVu Sans");
const QString Serif = QStringLiteral("DejaVu Serif");

struct Fuente {
    QString nombre;
    int16_t tamano = 30, estilo = 0, subrayado = 0, tachado = 0;
};

// A design with one object added the way the add commands do, with a stored font.
struct Editor {
    Design d;
    Workspace ws;
    int i;
    Editor(int16_t tipo, const QString& texto, const Fuente& f, bool pendiente) {
        i = d.agregar(NuevoObjeto{tipo, std::nullopt, 1, 1, 382, 120, texto});
        std::tie(o().FontName, o().FontSize, o().FontStyle, o().FontUnderline, o().FontStrikethru) =
            std::tuple(f.nombre, f.tamano, f.estilo, f.subrayado, f.tachado);
        o().Pendiente = pendiente ? Verdadero : Falso;
    }
    ObjetoTicket& o() { return d.objeto(i); }
    Surface& caja() { return ws.item(i); }
};

// What a canvas redraw draws for the record, on a box of its own.
QImage Redibujado(ObjetoTicket o, Color tinta = ColorNegro) {
    Surface s;
    s.setForeColor(tinta);
    DibujarTextoEnCaja(o, s, FuenteDelRegistro(o, FamiliasInstaladas()));
    return s.image();
}

template <typename T = QWidget> T* Control(QDialog& dlg, const char* nombre) {
    T* w = dlg.findChild<T*>(QString::fromLatin1(nombre));
    EXPECT_NE(w, nullptr) << nombre;
    return w;
}

void ClicEnFamilia(QDialog& dlg, const QString& familia) {
    auto* lv = Control<QListWidget>(dlg, "lvFonts");
    const auto items = lv->findItems(familia, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << familia.toStdString();
    lv->scrollToItem(items[0]);
    QTest::mouseClick(lv->viewport(), Qt::LeftButton, {}, lv->visualItemRect(items[0]).center());
}

// Radio buttons and check boxes take clicks on their indicator and label only.
void Marcar(QDialog& dlg, const char* nombre) {
    auto* b = Control<QAbstractButton>(dlg, nombre);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

void Escribir(QDialog& dlg, const QString& texto) {
    auto* tb = Control<QLineEdit>(dlg, "TBEntradaTexto");
    tb->selectAll();
    QTest::keyClicks(tb, texto);
}

} // namespace

TEST(FrmGetFont, LoadFillsControlsAndDrawsLikeARedraw) {
    const struct {
        Fuente fuente;
        QString familia; // empty: the first listed family
        const char* estilo;
    } casos[] = {
        {{Serif, 42, 2, 1, 0}, Serif, "Bold"},
        {{QStringLiteral("Arial Imaginaria"), 200, 3, 0, 1}, QString(), "Bold Italic"},
        {{QString(), 0, 0, 0, 0}, QString(), "Regular"}, // just added
    };
    for (const auto& c : casos) {
        Editor e(TipoTextoFijo, QStringLiteral("  Abc 12  "), c.fuente, false);
        const ObjetoTicket antes = e.o();
        e.caja().setForeColor(0x102030);
        FrmGetFont dlg(e.d, e.ws);
        auto* lv = Control<QListWidget>(dlg, "lvFonts");
        ASSERT_EQ(lv->count(), FamiliasInstaladas().size());
        EXPECT_EQ(lv->currentItem()->text(), c.familia.isEmpty() ? lv->item(0)->text() : c.familia);
        EXPECT_EQ(std::tuple(Control<QLabel>(dlg, "lblSelSize")->text(), Control<QSlider>(dlg, "sldSize")->value(),
                             Control<QLabel>(dlg, "lblStyle")->text(),
                             dlg.findChild<QRadioButton*>(QStringLiteral("optStyle%1").arg(c.fuente.estilo))
                                 ->isChecked(),
                             Control<QCheckBox>(dlg, "chkUnderline")->isChecked(),
                             Control<QCheckBox>(dlg, "chkStrikethru")->isChecked(),
                             Control<QLineEdit>(dlg, "TBEntradaTexto")->text()),
                  std::tuple(QString::number(c.fuente.tamano), std::min<int>(c.fuente.tamano, 180),
                             QString::fromLatin1(c.estilo), true,
                             c.fuente.subrayado != 0, c.fuente.tachado != 0, QStringLiteral("Abc 12")));
        // Loading draws the object exactly as a redraw would, and writes only the text fields.
        EXPECT_TRUE(e.caja().image() == Redibujado(antes, 0x102030));
        EXPECT_EQ(std::tuple(e.o().Texto.valor(), e.o().FontName),
                  std::tuple(QStringLiteral("Abc 12"), antes.FontName));
    }
}

// Text typed shows at once without its leading spaces and within a hundred characters; family,
// size, style and underline draw live; the stored font changes only when Enter or OK confirms.
TEST(FrmGetFont, EditingDrawsLiveAndConfirmingStores) {
    Editor e(TipoTextoFijo, QString(), {Sans, 30}, true);
    FrmGetFont dlg(e.d, e.ws);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    auto* tb = Control<QLineEdit>(dlg, "TBEntradaTexto");
    Escribir(dlg, QStringLiteral("   Hola  mundo "));
    EXPECT_EQ(std::tuple(tb->text(), e.o().Texto.valor()),
              std::tuple(QStringLiteral("Hola  mundo "), QStringLiteral("Hola  mundo")));
    Surface m;
    AplicarFuente(m, FuenteDelRegistro(e.o(), FamiliasInstaladas()));
    EXPECT_EQ(e.caja().geometry().size(), QSize(m.textWidth(QStringLiteral("Hola  mundo.")), m.textHeight()));
    tb->setCursorPosition(0);
    QTest::keyClick(tb, Qt::Key_Space); // a space typed in front is dropped too
    EXPECT_EQ(tb->text(), QStringLiteral("Hola  mundo "));
    Escribir(dlg, QString(120, QLatin1Char('x')));
    EXPECT_EQ(tb->text().size(), 100);
    Escribir(dlg, QStringLiteral("Abc"));

    ClicEnFamilia(dlg, Serif);
    auto* lv = Control<QListWidget>(dlg, "lvFonts");
    auto* sld = Control<QSlider>(dlg, "sldSize");
    sld->setFocus();
    QTest::keyClick(sld, Qt::Key_PageUp); // one page: ten points larger, stored below
    // The style options pass the focus on to the font list, however they get it.
    QTest::keyClick(sld, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), lv);
    Marcar(dlg, "optStyle3");
    EXPECT_EQ(std::tuple(Control<QLabel>(dlg, "lblStyle")->text(), QApplication::focusWidget()),
              std::tuple(QStringLiteral("Bold Italic"), static_cast<QWidget*>(lv)));
    Marcar(dlg, "optStyle1");
    Marcar(dlg, "chkUnderline");
    ObjetoTicket nuevo = e.o();
    std::tie(nuevo.FontName, nuevo.FontSize, nuevo.FontStyle, nuevo.FontUnderline) =
        std::tuple(Serif, 40, 1, 1);
    EXPECT_TRUE(e.caja().image() == Redibujado(nuevo));
    EXPECT_EQ(e.o().FontName.valor(), Sans); // until confirmed the stored font is the old one
    QTest::keyClick(tb, Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    nuevo.Pendiente = Falso;
    EXPECT_EQ(e.o(), nuevo);
}

// Cancel keeps the new text and the stored font (the box keeps the font last applied until the
// next redraw restores the stored one); without a current object nothing is touched.
TEST(FrmGetFont, CancelAndNoCurrentObject) {
    Editor e(TipoTextoFijo, QStringLiteral("Uno"), {Sans, 30, 0, 1, 0}, true);
    {
        FrmGetFont dlg(e.d, e.ws);
        dlg.show();
        Escribir(dlg, QStringLiteral("Dos"));
        ClicEnFamilia(dlg, Serif);
        Control<QSlider>(dlg, "sldSize")->setValue(60);
        QTest::mouseClick(Control<QPushButton>(dlg, "cmdCancel"), Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    EXPECT_EQ(std::tuple(e.o().Texto.valor(), e.o().FontName.valor(), int(e.o().FontSize), e.o().Pendiente,
                         e.caja().fontName()),
              std::tuple(QStringLiteral("Dos"), Sans, 30, Verdadero, Serif));
    e.d.Objeto = 0;
    const Design antes = e.d;
    FrmGetFont dlg(e.d, e.ws);
    Escribir(dlg, QStringLiteral("Otro"));
    QTest::mouseClick(Control<QPushButton>(dlg, "cmdOK"), Qt::LeftButton);
    EXPECT_TRUE(e.d.Objetos == antes.Objetos);
}

TEST(FrmGetFont, VariableFieldOffersFamilySizeAndTextOnly) {
    Editor e(TipoTurno, QStringLiteral("88"), {Sans, 30, 2, 1, 1}, true);
    // The box last showed an underlined fixed text; the field must not inherit that.
    e.caja().setFontUnderline(true);
    auto dlg = NuevoEditorDeTexto(e.d, e.ws);
    dlg->show();
    for (const char* oculto : {"optStyle0", "optStyle3", "chkUnderline", "chkStrikethru", "lblStyle"})
        EXPECT_FALSE(Control(*dlg, oculto)->isVisible()) << oculto;
    EXPECT_TRUE(e.caja().image() == Redibujado(e.o())); // bold, not underlined
    ClicEnFamilia(*dlg, Serif);
    Escribir(*dlg, QStringLiteral("12"));
    QTest::mouseClick(Control<QPushButton>(*dlg, "cmdOK"), Qt::LeftButton);
    const ObjetoTicket& o = e.o();
    EXPECT_EQ(std::tuple(o.FontName.valor(), int(o.FontStyle), int(o.FontUnderline), int(o.FontStrikethru),
                         o.Texto.valor(), o.Pendiente),
              std::tuple(Serif, 2, 0, 0, QStringLiteral("12"), Falso));
}
