#include "Campos.h"

#include "Texto1252.h"

namespace quoravex {

namespace {

void agregarLiteral(QList<TrozoTexto>& trozos, const QString& s) {
    if (s.isEmpty()) return;
    if (!trozos.isEmpty() && !trozos.last().campo)
        trozos.last().texto += s;
    else
        trozos.append({s, false});
}

} // namespace

bool CaracterDeNombre(QChar c) {
    return c.isLetter() || c.isDigit() || c == QLatin1Char('_') || c == QLatin1Char('-');
}

QList<TrozoTexto> AnalizarCampos(const QString& texto) {
    QList<TrozoTexto> trozos;
    const qsizetype n = texto.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = texto.at(i);
        const bool doble = i + 1 < n && texto.at(i + 1) == c;
        if ((c == QLatin1Char('{') || c == QLatin1Char('}')) && doble) {
            agregarLiteral(trozos, QString(c));
            i += 2;
            continue;
        }
        if (c == QLatin1Char('{')) {
            qsizetype fin = i + 1;
            while (fin < n && CaracterDeNombre(texto.at(fin)))
                ++fin;
            if (fin > i + 1 && fin < n && texto.at(fin) == QLatin1Char('}')) {
                trozos.append({texto.mid(i + 1, fin - i - 1), true});
                i = fin + 1;
                continue;
            }
        }
        agregarLiteral(trozos, QString(c));
        ++i;
    }
    return trozos;
}

QStringList CamposDeTexto(const QString& texto) {
    QStringList nombres;
    for (const TrozoTexto& t : AnalizarCampos(texto))
        if (t.campo && !nombres.contains(t.texto)) nombres << t.texto;
    return nombres;
}

QStringList CamposDeTextos(const QStringList& textos) {
    QStringList nombres;
    for (const QString& texto : textos)
        for (const QString& nombre : CamposDeTexto(texto))
            if (!nombres.contains(nombre)) nombres << nombre;
    return nombres;
}

bool TieneLlaves(const QString& texto) {
    return texto.contains(QLatin1Char('{')) || texto.contains(QLatin1Char('}'));
}

TextoRelleno RellenarCampos(const QString& texto, const ValoresCampos& valores) {
    TextoRelleno r;
    for (const TrozoTexto& t : AnalizarCampos(texto)) {
        if (!t.campo) {
            r.texto += t.texto;
            continue;
        }
        const auto valor = valores.constFind(t.texto);
        // An empty cell is as good as none: a forgotten value must not print a blank.
        if (valor == valores.constEnd() || valor->isEmpty()) {
            if (r.falta.isEmpty()) r.falta = t.texto;
            continue;
        }
        r.texto += *valor;
    }
    return r;
}

QString MensajeFaltaCampo(const QString& nombre) {
    return QStringLiteral("Falta el valor del campo {%1}").arg(nombre);
}

std::optional<QString> CaracterNoImprimible(const QString& valor) {
    for (qsizetype i = 0; i < valor.size(); ++i) {
        const QChar c = valor.at(i);
        const bool par = c.isHighSurrogate() && i + 1 < valor.size() && valor.at(i + 1).isLowSurrogate();
        const QString caracter = valor.mid(i, par ? 2 : 1);
        if (c.isSurrogate() || c.category() == QChar::Other_Control ||
            (c != QLatin1Char('?') && Codificar1252(caracter) == "?"))
            return caracter;
        if (par) ++i;
    }
    return std::nullopt;
}

} // namespace quoravex
