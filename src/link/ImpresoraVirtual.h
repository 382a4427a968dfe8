#pragma once

#include "SerialPort.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <array>
#include <map>
#include <optional>

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

    QByteArray archivo() const {
        return datos + caracteres + (completa ? QByteArray(1, '\xFF') : QByteArray());
    }
};

// The printer's side of the link, on any serial port: takes frames, checks their CRC,
// answers ACK, NAK, PROCESANDO or status, and keeps what it was sent.
class ImpresoraVirtual : public QObject {
    Q_OBJECT
public:
    explicit ImpresoraVirtual(SerialPort& puerto, QObject* parent = nullptr);

    FallosImpresora fallos;

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

private:
    void alRecibir();
    void procesar(const QByteArray& trama);
    // Stores the frame's content; false when the printer cannot make sense of it.
    bool guardar(const QByteArray& trama);
    bool guardarFont(int indice, int tipo, QByteArrayView cuerpo);
    void responder(uint8_t estacion, uint8_t comando, uint8_t estado, bool corta = false);

    SerialPort& mPuerto;
    QByteArray mEntrada;
    QByteArray mUltima; // the last frame taken, so that a repeat is not stored twice
};

} // namespace quoravex
