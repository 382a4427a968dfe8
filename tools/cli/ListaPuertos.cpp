#include "ListaPuertos.h"

#include "document/Ficheros.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace quoravex::cli {

QStringList LeerListaPuertos(const QString& texto) {
    static const QRegularExpression finDeLinea(QStringLiteral("\r\n|\r|\n"));
    QStringList puertos;
    for (QString linea : texto.split(finDeLinea)) {
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
        const QString nombre = QDir::toNativeSeparators(fichero);
        QFile f(fichero);
        if (!f.open(QIODevice::ReadOnly)) {
            r.error = QStringLiteral("No se puede leer la lista de puertos %1.").arg(nombre);
            return r;
        }
        const QStringList leidos = LeerListaPuertos(QString::fromUtf8(f.readAll()));
        if (leidos.isEmpty()) {
            r.error = QStringLiteral("La lista de puertos %1 no tiene ningún puerto.").arg(nombre);
            return r;
        }
        todos << leidos;
    }
    // A device reached under two names (a link and its target) is one printer.
    QStringList dispositivos;
    for (QString p : todos) {
        p = p.trimmed();
        if (p.isEmpty()) continue;
        const QString real = QFileInfo(p).canonicalFilePath();
        const QString dispositivo = real.isEmpty() ? p : real;
        if (const qsizetype antes = dispositivos.indexOf(dispositivo); antes >= 0) {
            if (r.puertos.at(antes) != p)
                r.avisos << QStringLiteral("Aviso: %1 es el mismo dispositivo que %2; se atiende una sola vez.")
                                .arg(p, r.puertos.at(antes));
            continue;
        }
        dispositivos << dispositivo;
        r.puertos << p;
    }
    return r;
}

QString GuardarListaPuertos(const QString& ruta, const QStringList& puertos) {
    if (EscribirDestino(ruta, TextoListaPuertos(puertos).toUtf8())) return {};
    return QStringLiteral("No se puede escribir la lista de puertos %1.").arg(QDir::toNativeSeparators(ruta));
}

} // namespace quoravex::cli
