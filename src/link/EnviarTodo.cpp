#include "EnviarTodo.h"

#include "TransferenciaFont.h"
#include "TransferenciaRaster.h"

namespace quoravex {

EnviarTodo::EnviarTodo(EnlaceImpresora& enlace, TransferenciaRaster& raster, TransferenciaFont& fontTurno)
    : mEnlace(enlace), mRaster(raster), mFontTurno(fontTurno) {
    mRaster.alTerminar = [this] { avanzar(); };
    mFontTurno.alTerminar = [this] { avanzar(); };
}

EnviarTodo::~EnviarTodo() {
    mRaster.alTerminar = nullptr;
    mFontTurno.alTerminar = nullptr;
}

void EnviarTodo::iniciar() {
    if (mActivo) return;
    PasoEnviarTodo = 0;
    mActivo = true;
    avanzar();
}

void EnviarTodo::avanzar() {
    // A transfer that ends at once, inside the step that starts it, asks again.
    if (mAvanzando) {
        mOtraVez = true;
        return;
    }
    mAvanzando = true;
    do {
        mOtraVez = false;
        while (mActivo && paso()) {
        }
    } while (mOtraVez);
    mAvanzando = false;
}

bool EnviarTodo::paso() {
    switch (PasoEnviarTodo) {
    case 0:
        mEnlace.sink().inicioHabilitado(false);
        mEnlace.ErrorEnvio = false;
        PasoEnviarTodo = 1;
        mRaster.iniciar();
        return true;
    case 1:
        if (mRaster.RasterActivo) return false;
        if (mEnlace.ErrorEnvio) {
            terminar();
            return false;
        }
        PasoEnviarTodo = 2;
        return true;
    case 2:
        mEnlace.ErrorEnvio = false;
        PasoEnviarTodo = 3;
        mFontTurno.iniciar();
        return true;
    default:
        if (mFontTurno.FontActivo) return false;
        terminar();
        return false;
    }
}

void EnviarTodo::terminar() {
    mActivo = false;
    mEnlace.sink().pitido();
    mEnlace.sink().inicioHabilitado(true);
}

} // namespace quoravex
