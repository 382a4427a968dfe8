#pragma once

#include "link/SerialPort.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace quoravex {

// The port that a name stands for: "rfc2217://HOST:PORT" and "socket://HOST:PORT" reach a
// serial device server over the network; anything else is a device of this machine.
std::unique_ptr<SerialPort> CrearPuertoSerie(const QString& dispositivo);

// Lets a port get ready without blocking the caller (a network port connects), then calls
// `listo` on the caller's thread, in a later turn of the event loop. open() does not block
// afterwards; when the connection failed, it returns false and ultimoError() says why.
void PrepararPuerto(SerialPort& puerto, QObject* contexto, std::function<void()> listo);

} // namespace quoravex
