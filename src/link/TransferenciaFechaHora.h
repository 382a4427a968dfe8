#pragma once

#include "EnlaceImpresora.h"

#include <QDateTime>
#include <functional>

namespace quoravex {

// The 18 bytes of the date-and-time frame before its CRC, for one reading of the clock.
QByteArray TramaFechaHora(const QDateTime& momento);

// Sets the printer's clock: one frame to station 0, then the window closes half a second
// later. The printer's answer is not examined.
class TransferenciaFechaHora {
public:
    using FuenteHora = std::function<QDateTime()>;

    explicit TransferenciaFechaHora(EnlaceImpresora& enlace, FuenteHora ahora = {});

    void iniciar();
    // One step, from the window's TimEnvioFechaHora.
    void tick();

    bool FechaHoraActivo = false;
    int EstadoFechaHora = 0;
    BufferTX BufTX{};
    uint8_t LongTX = 0;

    static constexpr int IntervaloNominal = 1;
    static constexpr int EsperaCierre = 500;

private:
    EnlaceImpresora& mEnlace;
    FuenteHora mAhora;
};

} // namespace quoravex
