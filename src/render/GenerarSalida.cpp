#include "GenerarSalida.h"

#include "GeneraDatosFont.h"

#include "Redibujar.h"
#include "Relleno.h"
#include "SalidaRaster.h"
#include "Workspace.h"

#include "document/Design.h"

#include <algorithm>
#include <memory>

namespace quoravex {

QString GenerarSalida(Design& d, Workspace& ws, const QString& dir, const QString& dirDiseno,
                      int* salidaActual, const std::function<void()>& entreVistas, const Relleno* relleno) {
    const uint32_t vistaUsuario = d.VistaActual;
    // Filled objects take other boxes: the files are made from a copy that holds them.
    std::unique_ptr<Design> copia;
    if (relleno && !relleno->vacio()) {
        copia = std::make_unique<Design>(d);
        AplicarRelleno(*copia, *relleno);
    } else {
        relleno = nullptr;
    }
    Design& g = copia ? *copia : d;
    QString error;
    const int numPulsadores = std::clamp<int>(g.NumPulsadores, 0, MaxPulsadores);
    for (int i = 0; i <= numPulsadores && error.isEmpty(); ++i) {
        g.VistaActual = Design::mascaraVista(i);
        RedibujarTicket(g, ws, dirDiseno, relleno);
        if (entreVistas) entreVistas();
        error = EscribirSalida(i + 1, g, ws, dir);
        if (error.isEmpty() && salidaActual) *salidaActual = i + 1;
    }
    d.VistaActual = vistaUsuario;
    RedibujarTicket(d, ws, dirDiseno);
    if (entreVistas) entreVistas();
    return error;
}

QString GenerarDatosImpresora(Design& d, Workspace& ws, const QString& dir, const QString& dirDiseno,
                              const std::function<void()>& entreVistas, const Relleno* relleno) {
    if (QString error = GenerarSalida(d, ws, dir, dirDiseno, nullptr, entreVistas, relleno); !error.isEmpty())
        return error;
    for (const CampoVariable campo : {CampoVariable::Turno, CampoVariable::Fecha, CampoVariable::Hora}) {
        const ResultadoFuente r = GenerarArchivoFuente(d, campo, ws.PicWork3, dir);
        if (!r.ok) return r.mensaje;
        if (entreVistas) entreVistas();
    }
    return QString();
}

} // namespace quoravex
