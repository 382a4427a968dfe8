#pragma once

#include "RecepcionTramas.h"
#include "SerialPort.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <array>
#include <functional>
#include <map>
#include <optional>

class QTimer;

namespace quoravex {

// Faults the virtual printer can be told to show; each counter covers that many of the
// next frames it receives.
struct FallosImpresora {
    int silencio = 0;       // no answer at all
    int ruido = 0;          // a byte is damaged on the way in, so the CRC fails
    int rechazo = 0;        // answered with status 0x0F, the frame dropped
    int procesando = 0;     // taken, answered PROCESANDO; the next status request gets ACK
    int respuestaCorta = 0; // taken, but the answer has only three bytes
    int otroEstado = 0;     // taken, answered with an unknown status (0x15)
};

// One raster file as the printer received it.
struct RasterRecibido {
    uint8_t cabecera = 0;
    QByteArray registros;  // b1, b2, c and the c bytes of every data block, in order
    bool completo = false; // the end block arrived
    int16_t largo = 0;     // the ticket length carried by the end block

    // The file it came from: the header byte and the records.
    QByteArray archivo() const { return QByteArray(1, static_cast<char>(cabecera)) + registros; }
};

// One font as the printer received it.
struct FontRecibida {
    QByteArray datos;      // the 8 data bytes
    QByteArray caracteres; // every character header followed by its records
    bool completa = false; // the terminator arrived
    int faltan = 0;        // record bytes the last character header announced and are still to come

    QByteArray archivo() const {
        return datos + caracteres + (completa ? QByteArray(1, '\xFF') : QByteArray());
    }
};

// The push-button count an erase frame's keyboard code carries: none below 16.
inline int PulsadoresDeTeclado(int codigoTeclado) {
    return codigoTeclado >= 16 ? (codigoTeclado >> 4) + 1 : 0;
}

// The printer's side of the link, on any serial port: cuts the bytes into frames, checks
// their CRC, the line settings and their content, answers ACK, NAK, PROCESANDO or status,
// and keeps what it was sent. It refuses (status 0x0F) what a printer would refuse and
// stores nothing of it.
class ImpresoraVirtual : public QObject {
    Q_OBJECT
public:
    explicit ImpresoraVirtual(SerialPort& puerto, QObject* parent = nullptr);

    FallosImpresora fallos;

    // The settings the line is at now; frames that arrive at other settings than their
    // command needs (19200 8N2 for transfers, 1200 8N2 for the clock) are garbage to the
    // printer and get no answer. Not checked while unset or when it has no answer.
    std::function<std::optional<ConfiguracionLinea>()> lineaActual;
    // Milliseconds from a frame's arrival to its answer.
    int latenciaMs = 0;
    // Size of the receive buffer, 0 for no limit. Bytes not yet answered fill it; what
    // arrives while it is full is lost.
    qsizetype capacidadBuffer = 0;
    // The clock of the latency in milliseconds; a steady clock unless a test sets it.
    std::function<qint64()> relojMs;

    // Called with each whole frame before it is looked at, and after it was.
    std::function<void(const QByteArray& trama)> antesDeTrama;
    std::function<void()> despuesDeTrama;

    // What the printer holds.
    int16_t largoTicket = 0;
    int codigoTeclado = 0;
    int borrados = 0;
    std::map<int, RasterRecibido> rasters; // by header byte
    std::map<int, FontRecibida> fonts;     // 0 turn, 1 date, 2 time
    std::optional<QDateTime> fechaHora;

    // Frames taken with a good CRC, and those refused for their CRC.
    QList<QByteArray> tramas;
    int tramasDanadas = 0;
    // Frames that arrived at the wrong line settings.
    int tramasIlegibles = 0;
    // Bytes lost to a full receive buffer.
    qsizetype bytesPerdidos = 0;

    // Bytes dropped while finding the frames again after stray bytes.
    qsizetype bytesDescartados() const { return mRecepcion.descartados(); }

    // The line has been quiet for PausaSincroniaMs (see RecepcionTramas).
    void pausa();
    // Sends the answers whose latency is over; a timer calls it when they are due.
    void responderVencidas();

private:
    struct Pendiente {
        qint64 cuandoMs;
        QByteArray respuesta;
        qsizetype bytesTrama; // what the frame holds of the buffer until then
    };

    // Bytes in the receive buffer: held, or of frames whose answer has not left yet.
    qsizetype bytesEnBuffer() const;
    void alRecibir();
    void tomarTramas();
    void tomar(const QByteArray& trama);
    // The answer to a whole frame, or nothing.
    std::optional<QByteArray> atender(const QByteArray& trama);
    bool lineaCorrecta(uint8_t comando) const;
    // Stores the frame's content; false when the printer refuses it.
    bool guardar(const QByteArray& trama);
    bool guardarBorrado(QByteArrayView cuerpo);
    bool guardarRaster(QByteArrayView cuerpo);
    bool guardarFechaHora(QByteArrayView cuerpo);
    bool guardarFont(int indice, int tipo, QByteArrayView cuerpo);
    void responder(const QByteArray& respuesta, qsizetype bytesTrama);
    void programarLatencia();
    qint64 ahoraMs() const;

    SerialPort& mPuerto;
    RecepcionTramas mRecepcion;
    QByteArray mUltima; // the last frame accepted, so that a repeat is not stored twice
    QList<Pendiente> mPendientes;
    QTimer* mLatencia = nullptr;
    QElapsedTimer mReloj;
};

} // namespace quoravex
