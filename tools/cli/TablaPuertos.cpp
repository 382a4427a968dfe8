#include "TablaPuertos.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <array>

namespace quoravex::cli {

namespace {

std::array<QString, 6> Celdas(const PuertoDetectado& p) {
    return {p.dispositivo, p.estable, p.descripcion, p.fabricante, p.numeroSerie, p.usb};
}

} // namespace

QString TablaPuertos(const QList<PuertoDetectado>& puertos) {
    if (puertos.isEmpty()) return QStringLiteral("No se ha detectado ningún puerto serie.\n");
    const std::array<QString, 6> cabecera = {QStringLiteral("Dispositivo"),  QStringLiteral("Nombre estable"),
                                             QStringLiteral("Descripción"),  QStringLiteral("Fabricante"),
                                             QStringLiteral("N.º de serie"), QStringLiteral("USB")};
    QList<std::array<QString, 6>> filas{cabecera};
    for (const PuertoDetectado& p : puertos) {
        std::array<QString, 6> f = Celdas(p);
        for (QString& celda : f)
            if (celda.isEmpty()) celda = QStringLiteral("-");
        filas.append(f);
    }
    std::array<qsizetype, 6> anchos{};
    for (const auto& f : filas)
        for (size_t i = 0; i < f.size(); ++i)
            anchos[i] = std::max(anchos[i], f[i].size());
    QString tabla;
    for (const auto& f : filas) {
        QString linea;
        for (size_t i = 0; i < f.size(); ++i)
            linea += (i + 1 < f.size() ? f[i].leftJustified(anchos[i]) + QStringLiteral("  ") : f[i]);
        tabla += linea.trimmed() + QLatin1Char('\n');
    }
    return tabla;
}

QString PuertosJson(const QList<PuertoDetectado>& puertos) {
    QJsonArray lista;
    for (const PuertoDetectado& p : puertos)
        lista.append(QJsonObject{{QStringLiteral("dispositivo"), p.dispositivo},
                                 {QStringLiteral("nombre"), p.nombre},
                                 {QStringLiteral("estable"), p.estable},
                                 {QStringLiteral("descripcion"), p.descripcion},
                                 {QStringLiteral("fabricante"), p.fabricante},
                                 {QStringLiteral("numeroSerie"), p.numeroSerie},
                                 {QStringLiteral("usb"), p.usb}});
    return QString::fromUtf8(QJsonDocument(lista).toJson(QJsonDocument::Indented));
}

} // namespace quoravex::cli
