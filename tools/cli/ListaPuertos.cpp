#include "ListaPuertos.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace quoravex::cli {

QStringList LeerListaPuertos(const QString& texto) {
    QStringList puertos;
    for (QString linea : texto.split(QLatin1Char('\n'))) {
        const qsizetype comentario = linea.indexOf(QLatin1Char('#'));
        if (comentario >= 0) linea.truncate(comentario);
        linea = linea.trimmed();
        if (!linea.isEmpty()) puertos << linea;
    }
    return puertos;
}

QString TextoListaPuertos(const QStringList& puertos) {
    QString texto;
    for (const QString& p : puertos)
        texto += p + QLatin1Char('\n');
    return texto;
}

PuertosPedidos PuertosDeArgumentos(const Argumentos& a) {
    PuertosPedidos r;
    QStringList todos = a.valores(QStringLiteral("--port"));
    for (const QString& fichero : a.valores(QStringLiteral("--ports-from"))) {
        QFile f(fichero);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
            r.error = QStringLiteral("No se puede leer la lista de puertos %1.")
                          .arg(QDir::toNativeSeparators(fichero));
            return r;
        }
        todos << LeerListaPuertos(QString::fromUtf8(f.readAll()));
    }
    for (const QString& p : todos)
        if (!p.trimmed().isEmpty() && !r.puertos.contains(p.trimmed())) r.puertos << p.trimmed();
    return r;
}

QString GuardarListaPuertos(const QString& ruta, const QStringList& puertos) {
    QSaveFile f(ruta);
    if (f.open(QIODevice::WriteOnly | QIODevice::Text) && f.write(TextoListaPuertos(puertos).toUtf8()) >= 0 &&
        f.commit())
        return {};
    return QStringLiteral("No se puede escribir la lista de puertos %1.").arg(QDir::toNativeSeparators(ruta));
}

} // namespace quoravex::cli
