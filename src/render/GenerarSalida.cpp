#include "GenerarSalida.h"

#include "GeneraDatosFont.h"

#include "Redibujar.h"
#include "SalidaRaster.h"
#include "Workspace.h"

#include "document/Design.h"

#include <algorithm>

namespace quoravex {

QString GenerarSalida(Design& d, Workspace& ws, const QString& dir, const QString& dirDiseno,
                      int* salidaActual, const std::function<void()>& entreVistas) {
    const uint32_t vistaUsuario = d.VistaActual;
    QString error;
    const int numPulsadores = std::clamp<int>(d.NumPulsadores, 0, MaxPulsadores);
    for (int i = 0; i <= numPulsadores && error.isEmpty(); ++i) {
        d.VistaActual = Design::mascaraVista(i);
        RedibujarTicket(d, ws, dirDiseno);
        if (entreVistas) entreVistas();
        error = EscribirSalida(i + 1, d, ws, dir);
        if (error.isEmpty() && salidaActual) *salidaActual = i + 1;
    }
    d.VistaActual = vistaUsuario;
    RedibujarTicket(d, ws, dirDiseno);
    if (entreVistas) entreVistas();
    return error;
}

QString GenerarDatosImpresora(Design& d, Workspace& ws, const QString& dir, const QString& dirDiseno,
                              const std::function<void()>& entreVistas) {
    if (QString error = GenerarSalida(d, ws, dir, dirDiseno, nullptr, entreVistas); !error.isEmpty())
        return error;
    for (const CampoVariable campo : {CampoVariable::Turno, CampoVariable::Fecha, CampoVariable::Hora}) {
        const ResultadoFuente r = GenerarArchivoFuente(d, campo, ws.PicWork3, dir);
        if (!r.ok) return r.mensaje;
        if (entreVistas) entreVistas();
    }
    return QString();
}

} // namespace quoravex
