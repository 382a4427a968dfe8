#pragma once

#include "VentanaEnlace.h"
#include "link/TransferenciaFechaHora.h"

namespace quoravex {

// Sets the printer's clock: opens the port at 1200 baud, sends the date and time at once
// and closes itself half a second later.
class FrmEnviarFechaHora : public VentanaEnlace {
    Q_OBJECT
public:
    explicit FrmEnviarFechaHora(OpcionesVentanaEnlace opciones, QWidget* parent = nullptr,
                                TransferenciaFechaHora::FuenteHora ahora = {});
    ~FrmEnviarFechaHora() override;

    void PBEnviarFechaHora();
    TransferenciaFechaHora& transferencia() { return mFechaHora; }

protected:
    void alCargar() override;
    void detenerTransferencias() override { mFechaHora.FechaHoraActivo = false; }

private:
    TransferenciaFechaHora mFechaHora;
};

} // namespace quoravex
