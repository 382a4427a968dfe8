#include "Argumentos.h"

namespace quoravex::cli {

Argumentos AnalizarArgumentos(const QStringList& palabras, const QStringList& conValor,
                              const QStringList& sinValor) {
    Argumentos a;
    bool soloPosicionales = false;
    for (qsizetype i = 0; i < palabras.size() && a.error.isEmpty(); ++i) {
        const QString& p = palabras.at(i);
        if (soloPosicionales || !p.startsWith(QLatin1Char('-')) || p == QStringLiteral("-")) {
            a.posicionales << p;
        } else if (p == QStringLiteral("--")) {
            soloPosicionales = true;
        } else if (p == QStringLiteral("-h") || p == QStringLiteral("--help")) {
            a.ayuda = true;
        } else {
            const qsizetype igual = p.indexOf(QLatin1Char('='));
            const QString nombre = igual < 0 ? p : p.left(igual);
            if (sinValor.contains(nombre)) {
                if (igual >= 0)
                    a.error = QStringLiteral("La opción %1 no lleva valor.").arg(nombre);
                else if (!a.banderas.contains(nombre))
                    a.banderas << nombre;
            } else if (!conValor.contains(nombre)) {
                a.error = QStringLiteral("Opción desconocida: %1").arg(nombre);
            } else if (igual >= 0 && igual + 1 < p.size()) {
                a.opciones[nombre].append(p.mid(igual + 1));
            } else if (igual >= 0) {
                a.error = QStringLiteral("La opción %1 necesita un valor.").arg(nombre);
            } else if (i + 1 < palabras.size()) {
                a.opciones[nombre].append(palabras.at(++i));
            } else {
                a.error = QStringLiteral("La opción %1 necesita un valor.").arg(nombre);
            }
        }
    }
    return a;
}

} // namespace quoravex::cli
