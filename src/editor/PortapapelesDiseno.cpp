#include "PortapapelesDiseno.h"

#include "CodigoObjeto.h"
#include "ObjetosCanvas.h"
#include "Organizar.h"
#include "Seleccion.h"

#include "document/Design.h"
#include "document/Ficheros.h"
#include "render/ImagenObjeto.h"
#include "render/SalidaRaster.h"
#include "render/Workspace.h"

#include <QBuffer>
#include <QPainter>
#include <QCryptographicHash>
#include <QDir>

namespace quoravex {

namespace {

constexpr int AnchoPapel = 384;
constexpr int Desplazamiento = 8;

// The view mask a pasted object shows in: its own membership when that includes the view.
uint32_t MembresiaEnVista(const Design& d, const ObjetoTicket& o) {
    if (o.esCampoVariable()) return 1;
    return (o.Pulsadores & d.VistaActual) != 0 || d.NumPulsadores == 0 ? o.Pulsadores : d.VistaActual;
}

bool Encima(const Design& d, const QList<ObjetoCopiado>& objetos, int dx, int dy) {
    for (const ObjetoCopiado& c : objetos) {
        const ObjetoTicket& p = c.registro;
        bool igual = false;
        for (int j = 1; j <= MaxObjetos && !igual; ++j) {
            if (!d.enUso(j)) continue;
            const ObjetoTicket& o = d.objeto(j);
            igual = o.Tipo == p.Tipo && o.Left == p.Left + dx && o.Top == p.Top + dy && o.Width == p.Width &&
                    o.Height == p.Height;
        }
        if (!igual) return false;
    }
    return !objetos.isEmpty();
}

int Agregar(Design& d, Workspace& ws, ObjetoTicket o) {
    const int i = d.buscarSlotLibre();
    if (i == 0) return 0;
    d.NumObjetos += 1;
    o.EnUso = Verdadero;
    o.Pendiente = Falso;
    o.Orden = d.NumObjetos;
    d.objeto(i) = o;
    if (i > d.IdxObjMasAlto) d.IdxObjMasAlto = static_cast<int16_t>(i);
    ws.colocar(i, o);
    ws.alFrente(i);
    d.Objeto = static_cast<int16_t>(i);
    d.TicketModificado = Verdadero;
    return i;
}

} // namespace

QList<ObjetoCopiado> ObjetosParaCopiar(const Design& d, const QList<int>& lista, const QString& dirDiseno) {
    QList<ObjetoCopiado> r;
    for (int i : EnOrdenDePila(d, lista)) {
        if (!d.enUso(i)) continue;
        ObjetoCopiado c;
        c.registro = d.objeto(i);
        if (c.registro.Tipo == TipoImagen) {
            c.bitmap = LeerFichero(ResolverRutaImagen(c.registro.ImagenTrabajo.valor(), dirDiseno));
            if (EsDescripcionCodigo(c.registro.ImagenOrigen.valor()))
                c.descripcion = LeerFichero(ResolverRutaImagen(c.registro.ImagenOrigen.valor(), dirDiseno));
        }
        r << c;
    }
    return r;
}

QImage ImagenDeObjetos(const Design& d, const Workspace& ws, const QList<int>& lista) {
    // The design with only these objects, every one of them in the view composed.
    Design solo = d;
    QList<QRect> cajas;
    for (int i = 1; i <= MaxObjetos; ++i) {
        if (!solo.enUso(i)) continue;
        if (lista.contains(i)) {
            solo.objeto(i).Pulsadores |= solo.VistaActual;
            cajas << QRect(d.objeto(i).Left, d.objeto(i).Top, d.objeto(i).Width, d.objeto(i).Height);
        } else {
            solo.objeto(i).EnUso = Falso;
        }
    }
    const QRect recorte = Envolvente(cajas).intersected(QRect(0, 0, AnchoPapel, d.LargoTicket + 1));
    if (recorte.isEmpty()) return {};
    const RasterBits raster = ComponerRaster(solo, ws);
    QImage imagen(recorte.size(), QImage::Format_Mono);
    imagen.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    imagen.fill(0);
    for (int y = 0; y < recorte.height(); ++y)
        for (int x = 0; x < recorte.width(); ++x)
            if (raster.negro(recorte.left() + x, recorte.top() + y)) imagen.setPixel(x, y, 1);
    return imagen;
}

Pegado PegarObjetos(Design& d, Workspace& ws, const QList<ObjetoCopiado>& objetos) {
    Pegado r;
    QList<ObjetoCopiado> aceptados;
    for (const ObjetoCopiado& c : objetos) {
        bool repetido = false;
        if (c.registro.esCampoVariable())
            for (int j = 1; j <= MaxObjetos; ++j)
                repetido = repetido || (d.enUso(j) && d.objeto(j).Tipo == c.registro.Tipo);
        if (repetido)
            r.avisos << QStringLiteral("El diseño ya tiene un campo de ese tipo; no se ha pegado otro.");
        else
            aceptados << c;
    }
    int libres = 0;
    for (int i = 1; i <= MaxObjetos; ++i)
        libres += d.enUso(i) ? 0 : 1;
    if (aceptados.size() > libres) {
        r.error = QStringLiteral("No caben %1 objetos más: el diseño ya tiene %2 de los %3 que admite.")
                      .arg(aceptados.size())
                      .arg(MaxObjetos - libres)
                      .arg(MaxObjetos);
        return r;
    }
    int dx = 0, dy = 0;
    for (int k = 0; k < 50 && Encima(d, aceptados, dx, dy); ++k) {
        dx += Desplazamiento;
        dy += Desplazamiento;
    }
    for (ObjetoCopiado c : aceptados) {
        ObjetoTicket& o = c.registro;
        o.Left += dx;
        o.Top += dy;
        o.Pulsadores = MembresiaEnVista(d, o);
        const int i = Agregar(d, ws, o);
        if (o.Tipo == TipoImagen && !c.bitmap.isEmpty()) {
            const QString bitmap = RutaImagenTrabajo(i, c.bitmap);
            if (EscribirSiCambia(bitmap, c.bitmap)) {
                d.objeto(i).ImagenTrabajo = RutaParaRegistro(bitmap);
                if (!c.descripcion.isEmpty() && EscribirSiCambia(RutaDescripcionCodigo(bitmap), c.descripcion))
                    d.objeto(i).ImagenOrigen = RutaParaRegistro(RutaDescripcionCodigo(bitmap));
            } else {
                r.avisos << QStringLiteral("No se ha podido escribir la imagen %1.").arg(bitmap);
            }
        }
        r.nuevos << i;
    }
    return r;
}

Pegado PegarImagen(Design& d, Workspace& ws, const QImage& original, const QString& carpeta) {
    Pegado r;
    if (original.isNull()) {
        r.error = QStringLiteral("La imagen del portapapeles está vacía.");
        return r;
    }
    if (d.buscarSlotLibre() == 0) {
        r.error = MensajeDisenoLleno;
        return r;
    }
    QImage imagen = original.convertToFormat(QImage::Format_ARGB32);
    if (imagen.width() > AnchoPapel) {
        r.avisos << QStringLiteral("La imagen medía %1 puntos de ancho; se ha reducido a %2, el ancho del ticket.")
                        .arg(imagen.width())
                        .arg(AnchoPapel);
        imagen = imagen.scaledToWidth(AnchoPapel, Qt::SmoothTransformation);
    }
    // Transparent areas print white, as on a white page.
    QImage sobreBlanco(imagen.size(), QImage::Format_RGB32);
    sobreBlanco.fill(Qt::white);
    {
        QPainter p(&sobreBlanco);
        p.drawImage(0, 0, imagen);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    sobreBlanco.save(&buffer, "PNG");
    const QString ruta = QDir(carpeta).absoluteFilePath(
        QStringLiteral("Pegada-%1.png")
            .arg(QString::fromLatin1(QCryptographicHash::hash(png, QCryptographicHash::Sha256).left(4).toHex())));
    if (!EscribirSiCambia(ruta, png)) {
        r.error = QStringLiteral("No se ha podido guardar la imagen pegada en %1.").arg(QDir::toNativeSeparators(ruta));
        return r;
    }
    NuevoObjeto n;
    n.Tipo = TipoImagen;
    n.Width = sobreBlanco.width();
    n.Height = sobreBlanco.height();
    n.Left = (AnchoPapel - n.Width) / 2;
    n.Top = std::max(0, (d.LargoTicket - n.Height) / 2);
    n.Pulsadores = d.VistaActual;
    const int i = d.agregar(n);
    ObjetoTicket& o = d.objeto(i);
    o.Pendiente = Falso;
    o.ImagenTrabajo = QString();
    o.ImagenOrigen = QString();
    o.AnchoImagen = static_cast<int16_t>(n.Width);
    ws.colocar(i, o);
    ws.alFrente(i);
    ImagenObjeto editor(o, i, ws.item(i), ws.PicWork2, ws.PicTicket);
    if (!editor.ponerImagenNueva(ruta)) {
        BorrarObjeto(d, ws, i);
        r.error = QStringLiteral("La imagen del portapapeles no se puede convertir.");
        return r;
    }
    editor.aplicaAncho(n.Width);
    editor.pintaImagenObjeto();
    d.TicketModificado = Verdadero;
    r.nuevos << i;
    return r;
}

} // namespace quoravex
