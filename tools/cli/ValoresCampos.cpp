#include "ValoresCampos.h"

#include "platform/LectorCsv.h"

#include <QDir>
#include <QFile>

namespace quoravex::cli {

namespace {

bool NombreValido(const QString& nombre) {
    if (nombre.isEmpty()) return false;
    for (const QChar c : nombre)
        if (!CaracterDeNombre(c)) return false;
    return true;
}

} // namespace

ValoresPedidos ValoresDeArgumentos(const Argumentos& a) {
    ValoresPedidos r;
    for (const QString& fichero : a.valores(QStringLiteral("--valores"))) {
        const QString nombre = QDir::toNativeSeparators(fichero);
        QFile f(fichero);
        if (!f.open(QIODevice::ReadOnly)) {
            r.error = QStringLiteral("No se puede leer el fichero de valores %1.").arg(nombre);
            return r;
        }
        const TablaCsv t = LeerCsv(f.readAll());
        QString error = t.error;
        if (error.isEmpty() && t.filas.size() != 1)
            error = QStringLiteral("línea %1: lleva una sola fila de valores bajo la cabecera; para dar "
                                   "valores a cada impresora use --ports-from")
                        .arg(t.filas.isEmpty() ? 2 : t.lineas.at(1));
        if (!error.isEmpty()) {
            r.error = QStringLiteral("El fichero de valores %1 no se puede usar: %2.").arg(nombre, error);
            return r;
        }
        for (qsizetype c = 0; c < t.cabecera.size(); ++c)
            if (t.cabecera.at(c).compare(QStringLiteral("puerto"), Qt::CaseInsensitive) != 0)
                r.valores.insert(t.cabecera.at(c), t.filas.first().at(c));
    }
    for (const QString& v : a.valores(QStringLiteral("--valor"))) {
        const qsizetype igual = v.indexOf(QLatin1Char('='));
        const QString nombre = v.left(igual);
        if (igual < 0 || !NombreValido(nombre)) {
            r.error = QStringLiteral("--valor necesita NOMBRE=VALOR, con un nombre de letras, dígitos, _ y -: %1").arg(v);
            r.uso = true;
            return r;
        }
        r.valores.insert(nombre, v.mid(igual + 1));
    }
    return r;
}

QStringList OpcionesValores() {
    return {QStringLiteral("--valor"), QStringLiteral("--valores")};
}

QString AyudaValores() {
    return QStringLiteral(
        "  --valor NOMBRE=VALOR   valor del campo {NOMBRE} de los textos y códigos; puede repetirse\n"
        "  --valores FICHERO.csv  valores de los campos: una cabecera con sus nombres y una fila\n");
}

} // namespace quoravex::cli
