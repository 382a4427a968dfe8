#include "Generacion.h"

#include "document/ArchivoDiseno.h"
#include "render/DescripcionCodigo.h"
#include "render/GenerarSalida.h"
#include "render/Redibujar.h"
#include "render/Relleno.h"
#include "render/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <memory>

namespace quoravex::cli {

Generacion CargarDesdeFichero(Design& d, const QString& rutaDiseno) {
    Generacion g;
    if (rutaDiseno.trimmed().isEmpty()) {
        g.error = QStringLiteral("Falta el fichero de diseño.");
        return g;
    }
    const ResultadoArchivo carga = AbrirDiseno(d, rutaDiseno);
    if (!carga.correcto) {
        g.error = carga.mensaje;
        return g;
    }
    if (!carga.mensaje.isEmpty()) g.avisos = carga.mensaje.split(QLatin1Char('\n'));
    g.LargoTicket = d.LargoTicket;
    g.NumPulsadores = d.NumPulsadores;
    return g;
}

QString DirDiseno(const QString& rutaDiseno) {
    return QFileInfo(rutaDiseno).absolutePath();
}

QString AvisoImagenesAusentes(const Design& d, const QString& dirDiseno) {
    return AvisoImagenesQueFaltan(ImagenesQueFaltan(d, dirDiseno));
}

bool ComprobarImagenes(const Design& d, const QString& dirDiseno, const OpcionesGeneracion& o, Generacion& g) {
    const QString aviso = AvisoImagenesAusentes(d, dirDiseno);
    if (aviso.isEmpty()) return true;
    g.avisos << aviso;
    if (o.imagenesAusentes) return true;
    g.error = QStringLiteral("No se ha generado ni enviado nada. Para seguir sin esas imágenes, use "
                             "--imagenes-ausentes.");
    return false;
}

QStringList AvisosValoresSinUso(const QStringList& campos, const QStringList& nombres, bool columna) {
    QStringList avisos;
    for (const QString& n : nombres) {
        if (campos.contains(n)) continue;
        avisos << (columna ? QStringLiteral("Aviso: la columna \"%1\" de la tabla no es ningún campo del diseño; "
                                            "no se usa.")
                           : QStringLiteral("Aviso: el diseño no tiene el campo {%1}; su valor no se usa."))
                      .arg(n);
    }
    return avisos;
}

QString GenerarConRelleno(Design& d, Workspace& ws, const QString& dirDiseno, const Relleno& r, const QString& dir) {
    if (const QString error = PrepararCarpeta(dir); !error.isEmpty()) return error;
    ws.dimensionarCanvas(d.LargoTicket);
    RedibujarTicket(d, ws, dirDiseno);
    return GenerarDatosImpresora(d, ws, dir, dirDiseno, {}, &r);
}

Generacion GenerarDesdeDiseno(const QString& rutaDiseno, const QString& dir, const OpcionesGeneracion& o) {
    // The design and its surfaces are large; they live on the heap.
    auto d = std::make_unique<Design>();
    Generacion g = CargarDesdeFichero(*d, rutaDiseno);
    if (!g.error.isEmpty()) return g;
    const QString dirDiseno = DirDiseno(rutaDiseno);
    if (!ComprobarImagenes(*d, dirDiseno, o, g)) return g;
    g.avisos << AvisosValoresSinUso(CamposDelDiseno(*d, dirDiseno), o.valores.keys(), false);
    const Relleno relleno = RellenarDiseno(*d, o.valores, dirDiseno);
    if (!relleno.error.isEmpty()) {
        g.error = relleno.error;
        return g;
    }
    g.avisos << relleno.avisos;

    // Created only once everything is ready: a failed command leaves nothing behind.
    auto ws = std::make_unique<Workspace>();
    g.error = GenerarConRelleno(*d, *ws, dirDiseno, relleno, dir);
    return g;
}

QString PrepararCarpeta(const QString& dir) {
    const QFileInfo info(dir);
    if (info.isDir()) return QString();
    if (info.exists() || !QDir().mkpath(dir))
        return QStringLiteral("No se puede crear la carpeta %1.").arg(QDir::toNativeSeparators(dir));
    return QString();
}

int InformarGeneracion(const Generacion& g, Consola& consola) {
    for (const QString& aviso : g.avisos)
        consola.err << aviso << QLatin1Char('\n');
    if (g.error.isEmpty()) return SalidaCorrecta;
    consola.err << g.error << QLatin1Char('\n');
    return SalidaFallo;
}

} // namespace quoravex::cli
