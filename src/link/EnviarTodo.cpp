#include "EnviarTodo.h"

#include "TransferenciaFont.h"
#include "TransferenciaRaster.h"

namespace quoravex {

EnviarTodo::EnviarTodo(EnlaceImpresora& enlace, TransferenciaRaster& raster, TransferenciaFont& fontTurno)
    : mEnlace(enlace), mRaster(raster), mFontTurno(fontTurno) {}

void EnviarTodo::iniciar() {
    if (mActivo) return;
    PasoEnviarTodo = 0;
    mActivo = true;
    mEnlace.sink().reloj(Reloj::EnviarTodo, Intervalo);
}

void EnviarTodo::tick() {
    if (!mActivo) return;
    switch (PasoEnviarTodo) {
    case 0:
        mEnlace.sink().inicioHabilitado(false);
        mEnlace.ErrorEnvio = false;
        mRaster.iniciar();
        PasoEnviarTodo = 1;
        break;
    case 1:
        if (mRaster.RasterActivo) break;
        if (mEnlace.ErrorEnvio)
            terminar();
        else
            PasoEnviarTodo = 2;
        break;
    case 2:
        mEnlace.ErrorEnvio = false;
        mFontTurno.iniciar();
        PasoEnviarTodo = 3;
        break;
    default:
        if (!mFontTurno.FontActivo) terminar();
        break;
    }
}

void EnviarTodo::terminar() {
    mEnlace.sink().pitido();
    mEnlace.sink().inicioHabilitado(true);
    mEnlace.sink().reloj(Reloj::EnviarTodo, 0);
    mActivo = false;
}

} // namespace quoravex
