#include "DescripcionCodigo.h"

#include "ImagenObjeto.h"

#include "document/Design.h"

#include <QFile>
#include <algorithm>

namespace quoravex {

namespace {
const QString ExtensionCodigo = QStringLiteral(".codigo");
} // namespace

QString RutaDescripcionCodigo(const QString& rutaBitmap) {
    const qsizetype punto = rutaBitmap.lastIndexOf(QLatin1Char('.'));
    const qsizetype barra = std::max(rutaBitmap.lastIndexOf(QLatin1Char('/')), rutaBitmap.lastIndexOf(QLatin1Char('\\')));
    return (punto > barra ? rutaBitmap.left(punto) : rutaBitmap) + ExtensionCodigo;
}

bool EsDescripcionCodigo(const QString& ruta) {
    return ruta.trimmed().endsWith(ExtensionCodigo, Qt::CaseInsensitive);
}

std::optional<ParametrosCodigo> LeerCodigoObjeto(const ObjetoTicket& o, const QString& dirDiseno) {
    if (o.Tipo != TipoImagen || !EsDescripcionCodigo(o.ImagenOrigen.valor())) return std::nullopt;
    const QString ruta = ResolverRutaImagen(o.ImagenOrigen.valor(), dirDiseno);
    QFile f(ruta);
    if (ruta.isEmpty() || !f.open(QIODevice::ReadOnly)) return std::nullopt;
    return LeerDescripcionCodigo(f.read(64 * 1024));
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

QString AvisoImagenesQueFaltan(const QStringList& faltan) {
    if (faltan.isEmpty()) return QString();
    return QStringLiteral("No se encuentran estas imágenes del diseño; sus objetos se ven en blanco:\n") +
           faltan.join(QLatin1Char('\n'));
}

} // namespace quoravex
