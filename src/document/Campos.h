#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace quoravex {

// Fields in fixed texts and in codes' data: "{nombre}" stands for a value given when the
// printer's files are made. A name is letters, digits, '_' and '-'; "{{" and "}}" are
// literal braces. A brace that opens no field (a lone "{", "{}", "{a b}") or a lone "}"
// is kept as it is, so that texts typed before fields existed print as they always did.
// Texts are stored as typed; only the printer's files see the values.

// The values of a design's fields, by name (names are case-sensitive).
using ValoresCampos = QMap<QString, QString>;

// A piece of a text: literal characters, or the name of a field.
struct TrozoTexto {
    QString texto;
    bool campo = false;
    bool operator==(const TrozoTexto&) const = default;
};

// The text in pieces, literal runs joined, escapes resolved.
QList<TrozoTexto> AnalizarCampos(const QString& texto);

// The field names of a text, each once, in the order they first appear.
QStringList CamposDeTexto(const QString& texto);

// Whether the text holds a brace at all: without one it is drawn exactly as typed.
bool TieneLlaves(const QString& texto);

// Whether c may be part of a field's name.
bool CaracterDeNombre(QChar c);

// A text with its fields filled in, or the name of the first field without a value (an
// empty value counts as none).
struct TextoRelleno {
    QString texto;
    QString falta; // empty when every field had a value
};
TextoRelleno RellenarCampos(const QString& texto, const ValoresCampos& valores);

// "Falta el valor del campo {nombre}".
QString MensajeFaltaCampo(const QString& nombre);

// The first character of a value that a fixed text cannot print: one outside Windows-1252
// (a surrogate pair counts as one) or a control character. Nothing when all can be printed.
std::optional<QString> CaracterNoImprimible(const QString& valor);

// The names of the fields the texts hold, each once, in order.
QStringList CamposDeTextos(const QStringList& textos);

} // namespace quoravex
