#pragma once

#include "document/ObjetoTicket.h"
#include "render/TextoObjeto.h"

#include <QDialog>
#include <array>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QRadioButton;
class QSlider;

namespace quoravex {

class Design;
class Workspace;

// Edits the text and font of the current object (Design::Objeto) and draws it live into the
// object's own box. The text and its measured size go into the record at once; the font
// only when the user confirms with OK, which also clears Pendiente. Cancel undoes nothing.
// Everything is loaded and drawn in the constructor, so the dialog works shown or not.
class FrmGetFont : public QDialog {
    Q_OBJECT
public:
    // Fixed texts: every font choice. Variable fields: family, size and text only.
    enum class Modo { Texto, Turno };
    // What UpdateSample takes from the controls into the box's font.
    enum class Propiedad { Name, Size, Style, Underline, Strikethru, Text };

    FrmGetFont(Design& d, Workspace& ws, QWidget* parent = nullptr)
        : FrmGetFont(d, ws, Modo::Texto, parent) {}

    Modo modo() const { return mModo; }
    int16_t EstiloActual() const { return mEstiloActual; }
    // The object being edited (a detached record when Objeto names no slot).
    const ObjetoTicket& registro() const { return *mRegistro; }

    // Applies one property of the controls to the box's font, re-measures and redraws the text.
    void UpdateSample(Propiedad p);
    // The box takes the record's TextWidth x TextHeight.
    void AjustaCaja();

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    FrmGetFont(Design& d, Workspace& ws, Modo modo, QWidget* parent);
    void showEvent(QShowEvent* e) override;
    // An option button that gets the focus hands it on to the font list.
    bool eventFilter(QObject* objeto, QEvent* e) override;

private:
    void construirControles();
    QListWidgetItem* agregarFamilia(const FamiliaFuente& f);
    void cargar();
    void seleccionarFamiliaElegida();
    void mostrarMuestra();

    void lvFonts_ItemClick(QListWidgetItem* item);
    void optStyle_Click(int i);
    void sldSize_Change(int valor);
    void TBEntradaTexto_Change(const QString& texto);

    Modo mModo;
    Workspace& mWs;
    ObjetoTicket* mRegistro;
    Surface* mCaja;
    ObjetoTicket mRegistroSuelto;
    Surface mCajaSuelta;
    int16_t mEstiloActual = 0;
    bool mCargando = true;
    bool mTerminado = false;

    QListWidget* lvFonts = nullptr;
    QLabel* lblSelected = nullptr;
    QSlider* sldSize = nullptr;
    QLabel* lblSelSize = nullptr;
    std::array<QRadioButton*, 4> optStyle{};
    QButtonGroup* mGrupoEstilo = nullptr;
    QLabel* lblSty = nullptr;
    QLabel* lblStyle = nullptr;
    QCheckBox* chkUnderline = nullptr;
    QCheckBox* chkStrikethru = nullptr;
    QLineEdit* TBEntradaTexto = nullptr;
    QLabel* picSample = nullptr;
};

// The variable-field chooser: the same dialog without style, underline and strike-through.
class FrmGetFontTurno : public FrmGetFont {
    Q_OBJECT
public:
    FrmGetFontTurno(Design& d, Workspace& ws, QWidget* parent = nullptr)
        : FrmGetFont(d, ws, Modo::Turno, parent) {}
};

// The chooser for the current object's kind: variable fields (turn, date, time) get the
// variable-field dialog, everything else the fixed-text one.
std::unique_ptr<FrmGetFont> NuevoEditorDeTexto(Design& d, Workspace& ws, QWidget* parent = nullptr);

// The list icons, drawn in code: "True" for outline families, "Fixed" for bitmap ones.
QIcon IconoFuente(bool contorno);

} // namespace quoravex
