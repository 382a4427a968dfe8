#include "FormMain.h"

#include "dialogs/FrmEnviar.h"
#include "dialogs/FrmEnviarFechaHora.h"
#include "platform/InstanciaUnica.h"

#include <QAction>
#include <QCoreApplication>

namespace quoravex {

void FormMain::conectarEnvio(int tickConfigurado) {
    ajustesTick = AjustesTick::desdeProceso(QCoreApplication::arguments(), tickConfigurado);
    connect(accion(QStringLiteral("mnuEnviarAPrinter")), &QAction::triggered, this,
            &FormMain::mnuEnviarAPrinter);
    connect(accion(QStringLiteral("mnuEnviarFechaHora")), &QAction::triggered, this,
            &FormMain::mnuEnviarFechaHora);
}

namespace {

OpcionesVentanaEnlace opcionesEnlace(FormMain& f) {
    OpcionesVentanaEnlace o;
    o.puertoCom = f.design().PuertoCom;
    o.elegido = f.elegidos.value(o.puertoCom);
    o.dispositivo = f.dispositivos.value(o.puertoCom);
    o.otraInstancia = f.instanciaUnica && f.instanciaUnica->otraEnEjecucion();
    if (f.crearPuerto) o.puerto = f.crearPuerto();
    o.ajustes = f.ajustesTick;
    o.directorio = f.dirSalida();
    o.mostrarMensaje = f.mostrarError;
    return o;
}

} // namespace

void FormMain::mnuEnviarAPrinter() {
    // What goes to the printer is made afresh from the design; any step that fails has
    // told the user why, and nothing is sent.
    if (!prepararEnvio() || !mnuGeneraSalida()) return;
    for (const CampoVariable campo : {CampoVariable::Turno, CampoVariable::Fecha, CampoVariable::Hora})
        if (!generarFuente(campo)) return;
    FrmEnviar ventana(mDiseno, opcionesEnlace(*this), this);
    if (!ventana.cargar()) return;
    ejecutarDialogo(ventana);
}

void FormMain::mnuEnviarFechaHora() {
    FrmEnviarFechaHora ventana(opcionesEnlace(*this), this);
    if (!ventana.cargar()) return;
    ejecutarDialogo(ventana);
}

} // namespace quoravex
