#include "ImagenesDiseno.h"

#include "CodigoObjeto.h"
#include "document/Design.h"
#include "document/Ficheros.h"
#include "render/ImagenObjeto.h"

#include <QDir>
#include <QFileInfo>

namespace quoravex {

namespace {

// Copies the file into the folder under the name `nombre`, unless the same bytes are there
// already. Empty when it could not be read or written.
QString CopiarA(const QString& origen, const QString& carpeta, const QString& nombre) {
    const QString destino = QDir(carpeta).absoluteFilePath(nombre);
    if (QFileInfo(origen).absoluteFilePath() == QFileInfo(destino).absoluteFilePath()) return destino;
    const QByteArray bytes = LeerFichero(origen);
    return !bytes.isNull() && EscribirSiCambia(destino, bytes) ? destino : QString();
}

} // namespace

QStringList LlevarImagenesAlDiseno(Design& d, const QString& carpeta, const QString& dirDiseno) {
    QStringList fallidas;
    for (int i = 1; i <= MaxObjetos; ++i) {
        if (!d.enUso(i) || d.objeto(i).Tipo != TipoImagen || d.objeto(i).ImagenTrabajo.vacio()) continue;
        ObjetoTicket& o = d.objeto(i);
        const QString origen = ResolverRutaImagen(o.ImagenTrabajo.valor(), dirDiseno);
        if (origen.isEmpty()) continue; // missing already: nothing to carry
        // Another picture under the same name in that folder (an older design's) keeps its
        // file: this one is then named by its slot and content.
        QString nombre = QFileInfo(origen).fileName();
        const QString mismoNombre = QDir(carpeta).absoluteFilePath(nombre);
        if (QFileInfo::exists(mismoNombre) && QFileInfo(mismoNombre) != QFileInfo(origen) &&
            LeerFichero(mismoNombre) != LeerFichero(origen))
            nombre = QFileInfo(RutaImagenTrabajo(i, LeerFichero(origen))).fileName();
        const QString copia = CopiarA(origen, carpeta, nombre);
        if (copia.isEmpty()) {
            fallidas << o.ImagenTrabajo.valor();
            continue;
        }
        o.ImagenTrabajo = RutaParaRegistro(QDir::toNativeSeparators(copia));
        // A code's description goes along, named after its bitmap.
        if (EsDescripcionCodigo(o.ImagenOrigen.valor())) {
            const QString descripcion = ResolverRutaImagen(o.ImagenOrigen.valor(), dirDiseno);
            const QString destino = QFileInfo(RutaDescripcionCodigo(copia)).fileName();
            const QString copiada = descripcion.isEmpty() ? QString() : CopiarA(descripcion, carpeta, destino);
            if (!copiada.isEmpty()) o.ImagenOrigen = RutaParaRegistro(QDir::toNativeSeparators(copiada));
        }
    }
    return fallidas;
}

QStringList ImagenesQueFaltan(const Design& d, const QString& dirDiseno) {
    QStringList faltan;
    for (int i = 1; i <= MaxObjetos; ++i) {
        if (!d.enUso(i) || d.objeto(i).Tipo != TipoImagen || d.objeto(i).ImagenTrabajo.vacio()) continue;
        const QString guardada = d.objeto(i).ImagenTrabajo.valor();
        if (ResolverRutaImagen(guardada, dirDiseno).isEmpty() && !faltan.contains(guardada)) faltan << guardada;
    }
    return faltan;
}

} // namespace quoravex
