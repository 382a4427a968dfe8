#include "PuertoSerie.h"

#include "PuertoRed.h"
#include "SystemSerialPort.h"

namespace quoravex {

std::unique_ptr<SerialPort> CrearPuertoSerie(const QString& dispositivo) {
    if (DireccionRed::EsNombreRed(dispositivo)) return std::make_unique<PuertoRed>(dispositivo);
    auto sistema = std::make_unique<SystemSerialPort>();
    sistema->fijarDispositivo(dispositivo);
    return sistema;
}

void PrepararPuerto(SerialPort& puerto, QObject* contexto, std::function<void()> listo) {
    auto* red = qobject_cast<PuertoRed*>(&puerto);
    if (!red) {
        QMetaObject::invokeMethod(contexto, std::move(listo), Qt::QueuedConnection);
        return;
    }
    auto conexion = std::make_shared<QMetaObject::Connection>();
    *conexion = QObject::connect(red, &PuertoRed::conexionTerminada, contexto, [conexion, listo = std::move(listo)] {
        QObject::disconnect(*conexion);
        listo();
    });
    red->conectar();
}

} // namespace quoravex
