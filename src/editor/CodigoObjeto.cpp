#include "CodigoObjeto.h"

#include "document/Design.h"
#include "document/Ficheros.h"
#include "render/ImagenObjeto.h"
#include "render/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace quoravex {

bool PonerCodigo(Design& d, Workspace& ws, int slot, const ParametrosCodigo& p, const QImage& imagen, bool nuevo) {
    if (!Design::slotValido(slot) || imagen.isNull()) return false;
    ObjetoTicket& o = d.objeto(slot);
    const QString guardado = GuardarImagenTrabajoDe(slot, imagen);
    const QString bitmap = guardado.isEmpty() ? RutaImagenTrabajo(slot, CodificarImagenTrabajo(imagen)) : guardado;
    const QString descripcion = RutaDescripcionCodigo(bitmap);
    const bool escrito = !guardado.isEmpty() && EscribirFichero(descripcion, EscribirDescripcionCodigo(p));
    o.ImagenTrabajo = RutaParaRegistro(bitmap);
    o.ImagenOrigen = RutaParaRegistro(descripcion);

    const int ancho = ws.PicTicket.width();
    o.Width = static_cast<int16_t>(imagen.width());
    o.Height = static_cast<int16_t>(imagen.height());
    o.AnchoImagen = o.Width;
    if (nuevo)
        o.Left = static_cast<int16_t>((ancho - imagen.width()) / 2);
    else if (o.Left + imagen.width() > ancho)
        o.Left = static_cast<int16_t>(std::max(0, ancho - imagen.width()));
    Surface& caja = ws.item(slot);
    caja.setGeometry(o.Left, o.Top, o.Width, o.Height);
    caja.clear();
    caja.paintPicture(imagen, QRect(0, 0, imagen.width(), imagen.height()));
    caja.refresh();
    return escrito;
}

void CopiarDescripcionCodigo(ObjetoTicket& copia) {
    if (!EsDescripcionCodigo(copia.ImagenOrigen.valor())) return;
    const QString origen = ResolverRutaImagen(copia.ImagenOrigen.valor());
    const QString destino = RutaDescripcionCodigo(copia.ImagenTrabajo.valor());
    if (origen.isEmpty() || QFileInfo(origen).absoluteFilePath() == QFileInfo(destino).absoluteFilePath()) return;
    EscribirFichero(destino, LeerFichero(origen));
    copia.ImagenOrigen = RutaParaRegistro(destino);
}

} // namespace quoravex
