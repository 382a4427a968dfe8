#pragma once

#include <QString>
#include <QStringList>

namespace quoravex {

// What is known about a port that could not be opened.
struct FalloPuerto {
    int error = 0;          // the system's error number (EACCES, ENOENT, EBUSY...); 0: not known
    QString dispositivo;    // the device as it was named
    QString textoSistema;   // the system's own words for the error
    QString grupo;          // the group that owns the device; empty: not known
    QStringList detectados; // the ports present, as PuertoDetectado::texto() gives them
    QString ocupante;       // the program that holds the port ("minicom (PID 812)"); empty: not known
};

// "DEVICE: reason", in Spanish, saying what the user can do about it.
QString MotivoFallo(const FalloPuerto& f);

} // namespace quoravex
