#pragma once

#include "document/Design.h"

#include <QObject>
#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace quoravex {

class Workspace;

// The commands that add objects and act on the current object (Design::Objeto): they change
// the record and the object's box together. Dialogs and messages go through replaceable
// functions, so that tests drive them without a modal loop.
class ComandosObjeto : public QObject {
    Q_OBJECT
public:
    ComandosObjeto(Design& d, Workspace& ws, QWidget* padreDialogos = nullptr, QObject* parent = nullptr);

    // Line modes consumed by the mouse handling: a new line waits to be drawn, or the
    // current line's length follows the mouse. lineaEnCurso() is that line's slot.
    bool DibujandoLinea = false;
    bool AlargandoLinea = false;
    int lineaEnCurso() const { return mLineaEnCurso; }
    void terminarModosLinea();

    // Runs a dialog modally and returns its result; exec() unless replaced.
    std::function<int(QDialog&)> ejecutarDialogo;
    // Tells the user something; a warning box unless replaced.
    std::function<void(const QString&)> mostrarMensaje;
    // Creates the text or variable-field editor for the current object, and the push-button
    // selection dialog; the window that owns the dialogs hands them in. Without them those
    // commands open nothing (a just-added object is removed again, as on cancel).
    std::function<std::unique_ptr<QDialog>(QWidget* padre)> nuevoEditorTexto;
    std::function<std::unique_ptr<QDialog>(QWidget* padre)> nuevoSelPulsador;
    // Creates the image editor for the current object; without it, modifying an image
    // opens nothing (and a just-added image is removed again, as on cancel).
    std::function<std::unique_ptr<QDialog>(QWidget* padre)> nuevoEditorImagen;
    // Creates the code editor for the current object, and tells whether an image object is a
    // code that it can edit; without them, codes are edited as pictures.
    std::function<std::unique_ptr<QDialog>(QWidget* padre)> nuevoEditorCodigo;
    std::function<bool(const ObjetoTicket& o)> esCodigo;
    // Redraws the current view; RedibujarTicket unless replaced.
    std::function<void()> redibujar;

    // Add commands. Each returns the new slot, or 0 when nothing was added (design full,
    // unknown format, or the editor of the new object was cancelled).
    int AnadirTextoFijo();
    int AnadirImagen();
    int AnadirCodigo(); // an image object whose picture is a QR code or a barcode
    int AnadirLinea();
    int AnadirTurno(int formato);
    int AnadirFecha(int formato);
    int AnadirHora(int formato);

    // Opens the editor of object i by kind, removes it if it is still pending afterwards,
    // then redraws.
    void Modificar(int i);

    // Commands on the current object.
    int Copiar(); // returns the copy's slot, or 0
    void Borrar();
    void TraerAlFrente();
    void LlevarAlFondo();
    void CentrarHorizontal();
    void CentrarVertical();
    void CentrarAmbos();
    void RotarLinea();
    void GrosorDeLinea(int n);
    void ModificarFinalLinea();
    void SelPulsador();

    // Takes the position, size and font name of box i back into its record.
    void CopiarGeometriaItem(int i);

    // Sample text of a variable-field format, empty for an unknown one.
    static QString TextoMuestra(int tipo, int formato);

private:
    int anadir(const NuevoObjeto& nuevo);
    int anadirSinImagen(const NuevoObjeto& nuevo);
    int anadirImagen(bool codigo);
    int anadirCampo(int tipo, int formato);
    bool actual(int& i) const;

    Design& mDiseno;
    Workspace& mWs;
    QWidget* mPadre;
    int mLineaEnCurso = 0;
    int mCodigoNuevo = 0; // a code object being added: its editor is the code dialog
};

} // namespace quoravex
