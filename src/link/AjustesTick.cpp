#include "AjustesTick.h"

#include <QtGlobal>

namespace quoravex {

namespace {
bool valido(int ms) {
    return ms >= 1 && ms <= 1000;
}
} // namespace

int AjustesTick::leer(const QString& texto) {
    bool ok = false;
    const int ms = texto.trimmed().toInt(&ok);
    return ok && valido(ms) ? ms : 0;
}

AjustesTick AjustesTick::desde(const QStringList& argumentos, const QString& entorno, int configurado) {
    const QString prefijo = QStringLiteral("--tick-ms=");
    for (const QString& a : argumentos) {
        if (a.startsWith(prefijo)) {
            if (const int ms = leer(a.mid(prefijo.size()))) return AjustesTick{ms};
        }
    }
    if (const int ms = leer(entorno)) return AjustesTick{ms};
    return AjustesTick{valido(configurado) ? configurado : PorDefecto};
}

AjustesTick AjustesTick::desdeProceso(const QStringList& argumentos, int configurado) {
    return desde(argumentos, qEnvironmentVariable("QUORAVEX_TICK_MS"), configurado);
}

} // namespace quoravex
