#include "ImagenObjeto.h"

#include "document/Numeros.h"
#include "document/ObjetoTicket.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <limits>

namespace quoravex {

namespace {

// Real sizes and positions become whole pixels rounding halves to even.
int Entero(double v) {
    return RedondeoPar(v).value_or(0);
}

} // namespace

QRect EncajeVistaPrevia(double anchoFuente, double altoFuente, int anchoVista, int altoVista) {
    if (!(anchoFuente > 0) || !(altoFuente > 0)) return QRect();
    double x = 0, y = 0, w = anchoVista, h = altoVista;
    if (anchoFuente > altoFuente) {
        h = altoFuente * anchoVista / anchoFuente;
        y = (altoVista - h) / 2;
    } else {
        w = anchoFuente * altoVista / altoFuente;
        x = (anchoVista - w) / 2;
    }
    return QRect(Entero(x), Entero(y), Entero(w), Entero(h));
}

void PintarVistaPrevia(Surface& vista, const QImage& imagen) {
    vista.clear();
    vista.paintPicture(imagen,
                       EncajeVistaPrevia(imagen.width(), imagen.height(), vista.width(), vista.height()));
    vista.refresh();
}

void MensajeImagen(Surface& vista, const QString& texto) {
    vista.setPicture(QImage());
    vista.clear();
    vista.setCurrentX(vista.width() / 2 - vista.textWidth(texto) / 2);
    vista.setCurrentY(vista.height() / 2 - vista.textHeight(texto) / 2);
    vista.print(texto);
    vista.refresh();
}

ImagenObjeto::ImagenObjeto(ObjetoTicket& o, int slot, Surface& caja, Surface& picWork2,
                           const Surface& picTicket)
    : mObjeto(o), mSlot(slot), mCaja(caja), mWork2(picWork2), mTicket(picTicket) {}

bool ImagenObjeto::cargaImagen(const QString& ruta) {
    // Loaded aside first, so that a bad file leaves the work surface and the box as they were.
    const std::optional<QImage> imagen = CargarImagen(ruta);
    if (!imagen) return false;
    if (!ImagenNueva) mRutaCargada = ruta;
    cargaDesde(*imagen);
    return true;
}

bool ImagenObjeto::cargaOriginal(const QString& ruta) {
    const QFileInfo info(ruta);
    for (const QString& trabajo : {mRutaCargada, ResolverRutaImagen(mObjeto.ImagenTrabajo.valor())})
        if (!trabajo.isEmpty() && info == QFileInfo(trabajo)) return false;
    const std::optional<QImage> imagen = CargarImagen(ruta);
    if (!imagen) return false;
    mOriginal = *imagen;
    return true;
}

bool ImagenObjeto::reconvertir(Conversion metodo, int brillo) {
    Metodo = metodo;
    Brillo = std::clamp(brillo, BrilloMinimo, BrilloMaximo);
    if (mOriginal.isNull()) return false;
    const bool mismoTamano = mOriginal.size() == QSize(Entero(AnchoFuente), Entero(AltoFuente));
    convertirOriginal();
    AnchoFuente = mWork2.width();
    AltoFuente = mWork2.height();
    if (!mismoTamano) {
        pintaImagenObjeto();
        return true;
    }
    const double alto = mCaja.height();
    pintarEnCaja(AnchoFuente * alto / AltoFuente, alto);
    return true;
}

bool ImagenObjeto::ponerImagenNueva(const QString& ruta) {
    const std::optional<QImage> imagen = CargarImagen(ruta);
    if (!imagen) return false;
    mObjeto.ImagenOrigen = ruta;
    mObjeto.ImagenTrabajo = ruta;
    ImagenNueva = true;
    cargaDesde(*imagen);
    return true;
}

void ImagenObjeto::cargaDesde(const QImage& imagen) {
    if (ImagenNueva) {
        mOriginal = imagen;
        convertirOriginal();
    } else {
        mWork2.image() = imagen;
        mWork2.setPicture(imagen);
    }
    AnchoFuente = mWork2.width();
    AltoFuente = mWork2.height();
    pintaImagenObjeto();
}

void ImagenObjeto::convertirOriginal() {
    const QImage bn = ConvertirBlancoYNegro(mOriginal, Metodo, Brillo);
    mWork2.image() = bn;
    mWork2.setPicture(bn);
    // A bitmap that cannot be written is not fatal: the box shows the picture all the same.
    const QString guardada = GuardarImagenTrabajoDe(mSlot, bn);
    mObjeto.ImagenTrabajo =
        RutaParaRegistro(guardada.isEmpty() ? RutaImagenTrabajo(mSlot, CodificarImagenTrabajo(bn)) : guardada);
}

void ImagenObjeto::aplicaAncho(int ancho) {
    mObjeto.AnchoImagen = static_cast<int16_t>(
        std::clamp<int>(ancho, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
    if (mObjeto.ImagenTrabajo.vacio()) return;
    mCaja.resize(mObjeto.AnchoImagen, mCaja.height());
    if (tieneImagen()) mCaja.resize(mCaja.width(), Entero(mCaja.width() * AltoFuente / AnchoFuente));
}

void ImagenObjeto::pintaImagenObjeto() {
    if (mObjeto.ImagenTrabajo.vacio() || !tieneImagen()) return;
    aplicaAncho(mObjeto.AnchoImagen);
    double w = 0, h = 0;
    if (ImagenNueva) {
        if (!(AnchoFuente > AltoFuente)) {
            // At least as tall as wide: centred across the ticket, top kept.
            h = mCaja.height();
            w = AnchoFuente * h / AltoFuente;
            mCaja.move(Entero((mTicket.width() - w) / 2), mCaja.top());
            mCaja.resize(Entero(w), mCaja.height());
        } else {
            // Landscape: centred along the ticket, left edge kept.
            w = mCaja.width();
            h = AltoFuente * w / AnchoFuente;
            mCaja.move(mCaja.left(), Entero((mTicket.height() - h) / 2));
            mCaja.resize(mCaja.width(), Entero(h));
        }
        ImagenNueva = false;
    } else {
        h = mCaja.height();
        w = AnchoFuente * h / AltoFuente;
    }
    pintarEnCaja(w, h);
}

void ImagenObjeto::inicioSlider() {
    mCaja.clear();
    mCaja.setBorder(true);
    mCaja.refresh();
}

void ImagenObjeto::ajustarTrasSlider() {
    mCaja.setBorder(false);
    if (!tieneImagen()) {
        mCaja.refresh();
        return;
    }
    const double h = mCaja.height();
    const double w = AnchoFuente * h / AltoFuente;
    mCaja.resize(Entero(w), mCaja.height());
    pintarEnCaja(w, h);
}

void ImagenObjeto::pintarEnCaja(double ancho, double alto) {
    mCaja.clear();
    mCaja.paintPicture(mWork2.image(), QRect(0, 0, Entero(ancho), Entero(alto)));
    mCaja.refresh();
}

} // namespace quoravex
