#include "PuertoSerie.h"

#include "SystemSerialPort.h"

namespace quoravex {

std::unique_ptr<SerialPort> CrearPuertoSerie(const QString& dispositivo) {
    auto sistema = std::make_unique<SystemSerialPort>();
    sistema->fijarDispositivo(dispositivo);
    return sistema;
}

void PrepararPuerto(SerialPort&, QObject* contexto, std::function<void()> listo) {
    QMetaObject::invokeMethod(contexto, std::move(listo), Qt::QueuedConnection);
}

} // namespace quoravex
