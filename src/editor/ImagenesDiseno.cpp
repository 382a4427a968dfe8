#include "ImagenesDiseno.h"

#include "CodigoObjeto.h"
#include "document/Design.h"
#include "document/Ficheros.h"
#include "render/ImagenObjeto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quoravex {

namespace {

// The folder may take the file under this name: nothing is there, or the same bytes are.
bool Cabe(const QString& destino, const QString& origen, const QByteArray& bytes) {
    if (!QFileInfo::exists(destino)) return true;
    if (QFileInfo(destino).absoluteFilePath() == QFileInfo(origen).absoluteFilePath()) return true;
    return LeerFichero(destino) == bytes;
}

// Copies the bytes into the folder unless they are there already; the copy's path, or empty.
QString Copiar(const QString& origen, const QByteArray& bytes, const QString& destino, QStringList& creados) {
    if (QFileInfo(origen).absoluteFilePath() == QFileInfo(destino).absoluteFilePath()) return destino;
    const bool nuevo = !QFileInfo::exists(destino);
    if (!EscribirSiCambia(destino, bytes)) return {};
    if (nuevo) creados << destino;
    return destino;
}

} // namespace

void CopiaImagenes::deshacer(Design& d) const {
    for (const auto& [slot, trabajo, origen] : anteriores) {
        d.objeto(slot).ImagenTrabajo = trabajo;
        d.objeto(slot).ImagenOrigen = origen;
    }
    for (const QString& f : creados)
        QFile::remove(f);
}

CopiaImagenes LlevarImagenesAlDiseno(Design& d, const QString& carpeta, const QString& dirDiseno) {
    CopiaImagenes r;
    const QDir destino(carpeta);
    for (int i = 1; i <= MaxObjetos; ++i) {
        if (!d.enUso(i) || d.objeto(i).Tipo != TipoImagen || d.objeto(i).ImagenTrabajo.vacio()) continue;
        ObjetoTicket& o = d.objeto(i);
        const QString origen = ResolverRutaImagen(o.ImagenTrabajo.valor(), dirDiseno);
        if (origen.isEmpty()) continue; // missing already: nothing to carry
        const QByteArray bytes = LeerFichero(origen);
        const QString descripcion = EsDescripcionCodigo(o.ImagenOrigen.valor())
                                        ? ResolverRutaImagen(o.ImagenOrigen.valor(), dirDiseno)
                                        : QString();
        const QByteArray bytesDescripcion = descripcion.isEmpty() ? QByteArray() : LeerFichero(descripcion);
        if (bytes.isNull()) {
            r.fallidas << o.ImagenTrabajo.valor();
            continue;
        }
        // Its own name, else its slot and content, else those with a number: the first under
        // which neither the bitmap nor a code's description would replace other bytes.
        const QString propio = QFileInfo(origen).fileName();
        const QString porContenido = QFileInfo(RutaImagenTrabajo(i, bytes)).fileName();
        QString nombre;
        for (int k = 0; nombre.isEmpty() && k < 1000; ++k) {
            const QString candidato = k == 0   ? propio
                                      : k == 1 ? porContenido
                                               : QFileInfo(porContenido).completeBaseName() +
                                                     QStringLiteral("-%1.bmp").arg(k);
            const QString bmp = destino.absoluteFilePath(candidato);
            if (Cabe(bmp, origen, bytes) &&
                (descripcion.isEmpty() || Cabe(RutaDescripcionCodigo(bmp), descripcion, bytesDescripcion)))
                nombre = candidato;
        }
        const QString copia = nombre.isEmpty() ? QString() : Copiar(origen, bytes, destino.absoluteFilePath(nombre), r.creados);
        if (copia.isEmpty()) {
            r.fallidas << o.ImagenTrabajo.valor();
            continue;
        }
        r.anteriores.emplace_back(i, o.ImagenTrabajo.valor(), o.ImagenOrigen.valor());
        const QString trabajo = RutaParaRegistro(QDir::toNativeSeparators(copia));
        r.rutas.emplace(o.ImagenTrabajo.valor(), trabajo);
        o.ImagenTrabajo = trabajo;
        // A code's description goes along, named after its bitmap.
        if (!descripcion.isEmpty() && !bytesDescripcion.isNull()) {
            const QString copiada = Copiar(descripcion, bytesDescripcion, RutaDescripcionCodigo(copia), r.creados);
            if (!copiada.isEmpty()) {
                const QString ruta = RutaParaRegistro(QDir::toNativeSeparators(copiada));
                r.rutas.emplace(o.ImagenOrigen.valor(), ruta);
                o.ImagenOrigen = ruta;
            }
        }
    }
    return r;
}

} // namespace quoravex
