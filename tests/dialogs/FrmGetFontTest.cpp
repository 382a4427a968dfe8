#include "dialogs/FrmGetFont.h"

#include "document/Design.h"
#include "render/Workspace.h"

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
    int16_t tamano = 30;
    int16_t estilo = 0;
    int16_t subrayado = 0;
    int16_t tachado = 0;
};

// Adds an object the way the add commands do, then gives it a stored font.
int Agregar(Design& d, int16_t tipo, const QString& texto, const Fuente& f, bool pendiente = false) {
    NuevoObjeto n;
    n.Tipo = tipo;
    n.Texto = texto;
    const int i = d.agregar(n);
    ObjetoTicket& o = d.objeto(i);
    o.FontName = f.nombre;
    o.FontSize = f.tamano;
    o.FontStyle = f.estilo;
    o.FontUnderline = f.subrayado;
    o.FontStrikethru = f.tachado;
    o.Pendiente = pendiente ? Verdadero : Falso;
    return i;
}

// What a canvas redraw draws for the record, on a box of its own.
Surface DibujoDeRedibujado(ObjetoTicket o, Color tinta = ColorNegro) {
    Surface s;
    s.setForeColor(tinta);
    DibujarTextoEnCaja(o, s, FuenteDelRegistro(o, FamiliasInstaladas()));
    return s;
}

template <typename T> T* Control(QDialog& dlg, const char* nombre) {
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
    struct Caso {
        const char* nombre;
        Fuente fuente;
        QString familiaEsperada; // empty: the first listed family
        const char* estilo;
    };
    const Caso casos[] = {
        {"stored family", {Serif, 42, 2, 1, 0}, Serif, "Bold"},
        {"other capitals", {QStringLiteral("dejavu sans"), 12, 1, 0, 1}, Sans, "Italic"},
        {"unknown family", {QStringLiteral("Arial Imaginaria"), 30, 3, 0, 0}, QString(), "Bold Italic"},
        {"just added", {QString(), 0, 0, 0, 0}, QString(), "Regular"},
        {"beyond the slider", {Sans, 200, 0, 0, 0}, Sans, "Regular"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        Design d;
        Workspace ws;
        const int i = Agregar(d, TipoTextoFijo, QStringLiteral("  Abc 12  "), c.fuente);
        const ObjetoTicket antes = d.objeto(i);
        ws.item(i).setForeColor(0x102030);
        FrmGetFont dlg(d, ws);

        auto* lv = Control<QListWidget>(dlg, "lvFonts");
        ASSERT_GT(lv->count(), 0);
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Edicion de Texto"));
        const QString familia = c.familiaEsperada.isEmpty() ? lv->item(0)->text() : c.familiaEsperada;
        EXPECT_EQ(Control<QLabel>(dlg, "lblSelected")->text(), familia);
        EXPECT_EQ(lv->currentItem()->text(), familia);
        EXPECT_EQ(Control<QLabel>(dlg, "lblSelSize")->text(), QString::number(c.fuente.tamano));
        EXPECT_EQ(Control<QSlider>(dlg, "sldSize")->value(), std::min<int>(c.fuente.tamano, 180));
        EXPECT_EQ(Control<QLabel>(dlg, "lblStyle")->text(), QString::fromLatin1(c.estilo));
        EXPECT_TRUE(
            dlg.findChild<QRadioButton*>(QStringLiteral("optStyle%1").arg(c.fuente.estilo))->isChecked());
        EXPECT_EQ(Control<QCheckBox>(dlg, "chkUnderline")->isChecked(), c.fuente.subrayado != 0);
        EXPECT_EQ(Control<QCheckBox>(dlg, "chkStrikethru")->isChecked(), c.fuente.tachado != 0);
        EXPECT_EQ(Control<QLineEdit>(dlg, "TBEntradaTexto")->text(), QStringLiteral("Abc 12"));

        // Loading draws the object exactly as a redraw would, and writes only the text fields.
        const ObjetoTicket& o = d.objeto(i);
        const Surface esperado = DibujoDeRedibujado(antes, 0x102030);
        EXPECT_TRUE(ws.item(i).image() == esperado.image());
        EXPECT_EQ(ws.item(i).fontName(), familia);
        EXPECT_EQ(o.Texto.valor(), QStringLiteral("Abc 12"));
        EXPECT_EQ(o.CurrentX, 0);
        EXPECT_EQ(o.CurrentY, 0);
        EXPECT_EQ(QSize(o.TextWidth, o.TextHeight), ws.item(i).image().size());
        EXPECT_EQ(o.FontName, antes.FontName);
        EXPECT_EQ(o.FontSize, antes.FontSize);
        EXPECT_EQ(o.Pendiente, antes.Pendiente);
    }
}

TEST(FrmGetFont, FamiliesCarryTheirIconKeyOutlineFirst) {
    Design d;
    Workspace ws;
    Agregar(d, TipoTextoFijo, QStringLiteral("x"), {Sans});
    FrmGetFont dlg(d, ws);
    auto* lv = Control<QListWidget>(dlg, "lvFonts");
    const QList<FamiliaFuente> familias = FamiliasInstaladas();
    ASSERT_EQ(lv->count(), familias.size());
    for (int k = 0; k < lv->count(); ++k) {
        EXPECT_EQ(lv->item(k)->text(), familias[k].nombre);
        EXPECT_EQ(lv->item(k)->data(Qt::UserRole).toString(),
                  familias[k].contorno ? QStringLiteral("True") : QStringLiteral("Fixed"));
        EXPECT_FALSE(lv->item(k)->icon().isNull());
    }
    EXPECT_NE(IconoFuente(true).pixmap(16).toImage(), IconoFuente(false).pixmap(16).toImage());
}

TEST(FrmGetFont, TypingDropsLeadingSpacesAndEnterConfirms) {
    Design d;
    Workspace ws;
    const int i = Agregar(d, TipoTextoFijo, QString(), {QString()}, true);
    FrmGetFont dlg(d, ws);
    dlg.show();
    auto* tb = Control<QLineEdit>(dlg, "TBEntradaTexto");

    Escribir(dlg, QStringLiteral("   Hola  mundo "));
    EXPECT_EQ(tb->text(), QStringLiteral("Hola  mundo "));
    const ObjetoTicket& o = d.objeto(i);
    EXPECT_EQ(o.Texto.valor(), QStringLiteral("Hola  mundo"));
    Surface m;
    AplicarFuente(m, FuenteDelRegistro(o, FamiliasInstaladas()));
    EXPECT_EQ(o.TextWidth, m.textWidth(QStringLiteral("Hola  mundo.")));
    EXPECT_EQ(ws.item(i).width(), o.TextWidth);
    EXPECT_EQ(ws.item(i).height(), m.textHeight());

    // A space typed in front of the text is dropped too.
    tb->setCursorPosition(0);
    QTest::keyClick(tb, Qt::Key_Space);
    EXPECT_EQ(tb->text(), QStringLiteral("Hola  mundo "));

    // Longer texts stop at the record's hundred characters.
    Escribir(dlg, QString(120, QLatin1Char('x')));
    EXPECT_EQ(tb->text().size(), 100);
    EXPECT_EQ(o.Texto.valor().size(), 100);
    Escribir(dlg, QStringLiteral("Fin"));

    QTest::keyClick(tb, Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(o.Pendiente, Falso);
    EXPECT_EQ(o.Texto.valor(), QStringLiteral("Fin"));
    EXPECT_EQ(o.FontName.valor(), FamiliasInstaladas().first().nombre);
    EXPECT_EQ(o.FontSize, 30);
}

TEST(FrmGetFont, ListSliderStyleAndUnderlineDrawLiveAndOkStoresThem) {
    Design d;
    Workspace ws;
    const int i = Agregar(d, TipoTextoFijo, QStringLiteral("Abc"), {Sans, 30}, true);
    FrmGetFont dlg(d, ws);
    dlg.show();
    const Surface& caja = ws.item(i);
    const ObjetoTicket& o = d.objeto(i);
    const int altoInicial = o.TextHeight;

    ClicEnFamilia(dlg, Serif);
    EXPECT_EQ(Control<QLabel>(dlg, "lblSelected")->text(), Serif);
    EXPECT_EQ(caja.fontName(), Serif);

    auto* sld = Control<QSlider>(dlg, "sldSize");
    sld->setFocus();
    QTest::keyClick(sld, Qt::Key_PageUp); // one page: ten points larger
    EXPECT_EQ(sld->value(), 40);
    EXPECT_EQ(Control<QLabel>(dlg, "lblSelSize")->text(), QStringLiteral("40"));
    EXPECT_EQ(caja.fontSize(), 40);
    EXPECT_GT(o.TextHeight, altoInicial);
    EXPECT_EQ(caja.height(), o.TextHeight);

    Marcar(dlg, "optStyle3");
    EXPECT_EQ(dlg.EstiloActual(), 3);
    EXPECT_EQ(Control<QLabel>(dlg, "lblStyle")->text(), QStringLiteral("Bold Italic"));
    EXPECT_TRUE(caja.fontBold() && caja.fontItalic());
    Marcar(dlg, "optStyle1");
    EXPECT_TRUE(!caja.fontBold() && caja.fontItalic());

    Marcar(dlg, "chkUnderline");
    EXPECT_TRUE(caja.fontUnderline());
    EXPECT_FALSE(caja.fontStrikethru());
    // The underline is drawn: its row is inked over the whole text width.
    const Surface esperado = [&] {
        ObjetoTicket r = o;
        r.FontName = Serif;
        r.FontSize = 40;
        r.FontStyle = 1;
        r.FontUnderline = 1;
        return DibujoDeRedibujado(r);
    }();
    EXPECT_TRUE(caja.image() == esperado.image());

    // Until OK the stored font is the old one.
    EXPECT_EQ(o.FontName.valor(), Sans);
    EXPECT_EQ(o.FontSize, 30);
    EXPECT_EQ(o.Pendiente, Verdadero);

    QTest::mouseClick(Control<QPushButton>(dlg, "cmdOK"), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(o.FontName.valor(), Serif);
    EXPECT_EQ(o.FontSize, 40);
    EXPECT_EQ(o.FontStyle, 1);
    EXPECT_EQ(o.FontUnderline, 1);
    EXPECT_EQ(o.FontStrikethru, 0);
    EXPECT_EQ(o.Pendiente, Falso);
}

TEST(FrmGetFont, CancelKeepsTheNewTextAndTheStoredFont) {
    for (const bool pendiente : {false, true}) {
        SCOPED_TRACE(pendiente ? "just added" : "existing");
        Design d;
        Workspace ws;
        const int i = Agregar(d, TipoTextoFijo, QStringLiteral("Uno"), {Sans, 30, 0, 1, 0}, pendiente);
        {
            FrmGetFont dlg(d, ws);
            dlg.show();
            Escribir(dlg, QStringLiteral("Dos"));
            ClicEnFamilia(dlg, Serif);
            Control<QSlider>(dlg, "sldSize")->setValue(60);
            Marcar(dlg, "chkUnderline");
            QTest::mouseClick(Control<QPushButton>(dlg, "cmdCancel"), Qt::LeftButton);
            EXPECT_EQ(dlg.result(), QDialog::Rejected);
        }
        ObjetoTicket& o = d.objeto(i);
        EXPECT_EQ(o.Texto.valor(), QStringLiteral("Dos"));
        EXPECT_EQ(o.FontName.valor(), Sans);
        EXPECT_EQ(o.FontSize, 30);
        EXPECT_EQ(o.FontUnderline, 1);
        EXPECT_EQ(o.Pendiente, pendiente ? Verdadero : Falso);
        // The box keeps the font last applied until the next redraw restores the stored one.
        Surface& caja = ws.item(i);
        EXPECT_EQ(caja.fontName(), Serif);
        EXPECT_EQ(caja.fontSize(), 60);
        DibujarTextoEnCaja(o, caja, FuenteDelRegistro(o, FamiliasInstaladas()));
        EXPECT_EQ(caja.fontName(), Sans);
        EXPECT_EQ(caja.fontSize(), 30);
        EXPECT_TRUE(caja.fontUnderline());
        EXPECT_TRUE(caja.image() == DibujoDeRedibujado(o).image());
    }
}

TEST(FrmGetFont, VariableFieldOffersFamilySizeAndTextOnly) {
    Design d;
    Workspace ws;
    const int i = Agregar(d, TipoTurno, QStringLiteral("88"), {Sans, 30, 2, 1, 1}, true);
    // The box last showed an underlined fixed text; the field must not inherit that.
    ws.item(i).setFontUnderline(true);
    ws.item(i).setFontStrikethru(true);
    FrmGetFontTurno dlg(d, ws);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Edicion de Textos Variables"));
    for (const char* oculto : {"optStyle0", "optStyle1", "optStyle2", "optStyle3", "chkUnderline",
                               "chkStrikethru", "lblSty", "lblStyle"})
        EXPECT_FALSE(Control<QWidget>(dlg, oculto)->isVisible()) << oculto;
    for (const char* visible : {"lvFonts", "sldSize", "lblSelected", "lblSelSize", "TBEntradaTexto", "cmdOK"})
        EXPECT_TRUE(Control<QWidget>(dlg, visible)->isVisible()) << visible;

    const Surface& caja = ws.item(i);
    EXPECT_TRUE(caja.fontBold());
    EXPECT_FALSE(caja.fontUnderline() || caja.fontStrikethru());
    EXPECT_TRUE(caja.image() == DibujoDeRedibujado(d.objeto(i)).image());

    ClicEnFamilia(dlg, Serif);
    EXPECT_FALSE(ws.PicWork.fontBold() || ws.PicWork.fontItalic());
    EXPECT_TRUE(caja.fontBold()); // the stored style still shows
    Escribir(dlg, QStringLiteral("12"));
    QTest::mouseClick(Control<QPushButton>(dlg, "cmdOK"), Qt::LeftButton);

    const ObjetoTicket& o = d.objeto(i);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(o.FontName.valor(), Serif);
    EXPECT_EQ(o.FontStyle, 2);
    EXPECT_EQ(o.FontUnderline, 0);
    EXPECT_EQ(o.FontStrikethru, 0);
    EXPECT_EQ(o.Texto.valor(), QStringLiteral("12"));
    EXPECT_EQ(o.Pendiente, Falso);
}

TEST(FrmGetFont, EditorFollowsTheKindOfObject) {
    Design d;
    Workspace ws;
    const std::pair<int16_t, FrmGetFont::Modo> casos[] = {{TipoTextoFijo, FrmGetFont::Modo::Texto},
                                                          {TipoTurno, FrmGetFont::Modo::Turno},
                                                          {TipoFecha, FrmGetFont::Modo::Turno},
                                                          {TipoHora, FrmGetFont::Modo::Turno}};
    for (const auto& [tipo, modo] : casos) {
        Agregar(d, tipo, QStringLiteral("1"), {Sans});
        EXPECT_EQ(NuevoEditorDeTexto(d, ws)->modo(), modo) << tipo;
    }
}

TEST(FrmGetFont, WithoutCurrentObjectNothingIsTouched) {
    Design d;
    Workspace ws;
    Agregar(d, TipoTextoFijo, QStringLiteral("Uno"), {Sans});
    d.Objeto = 0;
    const ObjetoTicket uno = d.objeto(1);
    const ObjetoTicket cero = d.objeto(0);
    const QImage caja0 = ws.item(0).image();
    FrmGetFont dlg(d, ws);
    Escribir(dlg, QStringLiteral("Otro"));
    QTest::mouseClick(Control<QPushButton>(dlg, "cmdOK"), Qt::LeftButton);
    EXPECT_EQ(d.objeto(1), uno);
    EXPECT_EQ(d.objeto(0), cero);
    EXPECT_TRUE(ws.item(0).image() == caja0);
}
