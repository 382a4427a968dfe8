#pragma once

#include "PuertosDetectados.h"

#include <QSerialPort>
#include <QString>
#include <QStringList>

namespace quoravex {

// What the operating system can tell about a serial device that would not open.

// The system's error number that a failed open stands for: ENOENT, ENODEV, EACCES, EBUSY
// (refused while the device itself may be used: another program holds it), EIO; 0 otherwise.
int ErrorApertura(QSerialPort::SerialPortError error, const QString& ruta);

// The group that owns the device file; empty when not known.
QString GrupoDispositivo(const QString& ruta);

// Who holds the device: the process named by a lock file (LCK..ttyUSB0 in one of `carpetas`),
// else one that has it open (on Linux); "minicom (PID 812)", or empty when nobody is seen.
QString OcupantePuerto(const QString& ruta, const QStringList& carpetas = {QStringLiteral("/var/lock"),
                                                                           QStringLiteral("/run/lock")});

// "DEVICE: reason" for a device that would not open, with what the system tells about it.
QString MotivoNoAbre(const QString& ruta, QSerialPort::SerialPortError error, const QString& textoSistema,
                     const DetectorPuertos& detectar = DetectarPuertos);

// Asks the driver to pass received bytes on at once instead of holding them for its latency
// timer (USB serial adapters, on Linux). False when the driver does not take the request,
// which changes nothing.
bool PedirBajaLatencia(int descriptor);

} // namespace quoravex
