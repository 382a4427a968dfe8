#pragma once

#include "AjustesTick.h"
#include "BuscadorTramas.h"
#include "LinkSink.h"
#include "SerialPort.h"
#include "Trama.h"

#include <QByteArray>
#include <QObject>
#include <array>
#include <cstdint>
#include <vector>

namespace quoravex {

class Transferencia;

// One progress bar: value against maximum, shown as a whole percentage.
struct BarraProgreso {
    int32_t valor = 0;
    int32_t maximo = 100;
    int porcentaje = 0;
};

// What a transfer window shares among its transfers: the port, the reply being collected,
// the failure flag, the progress bars, the activity indicator and the log.
//
// A reply is complete as soon as the received bytes hold a whole frame with a correct CRC;
// bytes that cannot become one are taken as the reply after a pause of one wait tick. When
// a frame went out more than once, the replies to every copy are awaited the same way and
// the last one counts. The transfers are woken whenever the line drains or a reply is in.
class EnlaceImpresora : public QObject {
    Q_OBJECT
public:
    EnlaceImpresora(SerialPort& puerto, LinkSink& sink, const ConfiguracionLinea& linea,
                    AjustesTick ajustes = {}, QObject* parent = nullptr);
    ~EnlaceImpresora() override;

    // The window's load: refuses a second running instance, opens the port and resets the
    // bars. On failure the message has been shown and the window should close.
    bool Cargar(int puertoCom, bool otraInstanciaEnEjecucion);

    // How messages name the port: "COM" and its number unless set (a device path or a
    // network port, as the user named it).
    void fijarNombrePuerto(const QString& nombre) { mNombrePuerto = nombre; }
    QString nombrePuerto() const;

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
    // Frames written again since the port was loaded: a write whose bytes equal the write
    // before it (after a NAK, a lost reply or a busy printer).
    int repeticiones() const { return mRepeticiones; }
    // Drops RTS without the drained report, for a port that never gives it.
    void soltarRts();

    // Tick of the reception pause: held bytes become the reply, unless they are the start
    // of a frame whose rest is still to come.
    void tickTOut();
    // A whole frame is in, held until the line is quiet because several copies went out.
    bool respuestaRetenida() const { return mRetenida; }

    // The transfers that are woken by the port's events.
    void registrar(Transferencia* t);
    void retirar(Transferencia* t);

    void IniciarBarra(int i);
    void ActualizarBarra(int i, int64_t valor);
    void fijarMaximoBarra(int i, int64_t maximo);
    const BarraProgreso& barra(int i) const { return mBarras.at(static_cast<size_t>(i)); }

    void iniciarIntermitencia();
    void detenerIntermitencia();
    void tickIntermitencia();
    bool indicadorAzul() const { return mAzul; }

    // Restarts a timer that counts wait ticks.
    void reiniciarReloj(Reloj r) { mSink.reloj(r, mAjustes.tickMs); }
    const AjustesTick& ajustes() const { return mAjustes; }
    LinkSink& sink() { return mSink; }
    SerialPort& puerto() { return mPuerto; }

    // Received since the last complete reply (its newest BuscadorTramas::Limite bytes).
    const QByteArray& BufRX() const { return mRecibido.bytes(); }
    QByteArray RespuestaRX; // the last complete reply, until a transfer acts on it
    uint8_t NumEstacion = 1;
    bool ErrorEnvio = false;

private:
    // The message followed by the port's own reason, when it has one.
    QString conMotivo(const QString& mensaje) const;
    void entregar(const QByteArray& respuesta);
    void pararPausa();
    void despertar();
    void alRecibir();
    void alVaciar();
    void alError(int codigo);

    SerialPort& mPuerto;
    LinkSink& mSink;
    ConfiguracionLinea mLinea;
    AjustesTick mAjustes;
    int mPuertoCom = 1;
    QString mNombrePuerto;
    bool mRts = false;
    bool mPuertoPerdido = false;
    bool mReabriendo = false;
    bool mAzul = false;
    std::array<BarraProgreso, 4> mBarras{};
    int mCopias = 0;          // frames written since the last reply was taken
    bool mRetenida = false;   // BufRX holds a whole frame, waiting for the line to go quiet
    bool mProrrogada = false; // the quiet wait was extended once for a frame still arriving
    BuscadorTramas mRecibido;
    // Bytes received since the last frame was written. Past a few replies' worth, arrivals
    // no longer put off the quiet wait, so a line that never stops talking still ends it.
    qint64 mRecibidosDesdeEnvio = 0;
    bool mPausaEnCurso = false;
    std::vector<Transferencia*> mTransferencias;
    // Frames written again, and the last frame written, which the next is compared with.
    int mRepeticiones = 0;
    QByteArray mUltimaEscrita;
};

} // namespace quoravex
