#pragma once

#include "Transferencia.h"

#include <array>

namespace quoravex {

// What tells the three font transfers apart.
struct TipoFont {
    QString archivo;         // "DatosRasterTurno.bin"
    uint8_t comandoDatos;    // font data
    uint8_t comandoCabecera; // character header and terminator
    uint8_t comandoRaster;   // one raster block of a character
    QString etiquetaDatos;   // log line of the font data frame
    Reloj reloj;
    int barra;

    static const TipoFont& Turno();
    static const TipoFont& Fecha();
    static const TipoFont& Hora();
};

// Sends one font file: its data header, then per character a header and its raster
// blocks, then a terminator. Missing or empty files send nothing and are not an error
// (the design has no such field).
class TransferenciaFont : public Transferencia {
public:
    TransferenciaFont(EnlaceImpresora& enlace, const TipoFont& tipo, const QString& directorio);

    void iniciar();

    bool FontActivo = false;
    int EstadoFont = 0;
    std::array<uint8_t, 8> DatosFont{};
    std::array<uint8_t, 5> CabeceraCaracter{};
    int32_t TotalCaracter = 0;
    int32_t EnviadoCaracter = 0;

    const TipoFont& tipo() const { return mTipo; }

private:
    void irAlFinal() override { EstadoFont = 16; }
    bool activo() const override { return FontActivo; }
    bool enEspera() const override {
        return EstadoFont == 2 || EstadoFont == 6 || EstadoFont == 10 || EstadoFont == 14;
    }
    void paso() override;
    void abrir();
    void esperarDatos(const std::optional<uint8_t>& estado);
    void siguienteCaracter();
    void esperarCabecera(const std::optional<uint8_t>& estado);
    void siguienteBloque();
    void esperarBloque(const std::optional<uint8_t>& estado);
    void esperarTerminador(const std::optional<uint8_t>& estado);
    void enviarFrame(int siguiente, int ticks);
    void pedirEstado(int siguiente);
    // One retry of a step: gives up when none are left, otherwise goes to `siguiente`.
    void reintentar(int siguiente);
    // A reply the wait does not act on: dropped, and the tick counts as waited.
    void ignorar();
    void terminar() override;

    const TipoFont& mTipo;
};

} // namespace quoravex
