#include "PuertosDetectados.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>

namespace quoravex {

QString PuertoDetectado::texto() const {
    return descripcion.isEmpty() ? nombreElegible()
                                 : QStringLiteral("%1 (%2)").arg(nombreElegible(), descripcion);
}

QMap<QString, QString> EnlacesEstables(const QString& carpeta) {
    QMap<QString, QString> enlaces;
    const QDir dir(carpeta);
    // Sorted, so that a device with several links (one per interface) always gets the same.
    for (const QString& nombre :
         dir.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString ruta = dir.filePath(nombre);
        const QString destino = QFileInfo(ruta).canonicalFilePath();
        if (!destino.isEmpty() && !enlaces.contains(destino)) enlaces.insert(destino, ruta);
    }
    return enlaces;
}

QList<PuertoDetectado> OrdenarPuertos(QList<PuertoDetectado> puertos, const QMap<QString, QString>& enlaces) {
    for (PuertoDetectado& p : puertos) {
        const QString real = QFileInfo(p.dispositivo).canonicalFilePath();
        p.estable = enlaces.value(real.isEmpty() ? p.dispositivo : real, enlaces.value(p.dispositivo));
    }
    std::stable_sort(puertos.begin(), puertos.end(), [](const PuertoDetectado& a, const PuertoDetectado& b) {
        if (a.estable.isEmpty() != b.estable.isEmpty()) return !a.estable.isEmpty();
        return a.nombreElegible() < b.nombreElegible();
    });
    return puertos;
}

QList<PuertoDetectado> DetectarPuertos() {
    QList<PuertoDetectado> puertos;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PuertoDetectado p;
        p.dispositivo = info.systemLocation();
        p.nombre = info.portName();
        p.descripcion = info.description();
        p.fabricante = info.manufacturer();
        p.numeroSerie = info.serialNumber();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            p.usb = QStringLiteral("%1:%2")
                        .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                        .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
        puertos.append(p);
    }
    return OrdenarPuertos(puertos, EnlacesEstables());
}

} // namespace quoravex
