#include "FormMain.h"

#include "CursorOcupado.h"

#include "dialogs/FrmPlantillas.h"
#include "document/ArchivoDiseno.h"
#include "document/Ficheros.h"
#include "editor/Historia.h"
#include "editor/ObjetosCanvas.h"
#include "platform/Plantillas.h"
#include "render/DescripcionCodigo.h"
#include "render/ImagenObjeto.h"
#include "render/Relleno.h"
#include "render/VistaPrevia.h"

#include <QFileInfo>
#include <memory>

namespace quoravex {

namespace {

// The template's common-part ticket with its example values.
QImage VistaPlantilla(const Plantilla& p) {
    auto d = std::make_unique<Design>();
    if (!AbrirDiseno(*d, p.ruta).correcto) return QImage();
    const QString dir = QFileInfo(p.ruta).absolutePath();
    const Relleno relleno = RellenarDiseno(*d, p.muestra, dir);
    const VistasDiseno vistas = VistasPreviasDiseno(*d, dir, relleno.error.isEmpty() ? &relleno : nullptr);
    return vistas.tickets.isEmpty() ? QImage() : vistas.tickets.first().imagen;
}

} // namespace

void FormMain::mnuNuevoDesdePlantilla() {
    const QList<Plantilla> plantillas = BuscarPlantillas(carpetasPlantillas);
    QList<FrmPlantillas::Entrada> entradas;
    {
        CursorOcupado ocupado;
        for (const Plantilla& p : plantillas)
            entradas.append({p.nombre, VistaPlantilla(p)});
    }
    FrmPlantillas dialogo(entradas, this);
    if (ejecutarDialogo(dialogo) != QDialog::Accepted) return;
    const int i = dialogo.elegida();
    if (i >= 0 && i < plantillas.size()) abrirPlantilla(plantillas.at(i).ruta);
}

bool FormMain::abrirPlantilla(const QString& ruta) {
    mnuCerrarTicket();
    if (mDiseno.NumObjetos != 0) return false;
    ResultadoArchivo r;
    {
        CursorOcupado ocupado;
        r = AbrirDiseno(mDiseno, ruta);
        if (r.correcto) {
            // The template's pictures become the new design's working bitmaps, as pictures
            // the user adds do; a code's description goes along with its bitmap.
            const QString dirPlantilla = QFileInfo(ruta).absolutePath();
            for (int i = 1; i <= MaxObjetos; ++i) {
                if (!mDiseno.enUso(i) || mDiseno.objeto(i).Tipo != TipoImagen) continue;
                ObjetoTicket& o = mDiseno.objeto(i);
                const QString origen = ResolverRutaImagen(o.ImagenTrabajo.valor(), dirPlantilla);
                const QString copia = origen.isEmpty() ? QString() : CopiarImagenTrabajo(origen, i);
                if (copia.isEmpty()) continue;
                const QString descripcion = EsDescripcionCodigo(o.ImagenOrigen.valor())
                                                ? ResolverRutaImagen(o.ImagenOrigen.valor(), dirPlantilla)
                                                : QString();
                o.ImagenTrabajo = RutaParaRegistro(copia);
                o.ImagenOrigen = o.ImagenTrabajo.valor();
                if (!descripcion.isEmpty() &&
                    EscribirFichero(RutaDescripcionCodigo(copia), LeerFichero(descripcion)))
                    o.ImagenOrigen = RutaParaRegistro(RutaDescripcionCodigo(copia));
            }
        }
        // A new design: "Guardar" asks for its name.
        mDiseno.ArchivoTicket = mDiseno.DirTickets + QStringLiteral("TICKET.tck");
        mDiseno.TicketModificado = Falso;
        mConArchivo = false;
        dimensionarCanvas();
        ApilarSegunOrden(mDiseno, mWs);
        redibujar();
    }
    mHistoria->vaciar();
    if (!r.mensaje.isEmpty()) mostrarMensaje(r.mensaje);
    return r.correcto;
}

} // namespace quoravex
