#include "LectorCsv.h"


namespace quoravex {

namespace {

QString EnLinea(int linea, const QString& texto) {
    return QStringLiteral("línea %1: %2").arg(linea).arg(texto);
}

// The first line whose bytes are not UTF-8, or 0 when all are.
int LineaNoUtf8(const QByteArray& bytes) {
    int linea = 1;
    for (const QByteArray& l : bytes.split('\n')) {
        // A byte that is no UTF-8 becomes U+FFFD, which does not give the byte back.
        if (QString::fromUtf8(l).toUtf8() != l) return linea;
        ++linea;
    }
    return 0;
}

bool FinDeLinea(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// The separator the header line uses first, outside quotes; a comma when it uses none.
QChar Separador(const QString& texto) {
    bool comillas = false;
    for (const QChar c : texto) {
        if (c == QLatin1Char('"')) comillas = !comillas;
        if (comillas) continue;
        if (FinDeLinea(c)) break;
        if (c == QLatin1Char(',') || c == QLatin1Char(';')) return c;
    }
    return QLatin1Char(',');
}

class Lector {
public:
    explicit Lector(const QString& texto) : t(texto), sep(Separador(texto)) {}

    // Every row with the line it starts on; false (and error set) at the first fault.
    bool leer(QList<QStringList>& filas, QList<int>& lineas) {
        while (i < t.size()) {
            const int inicio = linea;
            QStringList celdas;
            bool blanca = true;
            for (;;) {
                QString celda;
                bool entreComillas = false;
                if (!leerCelda(celda, entreComillas)) return false;
                blanca = blanca && !entreComillas && celda.isEmpty();
                celdas << celda;
                if (i < t.size() && t.at(i) == sep) {
                    ++i;
                    continue;
                }
                saltarFinDeLinea();
                break;
            }
            if (blanca && celdas.size() == 1) continue;
            filas << celdas;
            lineas << inicio;
        }
        return true;
    }

    QString error;

private:
    void saltarFinDeLinea() {
        if (i >= t.size()) return;
        if (t.at(i) == QLatin1Char('\r') && i + 1 < t.size() && t.at(i + 1) == QLatin1Char('\n')) ++i;
        ++i;
        ++linea;
    }

    void saltarBlancos() {
        while (i < t.size() && (t.at(i) == QLatin1Char(' ') || t.at(i) == QLatin1Char('\t')))
            ++i;
    }

    bool leerCelda(QString& celda, bool& entreComillas) {
        saltarBlancos();
        if (i < t.size() && t.at(i) == QLatin1Char('"')) {
            entreComillas = true;
            const int abre = linea;
            for (++i;; ++i) {
                if (i >= t.size()) {
                    error = EnLinea(abre, QStringLiteral("unas comillas abiertas no se cierran"));
                    return false;
                }
                const QChar c = t.at(i);
                if (c == QLatin1Char('"')) {
                    if (i + 1 < t.size() && t.at(i + 1) == QLatin1Char('"')) {
                        celda += c;
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && !(i + 1 < t.size() && t.at(i + 1) == QLatin1Char('\n'))))
                    ++linea;
                celda += c;
            }
            saltarBlancos();
            if (i < t.size() && t.at(i) != sep && !FinDeLinea(t.at(i))) {
                error = EnLinea(linea, QStringLiteral("después de cerrar las comillas de un campo solo puede ir "
                                                      "el separador \"%1\"").arg(sep));
                return false;
            }
            return true;
        }
        const qsizetype inicio = i;
        while (i < t.size() && t.at(i) != sep && !FinDeLinea(t.at(i))) {
            if (t.at(i) == QLatin1Char('"')) {
                error = EnLinea(linea, QStringLiteral("hay comillas en medio de un campo; un campo con comillas "
                                                      "debe ir todo entre comillas, con las de dentro dobles (\"\")"));
                return false;
            }
            ++i;
        }
        celda = t.mid(inicio, i - inicio).trimmed();
        return true;
    }

    const QString& t;
    const QChar sep;
    qsizetype i = 0;
    int linea = 1;
};

} // namespace

TablaCsv LeerCsv(const QByteArray& bytes) {
    TablaCsv r;
    if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        r.error = EnLinea(1, QStringLiteral("el fichero empieza con una marca de orden de bytes (BOM); "
                                            "guárdelo como UTF-8 sin BOM"));
        return r;
    }
    if (const int mala = LineaNoUtf8(bytes); mala > 0) {
        r.error = EnLinea(mala, QStringLiteral("el texto no está en UTF-8"));
        return r;
    }
    const QString texto = QString::fromUtf8(bytes);
    Lector lector(texto);
    QList<QStringList> filas;
    QList<int> lineas;
    if (!lector.leer(filas, lineas)) {
        r.error = lector.error;
        return r;
    }
    if (filas.isEmpty()) {
        r.error = EnLinea(1, QStringLiteral("el fichero está vacío"));
        return r;
    }
    const QStringList cabecera = filas.takeFirst();
    const int lineaCabecera = lineas.takeFirst();
    for (qsizetype c = 0; c < cabecera.size(); ++c) {
        if (cabecera.at(c).trimmed().isEmpty()) {
            r.error = EnLinea(lineaCabecera, QStringLiteral("la columna %1 de la cabecera no tiene nombre").arg(c + 1));
            return r;
        }
        for (qsizetype antes = 0; antes < c; ++antes)
            if (cabecera.at(antes).trimmed().compare(cabecera.at(c).trimmed(), Qt::CaseInsensitive) == 0) {
                r.error = EnLinea(lineaCabecera,
                                  QStringLiteral("la columna \"%1\" está repetida").arg(cabecera.at(c).trimmed()));
                return r;
            }
    }
    for (qsizetype f = 0; f < filas.size(); ++f)
        if (filas.at(f).size() != cabecera.size()) {
            r.error = EnLinea(lineas.at(f), QStringLiteral("la fila tiene %1 campos y la cabecera %2")
                                                .arg(filas.at(f).size())
                                                .arg(cabecera.size()));
            return r;
        }
    for (const QString& nombre : cabecera)
        r.cabecera << nombre.trimmed();
    r.filas = filas;
    r.lineas = lineas;
    return r;
}

int ColumnaCsv(const TablaCsv& t, const QString& nombre) {
    for (qsizetype c = 0; c < t.cabecera.size(); ++c)
        if (t.cabecera.at(c).compare(nombre, Qt::CaseInsensitive) == 0) return static_cast<int>(c);
    return -1;
}

} // namespace quoravex
