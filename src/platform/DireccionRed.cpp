#include "PuertoRed.h"

#include <QRegularExpression>

namespace quoravex {

bool DireccionRed::EsNombreRed(const QString& nombre) {
    return nombre.startsWith(QStringLiteral("rfc2217://"), Qt::CaseInsensitive) ||
           nombre.startsWith(QStringLiteral("socket://"), Qt::CaseInsensitive);
}

std::optional<DireccionRed> DireccionRed::desdeTexto(const QString& nombre) {
    static const QRegularExpression forma(
        QStringLiteral(R"(^(rfc2217|socket)://(\[([0-9A-Fa-f:.]+)\]|([^\[\]:/\s]+)):([0-9]{1,5})/?$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = forma.match(nombre.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    const int puerto = m.captured(5).toInt();
    if (puerto < 1 || puerto > 65535) return std::nullopt;
    DireccionRed d;
    d.rfc2217 = m.captured(1).compare(QStringLiteral("rfc2217"), Qt::CaseInsensitive) == 0;
    d.host = m.captured(3).isEmpty() ? m.captured(4) : m.captured(3);
    d.puerto = static_cast<quint16>(puerto);
    return d;
}

QString DireccionRed::texto() const {
    return (host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host) + QLatin1Char(':') +
           QString::number(puerto);
}

} // namespace quoravex
