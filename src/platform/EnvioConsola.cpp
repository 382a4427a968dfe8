#include "EnvioConsola.h"

#include "FlotaEnvio.h"

#include <memory>

namespace quoravex {

namespace {

// One printer as a fleet of one: its log lines to the stream, its port given or made
// from the device's name.
OpcionesFlota FlotaDeUna(OpcionesEnvioConsola& o, QTextStream& salida) {
    OpcionesFlota f;
    f.puertos = {o.dispositivo};
    f.carpeta = o.carpeta;
    f.ajustes = o.ajustes;
    f.limiteMs = o.limiteMs;
    f.paralelo = 1;
    f.registro = &salida;
    if (o.puerto) {
        auto dado = std::make_shared<std::unique_ptr<SerialPort>>(std::move(o.puerto));
        f.crearPuerto = [dado](const QString&) { return std::move(*dado); };
    }
    return f;
}

} // namespace

ResultadoEnvioConsola EnviarDisenoConsola(const Design& design, OpcionesEnvioConsola opciones,
                                          QTextStream& salida) {
    return EnviarDisenoFlota(design, FlotaDeUna(opciones, salida)).impresoras.first().envio;
}

ResultadoEnvioConsola EnviarFechaHoraConsola(OpcionesEnvioConsola opciones, QTextStream& salida,
                                             TransferenciaFechaHora::FuenteHora ahora) {
    return EnviarFechaHoraFlota(FlotaDeUna(opciones, salida), std::move(ahora)).impresoras.first().envio;
}

} // namespace quoravex
