#pragma once

#include <cstdint>

namespace quoravex {

class EnlaceImpresora;
class TransferenciaRaster;
class TransferenciaFont;

// "IniciarEnvio": the raster files, then the turn-number font unless the raster failed.
class EnviarTodo {
public:
    EnviarTodo(EnlaceImpresora& enlace, TransferenciaRaster& raster, TransferenciaFont& fontTurno);

    void iniciar();
    // One step, from the window's TimEnviarTodo (100 ms).
    void tick();
    bool activo() const { return mActivo; }

    uint8_t PasoEnviarTodo = 0;
    static constexpr int Intervalo = 100;

private:
    void terminar();

    EnlaceImpresora& mEnlace;
    TransferenciaRaster& mRaster;
    TransferenciaFont& mFontTurno;
    bool mActivo = false;
};

} // namespace quoravex
