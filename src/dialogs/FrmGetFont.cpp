#include "FrmGetFont.h"

#include "document/Design.h"
#include "render/Workspace.h"

#include <QCheckBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

namespace quoravex {

namespace {

const std::array<QString, 4> NombresEstilo = {QStringLiteral("Regular"), QStringLiteral("Italic"),
                                              QStringLiteral("Bold"), QStringLiteral("Bold Italic")};

int EstiloDeCaja(const Surface& s) {
    return (s.fontItalic() ? 1 : 0) + (s.fontBold() ? 2 : 0);
}

} // namespace

FrmGetFont::FrmGetFont(Design& d, Workspace& ws, Modo modo, QWidget* parent)
    : QDialog(parent), mModo(modo), mWs(ws), mRegistro(&mRegistroSuelto), mCaja(&mCajaSuelta) {
    // A dialog opened without a current object edits a detached record and box.
    if (Design::slotValido(d.Objeto)) {
        mRegistro = &d.objeto(d.Objeto);
        mCaja = &ws.item(d.Objeto);
    }
    construirControles();
    cargar();
}

std::unique_ptr<FrmGetFont> NuevoEditorDeTexto(Design& d, Workspace& ws, QWidget* parent) {
    if (Design::slotValido(d.Objeto) && d.objeto(d.Objeto).esCampoVariable())
        return std::make_unique<FrmGetFontTurno>(d, ws, parent);
    return std::make_unique<FrmGetFont>(d, ws, parent);
}

void FrmGetFont::cargar() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    mCargando = true;
    const QList<FamiliaFuente> familias = FamiliasInstaladas();
    for (const FamiliaFuente& f : familias)
        agregarFamilia(f);
    setWindowTitle(mModo == Modo::Texto ? QStringLiteral("Edicion de Texto")
                                        : QStringLiteral("Edicion de Textos Variables"));

    // The same font a canvas redraw gives the object, so opening the dialog changes nothing.
    FuenteTexto f = FuenteDelRegistro(*mRegistro, familias);
    if (mModo == Modo::Turno) f.subrayado = f.tachado = false;
    lblSelected->setText(f.familia);
    lblSelSize->setText(QString::number(mRegistro->FontSize));
    {
        // Sizes beyond the slider's range stay in the label, which is what OK stores.
        const QSignalBlocker b(sldSize);
        sldSize->setValue(mRegistro->FontSize);
    }
    mEstiloActual = static_cast<int16_t>(f.estilo);
    optStyle[static_cast<size_t>(mEstiloActual)]->setChecked(true);
    lblStyle->setText(NombresEstilo[static_cast<size_t>(mEstiloActual)]);
    chkUnderline->setChecked(f.subrayado);
    chkStrikethru->setChecked(f.tachado);

    for (Surface* s : {mCaja, &mWs.PicWork}) {
        s->setFontName(f.familia);
        s->setFontSize(f.tamano);
        s->setFontBold(false);
        s->setFontItalic(false);
    }
    // A box that held an underlined text before keeps no underline for a variable field.
    mCaja->setFontUnderline(f.subrayado);
    mCaja->setFontStrikethru(f.tachado);
    UpdateSample(Propiedad::Style);
    seleccionarFamiliaElegida();

    {
        const QSignalBlocker b(TBEntradaTexto);
        TBEntradaTexto->setText(mRegistro->Texto.valor());
    }
    TBEntradaTexto_Change(TBEntradaTexto->text());
    UpdateSample(Propiedad::Name);
    resize(420, height());
    AjustaCaja();
    mCargando = false;
    QGuiApplication::restoreOverrideCursor();
}

void FrmGetFont::seleccionarFamiliaElegida() {
    const QString elegida = lblSelected->text().trimmed();
    QListWidgetItem* encontrada = nullptr;
    for (int i = 0; i < lvFonts->count(); ++i) {
        QListWidgetItem* it = lvFonts->item(i);
        const bool igual = it->text().trimmed() == elegida;
        it->setSelected(igual);
        if (igual && !encontrada) encontrada = it;
    }
    if (!encontrada && lvFonts->count() > 0) {
        encontrada = lvFonts->item(0);
        lblSelected->setText(encontrada->text());
    }
    if (encontrada) {
        const QSignalBlocker b(lvFonts);
        lvFonts->setCurrentItem(encontrada);
        lvFonts->scrollToItem(encontrada);
    }
}

void FrmGetFont::UpdateSample(Propiedad p) {
    Surface& caja = *mCaja;
    // Start from the font the box has and change only the one property.
    FuenteTexto f{caja.fontName(), caja.fontSize(), EstiloDeCaja(caja), caja.fontUnderline(),
                  caja.fontStrikethru()};
    switch (p) {
    case Propiedad::Name:
        f.familia = lblSelected->text().trimmed();
        break;
    case Propiedad::Size:
        f.tamano = lblSelSize->text().toInt();
        break;
    case Propiedad::Style:
        f.estilo = mEstiloActual;
        break;
    case Propiedad::Underline:
        f.subrayado = chkUnderline->isChecked();
        break;
    case Propiedad::Strikethru:
        f.tachado = chkStrikethru->isChecked();
        break;
    case Propiedad::Text:
        break;
    }
    DibujarTextoEnCaja(*mRegistro, caja, f);
    mostrarMuestra();
}

void FrmGetFont::AjustaCaja() {
    mCaja->resize(mRegistro->TextWidth, mRegistro->TextHeight);
    mCaja->refresh();
}

void FrmGetFont::lvFonts_ItemClick(QListWidgetItem* item) {
    if (mCargando || !item) return;
    if (mModo == Modo::Turno) {
        mWs.PicWork.setFontBold(false);
        mWs.PicWork.setFontItalic(false);
        UpdateSample(Propiedad::Style);
    }
    lblSelected->setText(item->text());
    UpdateSample(Propiedad::Name);
}

void FrmGetFont::optStyle_Click(int i) {
    if (i < 0 || i > 3) return;
    lblStyle->setText(NombresEstilo[static_cast<size_t>(i)]);
    mEstiloActual = static_cast<int16_t>(i);
    UpdateSample(Propiedad::Style);
}

void FrmGetFont::sldSize_Change(int valor) {
    lblSelSize->setText(QString::number(valor));
    UpdateSample(Propiedad::Size);
}

void FrmGetFont::TBEntradaTexto_Change(const QString& texto) {
    qsizetype espacios = 0;
    while (espacios < texto.size() && texto.at(espacios) == QLatin1Char(' '))
        ++espacios;
    if (espacios > 0) {
        const int cursor = TBEntradaTexto->cursorPosition();
        const QSignalBlocker b(TBEntradaTexto);
        TBEntradaTexto->setText(texto.mid(espacios));
        TBEntradaTexto->setCursorPosition(std::max<int>(0, cursor - static_cast<int>(espacios)));
    }
    mRegistro->Texto = TBEntradaTexto->text();
    UpdateSample(Propiedad::Text);
}

void FrmGetFont::cmdOK_Click() {
    // Enter in the text box and the default button may both ask for it.
    if (mTerminado) return;
    mTerminado = true;
    ObjetoTicket& o = *mRegistro;
    o.FontSize = static_cast<int16_t>(std::clamp(lblSelSize->text().toInt(), -32768, 32767));
    o.FontName = lblSelected->text().trimmed();
    o.FontStyle = mEstiloActual;
    o.FontUnderline = chkUnderline->isChecked() ? 1 : 0;
    o.FontStrikethru = chkStrikethru->isChecked() ? 1 : 0;
    o.Texto = TextoFijo<LongitudTexto>::recortarEspacios(TBEntradaTexto->text());
    o.Pendiente = Falso;
    accept();
}

void FrmGetFont::cmdCancel_Click() {
    mTerminado = true;
    reject();
}

bool FrmGetFont::eventFilter(QObject* objeto, QEvent* e) {
    // The style options keep no focus: a click still selects, the keyboard stays on the list.
    if (e->type() == QEvent::FocusIn && std::ranges::find(optStyle, objeto) != optStyle.end())
        lvFonts->setFocus();
    return QDialog::eventFilter(objeto, e);
}

void FrmGetFont::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    mTerminado = false;
    TBEntradaTexto->setFocus();
}

} // namespace quoravex
