#pragma once

#include "render/CodigoBarras.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quoravex {

class Design;
class Workspace;

// "Código de Barras / QR": gives the current image object a QR code or a barcode. The
// symbol is drawn at its module size, one printer dot per pixel, and shown as it will print;
// data the symbology refuses, or a code wider than the ticket, is explained beside the data
// and cannot be accepted. Nothing changes until "Aceptar".
class FrmCodigo : public QDialog {
    Q_OBJECT
public:
    // Opens on d.Objeto: with its code when it has one (its description file is found through
    // dirDiseno), else a new QR code.
    FrmCodigo(Design& d, Workspace& ws, const QString& dirDiseno = QString(), QWidget* parent = nullptr);

    // The code as the controls describe it now, and its picture (null when refused).
    ParametrosCodigo parametros() const;
    const QImage& imagen() const { return mImagen; }
    // Why the code cannot be accepted, as shown; empty when it can.
    QString error() const;

    // Message boxes go through here; by default a warning box over the dialog.
    std::function<void(const QString& texto)> Avisar;

    QComboBox* cboTipo;
    QLineEdit* txtDatos;
    QLabel* lblError;
    QSpinBox* spnModulo;
    QComboBox* cboNivel;
    QComboBox* cboVersion;
    QCheckBox* chkTexto;
    QLabel* lblVista;
    QLabel* lblTamano;
    QPushButton* cmdAceptar;
    QPushButton* cmdCancelar;

private:
    void mostrar(const ParametrosCodigo& p);
    void cambioTipo();
    void actualizar();
    void aceptar();

    Design& mDiseno;
    Workspace& mWs;
    bool mNuevo;
    bool mCargando = false;
    QImage mImagen;
};

} // namespace quoravex
