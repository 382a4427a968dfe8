#pragma once

#include "render/ImagenObjeto.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace quoravex {

class Design;
class Workspace;
class VistaImagen;
class SliderTamano;

// "Edición de Imagenes": gives the current image object its picture. A picture dropped on
// the preview (or chosen by clicking it) is converted to black and white, stored as the
// object's working bitmap and painted into its box; the slider sets the box's width. The
// conversion and the brightness convert the original picture again and store the result at
// once; reopened on a stored bitmap they work from the object's original picture file, and
// are disabled when it is gone. Everything applies as it happens; OK only confirms a
// just-added object.
class FrmGetImagen : public QDialog {
    Q_OBJECT
public:
    // Loads the dialog for d.Objeto: shows its working bitmap, found through dirDiseno (the
    // design file's folder) when its stored path does not exist, or the drop prompt.
    FrmGetImagen(Design& d, Workspace& ws, const QString& dirDiseno = QString(), QWidget* parent = nullptr);

    // Message boxes go through here; by default an error box over the dialog.
    std::function<void(const QString& texto)> Avisar;
    // Asked for a picture file when the preview is clicked; empty when the user gives up.
    std::function<QString()> ElegirFichero;

    // What a drop onto the preview does with its file names.
    void soltarFicheros(const QStringList& nombres);
    // Shows a text centred in the preview.
    void MensajeImagen(const QString& texto);

    const ImagenObjeto& imagen() const { return mImagen; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void cmdOK_Click();
    void Picture1_Click();
    void sldSize_MouseDown();
    void sldSize_MouseMove();
    void sldSize_MouseUp();
    // The single existing file of a drop, or empty after telling the user why not.
    QString FicherosSoltados(const QStringList& nombres);
    bool cargar(const QString& ruta, bool nueva);
    void mostrarImagen();
    // The conversion controls changed: the picture converted again and shown.
    void cambiarConversion();

    Design& mDiseno;
    ImagenObjeto mImagen;
    VistaImagen* Picture1;
    SliderTamano* sldSize;
    QComboBox* cboConversion;
    QSlider* sldBrillo;
    QLabel* lblValorBrillo;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

// Texts of the dialog's messages.
inline const QString TextoArrastrar = QStringLiteral("Arrastra Imagen hasta Aqui!");
inline const QString TextoFormatoNoValido = QStringLiteral("Formato de Imagen NO Valido!");
inline const QString TextoDemasiadoGrande =
    QStringLiteral("Fichero demasiado grande! Por Favor cambie su selección.");
inline const QString TextoVariosFicheros =
    QStringLiteral("Suelte un solo fichero de imagen. Se han soltado varios a la vez.");
inline const QString TextoEsCarpeta = QStringLiteral("Ha soltado una carpeta. Suelte un fichero de imagen.");
inline const QString TextoNoExiste = QStringLiteral("El fichero no existe o no se puede abrir:\n");

} // namespace quoravex
