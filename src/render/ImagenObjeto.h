#pragma once

#include "Surface.h"
#include "Tramado.h"

#include <QImage>
#include <QString>
#include <optional>

namespace quoravex {

struct ObjetoTicket;

// Largest picture file the image dialog accepts, in bytes.
constexpr qint64 TamanoMaximoImagen = 50000;

// Loads a picture file (BMP, PNG, JPEG, GIF). Corrupt, truncated or empty files, files that
// are not pictures and pictures whose declared size is absurd give nothing, without
// allocating for them.
std::optional<QImage> CargarImagen(const QString& ruta);

// Pure black and white: a pixel with 3R + 6G + B <= 1280 becomes black, any other white.
QImage BlancoYNegro(const QImage& origen);

// A working bitmap's bytes: the picture as a 1-bit Windows bitmap.
QByteArray CodificarImagenTrabajo(const QImage& imagen);

// The working bitmap of the object in `slot` that holds these bytes: "Imagen" + slot + "-" +
// 8 hex digits of their digest + ".bmp" in the current directory. Different pictures never
// share a file, so no design's picture is ever replaced by another's.
QString RutaImagenTrabajo(int slot, const QByteArray& bytes);

// Stores the picture as the working bitmap of `slot` and returns its path; a file of that
// name holding the same bytes is left as it is. Empty when it could not be written.
QString GuardarImagenTrabajoDe(int slot, const QImage& imagen);

// The working bitmap of `slot` holding the same picture as the file at `origen` (a copied
// object's); empty when that file cannot be read or the copy written.
QString CopiarImagenTrabajo(const QString& origen, int slot);

// Replaces the file at ruta by the picture as a Windows bitmap; false when it could not be written.
bool GuardarImagenTrabajo(const QImage& imagen, const QString& ruta);

// A picture path as an object record keeps it: one that would not fit the record's field is
// named by its file name alone, which is looked for beside the design and in the current folder.
QString RutaParaRegistro(const QString& ruta);

// Where a stored picture path is found: as written; else the same file name in the stored
// folder, in the design file's folder, else in the current directory, at each place a name
// that differs only in letter case too, as on Windows. Empty when none exists.
QString ResolverRutaImagen(const QString& guardada, const QString& dirDiseno = QString());

// Where a picture is shown in a preview: fitted keeping its aspect ratio, a landscape
// picture across the full width and centred vertically, any other across the full height
// and centred horizontally. Empty for a picture without size.
QRect EncajeVistaPrevia(double anchoFuente, double altoFuente, int anchoVista, int altoVista);

// Clears the preview and shows the picture fitted into it.
void PintarVistaPrevia(Surface& vista, const QImage& imagen);

// Clears the preview, drops its picture and prints the text centred in it.
void MensajeImagen(Surface& vista, const QString& texto);

// The image object being edited or drawn: the state and steps of the image dialog that do
// not involve its preview. The dialog and the canvas redraw both use it.
class ImagenObjeto {
public:
    ImagenObjeto(ObjetoTicket& o, int slot, Surface& caja, Surface& picWork2, const Surface& picTicket);

    bool ImagenNueva = false; // a dropped picture still to be converted, stored and placed
    double AnchoFuente = 0;   // size of the picture held by PicWork2
    double AltoFuente = 0;
    Conversion Metodo = Conversion::Umbral; // how a new picture becomes black and white
    int Brillo = 0;                         // BrilloMinimo .. BrilloMaximo

    // Loads the picture onto PicWork2; when ImagenNueva is set, keeps it as the original,
    // converts it by Metodo and Brillo and stores it as the working bitmap (ImagenTrabajo :=
    // its path). Then paints the object's box. False when the file is not a usable picture
    // (nothing painted).
    bool cargaImagen(const QString& ruta);

    // Keeps the picture at ruta as the original that reconvertir works from; nothing else
    // changes. False when it is no usable picture, or it is the working bitmap loaded by
    // cargaImagen or the one this slot writes: a bitmap is not converted from itself.
    bool cargaOriginal(const QString& ruta);

    // An original is held, from cargaOriginal or a new picture.
    bool puedeReconvertir() const { return !mOriginal.isNull(); }

    // Metodo := metodo and Brillo := brillo; then the original is converted again, stored as
    // the working bitmap and painted into the box, which keeps its place and size (a picture
    // of another size keeps the place and takes AnchoImagen's width). Without an original
    // only the settings change and the answer is false.
    bool reconvertir(Conversion metodo, int brillo);

    // AnchoImagen := ancho; with a working bitmap, the box's width := ancho and its height
    // follows the picture's aspect ratio.
    void aplicaAncho(int ancho);

    // Sizes and, for a new picture, places the box; clears it and paints the picture.
    void pintaImagenObjeto();

    // The size slider released: the box's width follows its height, then it is repainted.
    void ajustarTrasSlider();

    // A picture the user chose: loaded, converted, stored and placed as a new picture, and
    // ImagenOrigen := ruta. False when it is not a usable picture; then nothing changes.
    bool ponerImagenNueva(const QString& ruta);

    // The size slider pressed: the box is cleared and framed while it is resized.
    void inicioSlider();

    // The picture PicWork2 holds: as loaded, or converted for a new picture.
    const QImage& imagenCargada() const { return mWork2.image(); }

    // A picture is held by PicWork2 (its size is known).
    bool tieneImagen() const { return AnchoFuente > 0 && AltoFuente > 0; }

private:
    void cargaDesde(const QImage& imagen);
    void convertirOriginal();
    void pintarEnCaja(double ancho, double alto);

    ObjetoTicket& mObjeto;
    int mSlot;
    Surface& mCaja;
    Surface& mWork2;
    const Surface& mTicket;
    QImage mOriginal;     // the picture the working bitmap is converted from
    QString mRutaCargada; // the working bitmap cargaImagen loaded
};

} // namespace quoravex
