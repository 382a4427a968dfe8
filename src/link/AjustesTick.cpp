#include "AjustesTick.h"

#include <QtGlobal>

namespace quoravex {

namespace {

int leerIntervalo(const QString& texto) {
    bool ok = false;
    const int ms = texto.trimmed().toInt(&ok);
    return (ok && ms >= 1 && ms <= 1000) ? ms : 0;
}

} // namespace

AjustesTick AjustesTick::desde(const QStringList& argumentos, const QString& entorno) {
    const QString prefijo = QStringLiteral("--tick-ms=");
    for (const QString& a : argumentos) {
        if (a.startsWith(prefijo)) {
            if (const int ms = leerIntervalo(a.mid(prefijo.size()))) return AjustesTick{ms};
        }
    }
    return AjustesTick{leerIntervalo(entorno)};
}

AjustesTick AjustesTick::desdeProceso(const QStringList& argumentos) {
    return desde(argumentos, qEnvironmentVariable("QUORAVEX_TICK_MS"));
}

} // namespace quoravex
