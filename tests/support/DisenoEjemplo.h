#pragma once

#include "document/Design.h"
#include "render/GeneraDatosFont.h"
#include "render/GenerarSalida.h"
#include "render/Workspace.h"

#include <QRect>
#include <QString>

namespace quoravex::test {

// A ticket with a few push-buttons: a fixed text and lines in the common part, a line and
// a text per push-button, and a turn-number field. Writes its raster files and its
// turn-number font into the folder; false when one could not be made. Without texts the
// files are small.
inline bool EscribirDisenoEjemplo(Design& d, const QString& carpeta, int numPulsadores = 3,
                                  int puntosTurno = 36, bool textos = true) {
    d.LargoTicket = 400;
    d.ModeloTeclado = 1;
    d.NumPulsadores = static_cast<int16_t>(numPulsadores);
    auto agregar = [&](int16_t tipo, QRect r, uint32_t pulsadores, const QString& texto = {}) {
        NuevoObjeto n;
        n.Tipo = tipo;
        n.Left = r.left();
        n.Top = r.top();
        n.Width = r.width();
        n.Height = r.height();
        n.Pulsadores = pulsadores;
        n.Texto = texto;
        if (tipo == TipoTurno) n.Formato = 1;
        const int i = d.agregar(n);
        ObjetoTicket& o = d.objeto(i);
        o.FontName = QStringLiteral("DejaVu Sans");
        o.FontSize = static_cast<int16_t>(tipo == TipoTurno ? puntosTurno : 20);
        return i;
    };
    if (textos) agregar(TipoTextoFijo, QRect(20, 10, 340, 40), 1, QStringLiteral("Bienvenidos"));
    agregar(TipoLinea, QRect(10, 60, 364, 4), 1);
    agregar(TipoLinea, QRect(10, 380, 364, 2), 1);
    for (int k = 1; k <= numPulsadores; ++k) {
        if (textos)
            agregar(TipoTextoFijo, QRect(30, 300, 320, 40), 1u << k, QStringLiteral("Servicio %1").arg(k));
        agregar(TipoLinea, QRect(20 + 40 * k, 350, 30, 20), 1u << k);
    }
    agregar(TipoTurno, QRect(120, 120, 160, 60), 1);
    Workspace ws;
    ws.dimensionarCanvas(d.LargoTicket);
    if (!GenerarSalida(d, ws, carpeta, carpeta).isEmpty()) return false;
    return GenerarArchivoFuente(d, CampoVariable::Turno, ws.PicWork3, carpeta).escrito;
}

} // namespace quoravex::test
