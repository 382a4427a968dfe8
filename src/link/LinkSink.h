#pragma once

#include <QString>

namespace quoravex {

// The timers of a transfer window. The link asks for them to be restarted or stopped;
// the window owns them and calls the matching tick. The transfers step on the port's
// events as well; their timers only count the waits.
enum class Reloj {
    TOut,      // the reception pause: bytes that are not a whole frame become a reply after it
    Raster,    // wait ticks of TransferenciaRaster
    FontTurno, // wait ticks of each font transfer
    FontFecha,
    FontHora,
    Intermitencia, // EnlaceImpresora::tickIntermitencia, 500 ms
    FechaHora,     // TransferenciaFechaHora::tick
};

// What the printer link shows. The transfer window implements it; tests record it.
class LinkSink {
public:
    virtual ~LinkSink() = default;

    // One line of the log box, without its line end.
    virtual void log(const QString& linea) = 0;
    // Progress bar i (0..3) shows porcentaje (0..100).
    virtual void barra(int i, int porcentaje) = 0;
    virtual void cursorOcupado(bool ocupado) = 0;
    // A message box with the critical icon. It must not block the caller's tick for long;
    // the transfer has already finished its own bookkeeping when it calls this.
    virtual void mensaje(const QString& texto, const QString& titulo) = 0;
    // Fill of the activity indicator: blue or white.
    virtual void indicador(bool azul) = 0;
    // Restart timer r with this interval in milliseconds, or stop it when the interval is 0.
    virtual void reloj(Reloj r, int intervaloMs) = 0;
    virtual void pitido() = 0;
    // The start button ("IniciarEnvio") enabled or disabled.
    virtual void inicioHabilitado(bool habilitado) = 0;
    // The window should close: its port is gone, or its work is done.
    virtual void cerrarVentana() = 0;
};

} // namespace quoravex
