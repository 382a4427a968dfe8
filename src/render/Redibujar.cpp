#include "Redibujar.h"

#include "ImagenObjeto.h"
#include "Relleno.h"
#include "TextoObjeto.h"
#include "Workspace.h"

#include "document/Design.h"

#include <QFileInfo>

namespace quoravex {

namespace {

// Colour of object i in the current view, or nothing when it is not shown there.
std::optional<Color> colorEnVista(const Design& d, int i) {
    switch (d.visibilidad(i)) {
    case Visibilidad::Normal:
        return ColorNegro;
    case Visibilidad::Atenuada:
        return ColorGris;
    case Visibilidad::Oculta:
        break;
    }
    return std::nullopt;
}

void prepararCaja(Surface& caja, const ObjetoTicket& o, Color fondo, Color tinta) {
    caja.setGeometry(o.Left, o.Top, o.Width, o.Height);
    caja.setBackColor(fondo);
    caja.setFillColor(tinta);
    caja.setForeColor(tinta);
}

void dibujarImagen(Design& d, Workspace& ws, int i, Color color, const QString& dirDiseno,
                   const ObjetoRelleno* relleno) {
    ObjetoTicket& o = d.objeto(i);
    Surface& caja = ws.item(i);
    prepararCaja(caja, o, ColorBlanco, color);
    caja.clear();
    if (relleno && !relleno->codigo.isNull()) {
        // A code made again from its filled data: one dot per pixel, cut by its box.
        caja.paintPicture(relleno->codigo, relleno->codigo.rect());
        ColorearImagen(ws, i, color);
        return;
    }
    // Without its working bitmap an image shows as a white box of its recorded size.
    const QString ruta = ResolverRutaImagen(o.ImagenTrabajo.valor(), dirDiseno);
    if (!ruta.isEmpty()) {
        ImagenObjeto imagen(o, i, caja, ws.PicWork2, ws.PicTicket);
        imagen.ImagenNueva = false;
        imagen.cargaImagen(ruta);
    }
    ColorearImagen(ws, i, color);
}

void dibujarObjeto(Design& d, Workspace& ws, int i, const QString& dirDiseno,
                   const QList<FamiliaFuente>& familias, const Relleno* relleno);

} // namespace

void RedibujarTicket(Design& d, Workspace& ws, const QString& dirDiseno, const Relleno* relleno) {
    if (d.NumObjetos < 1) return;
    for (int i = 1; i <= d.IdxObjMasAlto; ++i)
        ws.aparcar(i);
    const QList<FamiliaFuente> familias = FamiliasInstaladas();
    for (int i = 1; i <= d.IdxObjMasAlto; ++i)
        if (d.objeto(i).enUso()) dibujarObjeto(d, ws, i, dirDiseno, familias, relleno);
}

void DibujarObjeto(Design& d, Workspace& ws, int i, const QString& dirDiseno) {
    dibujarObjeto(d, ws, i, dirDiseno, FamiliasInstaladas(), nullptr);
}

namespace {

void dibujarObjeto(Design& d, Workspace& ws, int i, const QString& dirDiseno,
                   const QList<FamiliaFuente>& familias, const Relleno* relleno) {
    if (!Design::slotValido(i)) return;
    d.Objeto = static_cast<int16_t>(i);
    const auto color = colorEnVista(d, i);
    if (!color) return;
    ObjetoTicket& o = d.objeto(i);
    Surface& caja = ws.item(i);
    const ObjetoRelleno* lleno = nullptr;
    if (relleno)
        if (const auto r = relleno->objetos.find(i); r != relleno->objetos.end()) lleno = &r->second;
    switch (o.Tipo) {
    case TipoTextoFijo:
    case TipoTurno:
    case TipoFecha:
    case TipoHora:
        prepararCaja(caja, o, ColorBlanco, *color);
        if (lleno && o.Tipo == TipoTextoFijo)
            DibujarTextoEnCaja(o, caja, FuenteDelRegistro(o, familias), lleno->texto);
        else
            DibujarTextoEnCaja(o, caja, FuenteDelRegistro(o, familias));
        break;
    case TipoImagen:
        dibujarImagen(d, ws, i, *color, dirDiseno, lleno);
        break;
    case TipoLinea:
        prepararCaja(caja, o, *color, *color);
        caja.clear();
        break;
    default:
        return;
    }
    caja.refresh();
}

} // namespace

void ColorearImagen(Workspace& ws, int i, Color colorDibujo) {
    QImage& img = ws.item(i).image();
    const QRgb blanco = AQRgb(ColorBlanco);
    const QRgb tinta = AQRgb(colorDibujo);
    for (int y = 0; y < img.height(); ++y) {
        auto* fila = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((fila[x] | 0xFF000000u) != blanco) fila[x] = tinta;
    }
}

} // namespace quoravex
