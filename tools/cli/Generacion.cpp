#include "Generacion.h"

#include "document/ArchivoDiseno.h"
#include "render/GenerarSalida.h"
#include "render/Redibujar.h"
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

Generacion GenerarDesdeDiseno(const QString& rutaDiseno, const QString& dir) {
    // The design and its surfaces are large; they live on the heap.
    auto d = std::make_unique<Design>();
    Generacion g = CargarDesdeFichero(*d, rutaDiseno);
    if (!g.error.isEmpty()) return g;

    // Created only once the design has loaded: a failed command leaves nothing behind.
    if (g.error = PrepararCarpeta(dir); !g.error.isEmpty()) return g;
    const QString dirDiseno = DirDiseno(rutaDiseno);
    auto ws = std::make_unique<Workspace>();
    ws->dimensionarCanvas(d->LargoTicket);
    RedibujarTicket(*d, *ws, dirDiseno);
    g.error = GenerarDatosImpresora(*d, *ws, dir, dirDiseno);
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
