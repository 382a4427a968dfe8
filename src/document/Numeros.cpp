#include "Numeros.h"

#include <QString>
#include <cfenv>
#include <cmath>
#include <limits>

namespace quoravex {

namespace {
bool esDigito(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

double LeerNumero(QStringView texto) {
    qsizetype i = 0;
    const qsizetype n = texto.size();
    while (i < n && texto.at(i) == QLatin1Char(' '))
        ++i;
    const qsizetype inicio = i;
    if (i < n && (texto.at(i) == QLatin1Char('+') || texto.at(i) == QLatin1Char('-'))) ++i;
    qsizetype digitos = 0;
    while (i < n && esDigito(texto.at(i))) {
        ++i;
        ++digitos;
    }
    if (i < n && texto.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < n && esDigito(texto.at(i))) {
            ++i;
            ++digitos;
        }
    }
    if (digitos == 0) return 0.0;
    qsizetype fin = i;
    // An exponent counts only when it has at least one digit.
    if (i < n && (texto.at(i) == QLatin1Char('e') || texto.at(i) == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (texto.at(j) == QLatin1Char('+') || texto.at(j) == QLatin1Char('-'))) ++j;
        const qsizetype inicioExp = j;
        while (j < n && esDigito(texto.at(j)))
            ++j;
        if (j > inicioExp) fin = j;
    }
    bool ok = false;
    const double v = texto.mid(inicio, fin - inicio).toString().toDouble(&ok);
    if (!ok || !std::isfinite(v)) return 0.0;
    return v;
}

std::optional<int32_t> RedondeoPar(double valor) {
    if (!std::isfinite(valor)) return std::nullopt;
    const int modo = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(valor);
    std::fesetround(modo);
    if (r < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
        r > static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(r);
}

std::optional<int16_t> EnteroDe16(double valor) {
    const auto r = RedondeoPar(valor);
    if (!r || *r < std::numeric_limits<int16_t>::min() || *r > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(*r);
}

} // namespace quoravex
