#pragma once

#include <cstdint>

namespace quoravex {

class EnlaceImpresora;
class TransferenciaRaster;
class TransferenciaFont;

// "IniciarEnvio": the raster files, then the turn-number font unless the raster failed.
// Each step is taken as soon as the transfer it waits for has ended.
class EnviarTodo {
public:
    EnviarTodo(EnlaceImpresora& enlace, TransferenciaRaster& raster, TransferenciaFont& fontTurno);
    ~EnviarTodo();

    void iniciar();
    bool activo() const { return mActivo; }

    uint8_t PasoEnviarTodo = 0;

private:
    // Takes the steps that can be taken now.
    void avanzar();
    // One step; false when the sequence waits for a transfer or has ended.
    bool paso();
    void terminar();

    EnlaceImpresora& mEnlace;
    TransferenciaRaster& mRaster;
    TransferenciaFont& mFontTurno;
    bool mActivo = false;
    bool mAvanzando = false;
    bool mOtraVez = false;
};

} // namespace quoravex
