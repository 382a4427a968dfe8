#pragma once

#include "link/AjustesTick.h"
#include "link/SerialPort.h"
#include "link/TransferenciaFechaHora.h"

#include <QStringList>
#include <QTextStream>
#include <memory>

namespace quoravex {

class Design;

// A send from the command line: what the transfer windows do, without a window.
struct OpcionesEnvioConsola {
    QString dispositivo; // the serial device, e.g. /dev/ttyUSB0
    QString carpeta;     // where the raster and font files are; empty: the current directory
    AjustesTick ajustes;
    int limiteMs = 10 * 60 * 1000;      // the whole run is given up after this long
    std::unique_ptr<SerialPort> puerto; // another port instead of the device (tests)
};

struct ResultadoEnvioConsola {
    bool ok = false;
    bool rasterCompleto = false; // every raster file acknowledged, end blocks included
    bool fontTurno = false;      // the turn-number font was sent and its terminator acknowledged
    bool sinFontTurno = false;   // the design has no turn-number field: there was no font to send
    bool tiempoAgotado = false;
    bool sinConfirmacion = false; // the clock frame left; a printer never answers it
    QStringList mensajes; // what the windows would have shown in message boxes
    QString error;        // what failed, in one line; empty when ok
    qint64 duracionMs = 0;
    int repeticiones = 0; // frames the link wrote again (EnlaceImpresora::repeticiones)
};

// Sends the raster files and then the turn-number font ("IniciarEnvio"), running real
// timers in an event loop until the sequence ends, writing the log lines to `salida`:
// a fleet of one printer (EnviarDisenoFlota).
// ok only when the rasters and the turn-number font (if the design has one) went through.
// Needs a QCoreApplication.
ResultadoEnvioConsola EnviarDisenoConsola(const Design& design, OpcionesEnvioConsola opciones,
                                          QTextStream& salida);

// Sets the printer's clock: one date-and-time frame at 1200 baud; ok once it has left, which
// is all that can be known (sinConfirmacion).
ResultadoEnvioConsola EnviarFechaHoraConsola(OpcionesEnvioConsola opciones, QTextStream& salida,
                                             TransferenciaFechaHora::FuenteHora ahora = {});

} // namespace quoravex
