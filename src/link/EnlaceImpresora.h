#pragma once

#include "AjustesTick.h"
#include "LinkSink.h"
#include "SerialPort.h"
#include "Trama.h"

#include <QByteArray>
#include <QObject>
#include <array>
#include <cstdint>

namespace quoravex {

// One progress bar: value against maximum, shown as a whole percentage.
struct BarraProgreso {
    int32_t valor = 0;
    int32_t maximo = 100;
    int porcentaje = 0;
};

// What a transfer window shares among its transfers: the port, the reply being collected,
// the failure flag, the progress bars, the activity indicator and the log.
class EnlaceImpresora : public QObject {
    Q_OBJECT
public:
    EnlaceImpresora(SerialPort& puerto, LinkSink& sink, const ConfiguracionLinea& linea,
                    AjustesTick ajustes = {}, QObject* parent = nullptr);
    ~EnlaceImpresora() override;

    // The window's load: refuses a second running instance, opens the port and resets the
    // bars. On failure the message has been shown and the window should close.
    bool Cargar(int puertoCom, bool otraInstanciaEnEjecucion);

    bool AbrirPuerto(int numero);
    void CerrarPuerto();
    // A port error that reopening did not cure: the transfers end and the window closes.
    bool puertoPerdido() const { return mPuertoPerdido; }
    int puertoCom() const { return mPuertoCom; }

    // Raises RTS, writes the first n bytes and empties BufRX.
    void ID_send_string(QByteArrayView texto, int n);
    // Sends the first n bytes of the buffer as a frame with its CRC; returns the CRC.
    uint16_t SendMsgBinario(QByteArrayView buffer, int n);

    // RTS as this program last set it: on from a write until the port reports it drained.
    bool rts() const { return mRts; }
    // Drops RTS without the drained report, for a port that never gives it.
    void soltarRts();

    // Tick of the reply timer: what arrived before the pause becomes the reply.
    void tickTOut();

    void IniciarBarra(int i);
    void ActualizarBarra(int i, int64_t valor);
    void fijarMaximoBarra(int i, int64_t maximo);
    const BarraProgreso& barra(int i) const { return mBarras.at(static_cast<size_t>(i)); }

    void iniciarIntermitencia();
    void detenerIntermitencia();
    void tickIntermitencia();
    bool indicadorAzul() const { return mAzul; }

    // Restarts a tick-counting timer at its nominal interval, or at the configured tick.
    void reiniciarReloj(Reloj r, int nominalMs) { mSink.reloj(r, mAjustes.intervalo(nominalMs)); }
    const AjustesTick& ajustes() const { return mAjustes; }
    LinkSink& sink() { return mSink; }
    SerialPort& puerto() { return mPuerto; }

    QByteArray BufRX;       // received since the last complete reply
    QByteArray RespuestaRX; // the last complete reply, until a transfer acts on it
    uint8_t NumEstacion = 1;
    bool ErrorEnvio = false;

private:
    void alRecibir();
    void alVaciar();
    void alError(int codigo);

    SerialPort& mPuerto;
    LinkSink& mSink;
    ConfiguracionLinea mLinea;
    AjustesTick mAjustes;
    int mPuertoCom = 1;
    bool mRts = false;
    bool mPuertoPerdido = false;
    bool mReabriendo = false;
    bool mAzul = false;
    std::array<BarraProgreso, 4> mBarras{};
};

} // namespace quoravex
