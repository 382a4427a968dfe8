#pragma once

#include "VentanaEnlace.h"
#include "link/EnviarTodo.h"
#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"

namespace quoravex {

class Design;

// "Enviando a Impresora": sends the raster files and then the turn-number font when
// "IniciarEnvio" is pressed; the hidden buttons send one file kind each.
class FrmEnviar : public VentanaEnlace {
    Q_OBJECT
public:
    FrmEnviar(const Design& design, OpcionesVentanaEnlace opciones, QWidget* parent = nullptr);
    ~FrmEnviar() override;

    void PBIniciarEnvio();

    TransferenciaRaster& raster() { return mRaster; }
    TransferenciaFont& fontTurno() { return mFontTurno; }
    TransferenciaFont& fontFecha() { return mFontFecha; }
    TransferenciaFont& fontHora() { return mFontHora; }
    EnviarTodo& enviarTodo() { return mEnviarTodo; }

    QPushButton* PBEnviarRaster = nullptr;
    QPushButton* PBEnviarFontTurno = nullptr;
    QPushButton* PBEnviarFontFecha = nullptr;
    QPushButton* PBEnviarFontHora = nullptr;

protected:
    void detenerTransferencias() override;

private:
    TransferenciaRaster mRaster;
    TransferenciaFont mFontTurno;
    TransferenciaFont mFontFecha;
    TransferenciaFont mFontHora;
    EnviarTodo mEnviarTodo;
};

} // namespace quoravex
