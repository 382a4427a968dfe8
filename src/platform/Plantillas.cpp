#include "Plantillas.h"

#include "LectorCsv.h"

#include "document/Ficheros.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace quoravex {

namespace {

// File names are plain; the names shown carry their accents.
QString NombreVisible(const QString& base) {
    if (base == QStringLiteral("clinica")) return QStringLiteral("Clínica");
    return base.left(1).toUpper() + base.mid(1);
}

ValoresCampos LeerMuestra(const QString& rutaCsv) {
    const TablaCsv t = LeerCsv(LeerFichero(rutaCsv));
    ValoresCampos r;
    if (!t.error.isEmpty() || t.filas.isEmpty()) return r;
    for (qsizetype c = 0; c < t.cabecera.size(); ++c)
        r.insert(t.cabecera.at(c), t.filas.first().at(c));
    return r;
}

} // namespace

QStringList CarpetasPlantillas(const QString& dirPrograma) {
    const QDir programa(dirPrograma);
    return {QDir::cleanPath(programa.filePath(QStringLiteral("../share/quoravex/plantillas"))),
            programa.filePath(QStringLiteral("plantillas"))};
}

QList<Plantilla> BuscarPlantillas(const QStringList& carpetas) {
    QList<Plantilla> r;
    for (const QString& carpeta : carpetas) {
        const QDir dir(carpeta);
        for (const QFileInfo& f : dir.entryInfoList({QStringLiteral("*.tck")}, QDir::Files, QDir::Name)) {
            const QString csv = dir.filePath(f.completeBaseName() + QStringLiteral(".csv"));
            r.append({NombreVisible(f.completeBaseName()), f.absoluteFilePath(), LeerMuestra(csv)});
        }
        if (!r.isEmpty()) break;
    }
    std::sort(r.begin(), r.end(), [](const Plantilla& a, const Plantilla& b) {
        return a.nombre.localeAwareCompare(b.nombre) < 0;
    });
    return r;
}

} // namespace quoravex
