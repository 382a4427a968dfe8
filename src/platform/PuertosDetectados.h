#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <functional>

namespace quoravex {

// A serial port present on this machine, as the system describes it. Fields the system
// does not know are empty.
struct PuertoDetectado {
    QString dispositivo; // "/dev/ttyUSB0"
    QString nombre;      // "ttyUSB0"
    QString descripcion;
    QString fabricante;
    QString numeroSerie;
    QString usb;     // vendor and product as "0403:6001"
    QString estable; // the link in /dev/serial/by-id/ that leads to it

    // The name worth remembering: the stable one, which survives reboots and other adapters.
    QString nombreElegible() const { return estable.isEmpty() ? dispositivo : estable; }
    // "NAME (description)" for messages.
    QString texto() const;
    bool operator==(const PuertoDetectado&) const = default;
};

// Where the present ports come from; tests hand the dialogs and messages a list of their own.
using DetectorPuertos = std::function<QList<PuertoDetectado>()>;

// The folder of stable names of USB serial devices (Linux).
inline const QString CarpetaPorId = QStringLiteral("/dev/serial/by-id");

// Every link of the folder, by the canonical path of the device it leads to. Listing the
// folder is all it does: the devices themselves are not opened.
QMap<QString, QString> EnlacesEstables(const QString& carpeta = CarpetaPorId);

// The ports with their stable names (`enlaces` as EnlacesEstables gives them), those that
// have one first, each group in name order.
QList<PuertoDetectado> OrdenarPuertos(QList<PuertoDetectado> puertos, const QMap<QString, QString>& enlaces);

// The ports present now, through Qt Serial Port's port information.
QList<PuertoDetectado> DetectarPuertos();

} // namespace quoravex
