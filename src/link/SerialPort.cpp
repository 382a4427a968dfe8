#include "SerialPort.h"

#include <QStringList>

namespace quoravex {

std::optional<ConfiguracionLinea> ConfiguracionLinea::desdeTexto(const QString& texto) {
    const QStringList partes = texto.split(QLatin1Char(','));
    if (partes.size() != 4) return std::nullopt;
    bool ok[3] = {};
    ConfiguracionLinea c;
    c.baudios = partes[0].trimmed().toInt(&ok[0]);
    const QString paridad = partes[1].trimmed().toLower();
    c.bitsDatos = partes[2].trimmed().toInt(&ok[1]);
    c.bitsParada = partes[3].trimmed().toInt(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2] || paridad.size() != 1 || !QStringLiteral("neoms").contains(paridad))
        return std::nullopt;
    c.paridad = paridad.at(0).toLatin1();
    if (c.baudios <= 0 || c.bitsDatos < 5 || c.bitsDatos > 8 || c.bitsParada < 1 || c.bitsParada > 2)
        return std::nullopt;
    return c;
}

QString ConfiguracionLinea::texto() const {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(baudios)
        .arg(QLatin1Char(paridad))
        .arg(bitsDatos)
        .arg(bitsParada);
}

QString DescripcionEventoPuerto(int codigo) {
    switch (codigo) {
    case EventoBreak:
        return QStringLiteral("Interrupción detectada");
    case EventoEncuadre:
        return QStringLiteral("Error de transmisión (encuadre)");
    case EventoSobrescritura:
        return QStringLiteral("Error de sobrescritura");
    case EventoRxLleno:
        return QStringLiteral("Buffer de recepción lleno");
    case EventoParidad:
        return QStringLiteral("Error de paridad");
    case EventoTxLleno:
        return QStringLiteral("Buffer de transmisión lleno");
    case EventoDcb:
        return QStringLiteral("Error inesperado al recuperar DCB");
    default:
        return {};
    }
}

} // namespace quoravex
