#include "ListaPuertos.h"

#include "platform/LectorCsv.h"

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

TablaFlota LeerTablaFlota(const QByteArray& bytes) {
    TablaFlota r;
    const TablaCsv t = LeerCsv(bytes);
    if (!t.error.isEmpty()) {
        r.error = t.error;
        return r;
    }
    const int puerto = ColumnaCsv(t, QStringLiteral("puerto"));
    if (puerto < 0) {
        r.error = QStringLiteral("línea 1: la cabecera no tiene la columna \"puerto\"");
        return r;
    }
    if (t.filas.isEmpty()) {
        r.error = QStringLiteral("línea 2: la tabla no tiene ninguna impresora");
        return r;
    }
    for (qsizetype f = 0; f < t.filas.size(); ++f) {
        const QStringList& fila = t.filas.at(f);
        const QString nombre = fila.at(puerto);
        const int linea = t.lineas.at(f);
        if (nombre.isEmpty()) {
            r = TablaFlota();
            r.error = QStringLiteral("línea %1: falta el puerto").arg(linea);
            return r;
        }
        if (const qsizetype antes = r.puertos.indexOf(nombre); antes >= 0) {
            const int otra = r.lineas.at(antes);
            r = TablaFlota();
            r.error = QStringLiteral("línea %1: el puerto %2 ya está en la línea %3").arg(linea).arg(nombre).arg(otra);
            return r;
        }
        ValoresCampos valores;
        for (qsizetype c = 0; c < fila.size(); ++c)
            if (c != puerto) valores.insert(t.cabecera.at(c), fila.at(c));
        r.puertos << nombre;
        r.valores << valores;
        r.lineas << linea;
    }
    for (qsizetype c = 0; c < t.cabecera.size(); ++c)
        if (c != puerto) r.columnas << t.cabecera.at(c);
    return r;
}

bool EsTablaFlota(const QString& ruta, const QByteArray& bytes) {
    if (ruta.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) return true;
    QByteArray inicio = bytes.left(64);
    if (inicio.startsWith("\xEF\xBB\xBF") || inicio.startsWith('"')) return true;
    inicio = inicio.trimmed().toLower();
    return inicio.startsWith("puerto") &&
           (inicio.size() == 6 || QByteArrayView(",;\r\n").contains(inicio.at(6)));
}

PuertosPedidos PuertosDeArgumentos(const Argumentos& a) {
    PuertosPedidos r;
    QStringList todos = a.valores(QStringLiteral("--port"));
    QList<ValoresCampos> valores(todos.size());
    QStringList etiquetas(todos.size());
    for (const QString& fichero : a.valores(QStringLiteral("--ports-from"))) {
        const QString nombre = QDir::toNativeSeparators(fichero);
        QFile f(fichero);
        if (!f.open(QIODevice::ReadOnly)) {
            r.error = QStringLiteral("No se puede leer la lista de puertos %1.").arg(nombre);
            return r;
        }
        const QByteArray bytes = f.readAll();
        if (EsTablaFlota(fichero, bytes)) {
            const TablaFlota t = LeerTablaFlota(bytes);
            if (!t.error.isEmpty()) {
                QString motivo = t.error;
                motivo[0] = motivo.at(0).toUpper();
                r.error = QStringLiteral("La tabla de impresoras %1 no se puede usar; no se ha enviado nada. %2.")
                              .arg(nombre, motivo);
                return r;
            }
            r.conTabla = true;
            if (r.tituloEtiqueta.isEmpty() && !t.columnas.isEmpty()) r.tituloEtiqueta = t.columnas.first();
            for (const QString& c : t.columnas)
                if (!r.columnas.contains(c)) r.columnas << c;
            todos << t.puertos;
            valores << t.valores;
            for (const ValoresCampos& v : t.valores)
                etiquetas << (t.columnas.isEmpty() ? QString() : v.value(t.columnas.first()));
            continue;
        }
        const QStringList leidos = LeerListaPuertos(QString::fromUtf8(bytes));
        if (leidos.isEmpty()) {
            r.error = QStringLiteral("La lista de puertos %1 no tiene ningún puerto.").arg(nombre);
            return r;
        }
        todos << leidos;
        valores.resize(todos.size());
        etiquetas.resize(todos.size());
    }
    // A device reached under two names (a link and its target) is one printer.
    QStringList dispositivos;
    for (qsizetype i = 0; i < todos.size(); ++i) {
        const QString p = todos.at(i).trimmed();
        if (p.isEmpty()) continue;
        const QString real = QFileInfo(p).canonicalFilePath();
        const QString dispositivo = real.isEmpty() ? p : real;
        if (const qsizetype antes = dispositivos.indexOf(dispositivo); antes >= 0) {
            // A row of a table has its own values: it cannot be merged into another.
            if (!valores.at(i).isEmpty() || !r.valores.at(antes).isEmpty()) {
                const QString primero = r.puertos.at(antes);
                r = PuertosPedidos();
                r.error = QStringLiteral("%1 y %2 son la misma impresora; cada impresora solo puede estar una vez.")
                              .arg(primero, p);
                return r;
            }
            if (r.puertos.at(antes) != p)
                r.avisos << QStringLiteral("Aviso: %1 es el mismo dispositivo que %2; se atiende una sola vez.")
                                .arg(p, r.puertos.at(antes));
            continue;
        }
        dispositivos << dispositivo;
        r.puertos << p;
        r.valores << valores.at(i);
        r.etiquetas << etiquetas.at(i);
    }
    if (!r.conTabla) r.etiquetas.clear();
    return r;
}

QString GuardarListaPuertos(const QString& ruta, const QStringList& puertos) {
    if (EscribirDestino(ruta, TextoListaPuertos(puertos).toUtf8())) return {};
    return QStringLiteral("No se puede escribir la lista de puertos %1.").arg(QDir::toNativeSeparators(ruta));
}

} // namespace quoravex::cli
