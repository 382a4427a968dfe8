#include "FormMain.h"

#include "CursorOcupado.h"

#include "dialogs/Aceptar.h"
#include "dialogs/FrmPathFilesOut.h"
#include "document/ArchivoDiseno.h"
#include "editor/Historia.h"
#include "editor/ImagenesDiseno.h"
#include "editor/ObjetosCanvas.h"
#include "platform/Rutas.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>

namespace quoravex {

bool FormMain::confirmar(int16_t selectorAceptar) {
    if (mDiseno.TicketModificado == Falso) return true;
    Aceptar aceptar(selectorAceptar, this);
    return ejecutarDialogo(aceptar) == QDialog::Accepted;
}

void FormMain::CerrarTicket() {
    if (mDiseno.NumObjetos > 0)
        for (int i = 1; i <= mDiseno.IdxObjMasAlto; ++i)
            BorrarObjeto(mDiseno, mWs, i);
    mDiseno.IdxObjMasAlto = 0;
    mDiseno.TicketModificado = Falso;
    mDiseno.LargoTicket = 500;
    mDiseno.NumPulsadores = 0;
    // What is drawn next is a new design: "Guardar" asks for its name.
    mConArchivo = false;
    dimensionarCanvas();
    redibujar();
    mHistoria->vaciar();
    actualizarRecuperacion();
}

void FormMain::mnuCerrarTicket() {
    if (mDiseno.NumObjetos == 0) return;
    if (confirmar(Aceptar::CerrarTicketActual)) CerrarTicket();
}

void FormMain::mnuNuevoTicket() {
    mnuCerrarTicket();
    if (mDiseno.NumObjetos != 0) return;
    mDiseno.ArchivoTicket = mDiseno.DirTickets + QStringLiteral("TICKET.tck");
    mConArchivo = false;
    mHistoria->vaciar();
}

void FormMain::mnuAbrirArchivoTicket() {
    mnuCerrarTicket();
    if (mDiseno.NumObjetos != 0) return;
    FrmPathFilesOut dialogo(mDiseno, FrmPathFilesOut::Abrir, QStringLiteral("Abrir Archivo Diseño de Ticket"),
                            DirectorioPrograma(), this);
    ejecutarDialogo(dialogo);
    const QString ruta = dialogo.RutaElegida;
    if (ruta.trimmed().isEmpty() || !QFileInfo(ruta).isFile()) {
        mDiseno.TicketModificado = Falso;
        return;
    }
    abrirDiseno(ruta);
}

void FormMain::mnuGuardarTicket() {
    if (!mConArchivo) {
        mnuGuardarTicketComo();
        return;
    }
    guardarCon(QFileInfo(mDiseno.ArchivoTicket).absolutePath(), [this] { return GuardarDiseno(mDiseno); });
}

void FormMain::mnuGuardarTicketComo() {
    FrmPathFilesOut dialogo(mDiseno, FrmPathFilesOut::Guardar,
                            QStringLiteral("Guardar Diseño de Ticket como ..."), DirectorioPrograma(), this);
    ejecutarDialogo(dialogo);
    if (dialogo.RutaElegida.trimmed().isEmpty()) return;
    // Another design under that name is not replaced without asking.
    const QFileInfo destino(RutaConExtensionTck(dialogo.RutaElegida));
    if (destino.exists() &&
        (!mConArchivo || destino.absoluteFilePath() != QFileInfo(mDiseno.ArchivoTicket).absoluteFilePath())) {
        Aceptar reemplazar(Aceptar::ReemplazarFichero, this);
        if (ejecutarDialogo(reemplazar) != QDialog::Accepted) return;
    }
    const QString ruta = dialogo.RutaElegida;
    guardarCon(destino.absolutePath(), [this, ruta] { return GuardarDisenoComo(mDiseno, ruta); });
}

void FormMain::guardarCon(const QString& carpeta, const std::function<ResultadoArchivo()>& escribir) {
    ResultadoArchivo r;
    CopiaImagenes copia;
    {
        CursorOcupado ocupado;
        // The design's folder holds what it prints.
        copia = LlevarImagenesAlDiseno(mDiseno, carpeta, dirDiseno());
        r = escribir();
        if (!r.correcto) copia.deshacer(mDiseno);
    }
    if (!r.correcto) {
        if (!r.mensaje.isEmpty()) mostrarMensaje(r.mensaje);
        return;
    }
    mHistoria->renombrarImagenes(copia.rutas);
    guardado();
    if (!r.mensaje.isEmpty()) mostrarMensaje(r.mensaje);
    if (!copia.fallidas.isEmpty())
        mostrarMensaje(QStringLiteral("No se han podido copiar estas imágenes a la carpeta del diseño:\n") +
                       copia.fallidas.join(QLatin1Char('\n')));
}

void FormMain::guardado() {
    mConArchivo = true;
    mHistoria->marcarGuardado();
    agregarReciente(mDiseno.ArchivoTicket);
    actualizarRecuperacion();
}

void FormMain::closeEvent(QCloseEvent* e) {
    if (!confirmar(Aceptar::SalirAplicacion)) {
        e->ignore();
        return;
    }
    guardarVentana();
    // Leaving on purpose: what was not saved is not wanted.
    finalizarRecuperacion(false);
    e->accept();
}

} // namespace quoravex
