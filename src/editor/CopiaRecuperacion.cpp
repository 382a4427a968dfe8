#include "CopiaRecuperacion.h"

#include "CodigoObjeto.h"
#include "document/ArchivoDiseno.h"
#include "document/Ficheros.h"
#include "document/RecordCodec.h"
#include "document/Version.h"
#include "platform/CopiasRecuperacion.h"
#include "render/ImagenObjeto.h"
#include "render/VistaPrevia.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace quoravex {

namespace {

// The header and fifty objects, plus one record: what loading a design reads.
constexpr qint64 LecturaMaxima = static_cast<qint64>(NumSlots + 1) * LongitudRegistro;

QString Resumen(const QByteArray& bytes, int digitos) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(digitos));
}

// The file name of a record path written on any system.
QString NombreDe(const QString& ruta) {
    return ruta.mid(std::max(ruta.lastIndexOf(QLatin1Char('/')), ruta.lastIndexOf(QLatin1Char('\\'))) + 1);
}

// A short extension made of letters and digits, so that names stay plain.
QString Extension(const QString& ruta) {
    const QString nombre = NombreDe(ruta);
    const qsizetype punto = nombre.lastIndexOf(QLatin1Char('.'));
    QString ext = punto < 0 ? QString() : nombre.mid(punto + 1).left(8);
    for (const QChar c : ext)
        if (!(c.isLetterOrNumber() && c.unicode() < 128)) return QStringLiteral("bin");
    return ext.isEmpty() ? QStringLiteral("bin") : ext.toLower();
}

// The paths of an object's files that a copy carries: its bitmap, and a code's description.
QStringList RutasObjeto(const ObjetoTicket& o) {
    QStringList rutas;
    if (o.Tipo != TipoImagen) return rutas;
    if (!o.ImagenTrabajo.vacio()) rutas << o.ImagenTrabajo.valor();
    if (EsDescripcionCodigo(o.ImagenOrigen.valor())) rutas << o.ImagenOrigen.valor();
    return rutas;
}

bool MismoFichero(const QString& a, const QString& b) {
    return !a.isEmpty() && !b.isEmpty() && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// Puts the bytes where the record path finds them, or into dirTrabajo; where they are, or empty.
QString Colocar(const QString& ruta, const QByteArray& bytes, const QString& dirDiseno, const QString& dirTrabajo) {
    const QString encontrado = ResolverRutaImagen(ruta, dirDiseno);
    if (!encontrado.isEmpty() && LeerFichero(encontrado) == bytes) return encontrado;
    const QDir trabajo(dirTrabajo);
    QString destino = trabajo.absoluteFilePath(NombreDe(ruta));
    if (QFileInfo::exists(destino) && LeerFichero(destino) != bytes)
        destino = trabajo.absoluteFilePath(QFileInfo(NombreDe(ruta)).completeBaseName() + QLatin1Char('-') +
                                           Resumen(bytes, 8) + QLatin1Char('.') + Extension(ruta));
    return EscribirSiCambia(destino, bytes) ? destino : QString();
}

} // namespace

ContenidoCopia ContenidoDeDiseno(const Design& d, bool conArchivo, const QString& dirDiseno) {
    ContenidoCopia c;
    c.diseno = CodificarDiseno(d);
    c.archivoTicket = d.ArchivoTicket;
    c.conArchivo = conArchivo;
    for (int i = 1; i <= MaxObjetos; ++i) {
        if (!d.enUso(i)) continue;
        for (const QString& ruta : RutasObjeto(d.objeto(i))) {
            const QByteArray bytes = LeerFichero(ResolverRutaImagen(ruta, dirDiseno));
            if (!bytes.isNull()) c.ficheros.emplace(ruta, bytes);
        }
    }
    return c;
}

bool EscribirCopia(const QString& carpeta, const ContenidoCopia& c, const std::function<bool(PasoCopia)>& parar) {
    if (!CrearCarpetaPrivada(QFileInfo(carpeta).absolutePath()) || !CrearCarpetaPrivada(carpeta)) return false;
    const QDir dir(carpeta);
    DescripcionCopia desc{c.archivoTicket, c.conArchivo, QDateTime::currentDateTime(), TextoVersion().trimmed(),
                          ProcesoActual(), {}, {}};
    QSet<QString> propios{NombreDescripcionCopia};
    for (const auto& [ruta, bytes] : c.ficheros) {
        const QString nombre = Resumen(bytes, 16) + QLatin1Char('.') + Extension(ruta);
        if (!EscribirSiCambia(dir.filePath(nombre), bytes)) return false;
        desc.ficheros.emplace(ruta, nombre);
        propios << nombre;
    }
    if (parar && parar(PasoCopia::Imagenes)) return false;
    desc.diseno = QStringLiteral("diseno-") + Resumen(c.diseno, 16) + QStringLiteral(".tck");
    if (!EscribirSiCambia(dir.filePath(desc.diseno), c.diseno)) return false;
    propios << desc.diseno;
    if (parar && parar(PasoCopia::Diseno)) return false;
    if (!EscribirFichero(dir.filePath(NombreDescripcionCopia), CodificarDescripcion(desc))) return false;
    // The previous copy's files, and what a copy cut short left, are no longer named.
    for (const QString& f : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (!propios.contains(f)) QFile::remove(dir.filePath(f));
    return true;
}

CopiaLeida LeerCopia(const QString& carpeta) {
    CopiaLeida r;
    r.carpeta = carpeta;
    const QDir dir(carpeta);
    QString tck;
    if (const auto desc = DecodificarDescripcion(LeerFichero(dir.filePath(NombreDescripcionCopia)))) {
        tck = dir.filePath(desc->diseno);
        r.design.ArchivoTicket = desc->archivoTicket;
        r.conArchivo = desc->conArchivo && !desc->archivoTicket.isEmpty();
        r.hora = desc->hora;
        for (const auto& [ruta, fichero] : desc->ficheros)
            if (QFileInfo(dir.filePath(fichero)).isFile()) r.ficheros.emplace(ruta, dir.filePath(fichero));
        const QString version = desc->version.section(QLatin1Char('\n'), 0, 0);
        if (version != TextoVersion().section(QLatin1Char('\n'), 0, 0))
            r.avisos << QStringLiteral("La copia es de otra versión del programa: %1").arg(version);
    } else {
        // The newest design file of the folder, without knowing whose it is.
        const QFileInfoList disenos =
            dir.entryInfoList({QStringLiteral("*.tck")}, QDir::Files | QDir::Hidden, QDir::Time);
        if (!disenos.isEmpty()) {
            tck = disenos.first().absoluteFilePath();
            r.hora = disenos.first().lastModified();
        }
        r.avisos << QStringLiteral("La descripción de la copia falta o está dañada: "
                                   "no se sabe a qué fichero pertenece el diseño.");
    }
    QFile f(tck);
    if (tck.isEmpty() || !QFileInfo(tck).isFile() || !f.open(QIODevice::ReadOnly)) {
        r.error = QStringLiteral("La copia no contiene ningún diseño que se pueda leer.");
        return r;
    }
    const QString archivo = r.design.ArchivoTicket;
    const ResultadoArchivo carga = CargarDiseno(r.design, f.read(LecturaMaxima));
    if (!carga.correcto) {
        r.error = carga.mensaje;
        return r;
    }
    r.legible = true;
    r.design.ArchivoTicket = archivo;
    if (!carga.mensaje.isEmpty()) r.avisos << carga.mensaje;
    QStringList faltan;
    const QString dirDiseno = archivo.isEmpty() ? QString() : QFileInfo(archivo).absolutePath();
    for (int i = 1; i <= MaxObjetos; ++i) {
        if (!r.design.enUso(i) || r.design.objeto(i).Tipo != TipoImagen) continue;
        const QString ruta = r.design.objeto(i).ImagenTrabajo.valor();
        if (!ruta.isEmpty() && !r.ficheros.count(ruta) && ResolverRutaImagen(ruta, dirDiseno).isEmpty() &&
            !faltan.contains(ruta))
            faltan << ruta;
    }
    if (!faltan.isEmpty())
        r.avisos << QStringLiteral("Faltan estas imágenes del diseño; sus objetos se verán en blanco:\n") +
                        faltan.join(QLatin1Char('\n'));
    return r;
}

QStringList RestaurarImagenes(Design& d, const CopiaLeida& c, const QString& dirDiseno, const QString& dirTrabajo) {
    QStringList fallidas;
    for (int i = 1; i <= MaxObjetos; ++i) {
        if (!d.enUso(i) || d.objeto(i).Tipo != TipoImagen) continue;
        ObjetoTicket& o = d.objeto(i);
        for (TextoFijo<LongitudRuta>* campo : {&o.ImagenTrabajo, &o.ImagenOrigen}) {
            const QString ruta = campo->valor();
            const auto it = c.ficheros.find(ruta);
            if (ruta.isEmpty() || it == c.ficheros.end()) continue;
            const QByteArray bytes = LeerFichero(it->second);
            const QString puesto = bytes.isNull() ? QString() : Colocar(ruta, bytes, dirDiseno, dirTrabajo);
            if (puesto.isEmpty()) {
                fallidas << ruta;
                continue;
            }
            if (!MismoFichero(ResolverRutaImagen(ruta, dirDiseno), puesto))
                *campo = RutaParaRegistro(QDir::toNativeSeparators(puesto));
        }
    }
    return fallidas;
}

QImage VistaCopia(const CopiaLeida& c) {
    if (!c.legible) return {};
    Design d = c.design;
    const QString dirOriginal =
        d.ArchivoTicket.isEmpty() ? QString() : QFileInfo(d.ArchivoTicket).absolutePath();
    // The pictures as the copy keeps them, else where the design's folder has them.
    for (int i = 1; i <= MaxObjetos; ++i) {
        if (!d.enUso(i) || d.objeto(i).Tipo != TipoImagen) continue;
        TextoFijo<LongitudRuta>& trabajo = d.objeto(i).ImagenTrabajo;
        const auto it = c.ficheros.find(trabajo.valor());
        const QString ruta = it != c.ficheros.end() ? it->second : ResolverRutaImagen(trabajo.valor(), dirOriginal);
        if (!ruta.isEmpty()) trabajo = RutaParaRegistro(QDir::toNativeSeparators(ruta));
    }
    const VistasDiseno vistas = VistasPreviasDiseno(d, c.carpeta);
    return vistas.tickets.isEmpty() ? QImage() : vistas.tickets.first().imagen;
}

} // namespace quoravex
