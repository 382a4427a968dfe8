#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace quoravex {

// A table read from a CSV file: UTF-8 without a byte-order mark, cells separated by commas
// or by semicolons (whichever the header uses first), quoted cells as in RFC 4180 ("" is a
// quote inside quotes; quotes may hold separators and line breaks). Lines end in LF, CRLF or
// a lone CR; blank lines do not count. Unquoted cells lose the spaces around them.
struct TablaCsv {
    QStringList cabecera;
    QList<QStringList> filas; // every row has as many cells as the header
    QList<int> lineas;        // the line each row starts on, counted from 1
    // What is wrong, "línea N: ..." in Spanish; empty when the table was read. A table with
    // an error is refused as a whole: then cabecera and filas are empty.
    QString error;
};

TablaCsv LeerCsv(const QByteArray& bytes);

// The column of that name, letter case aside; -1 when there is none.
int ColumnaCsv(const TablaCsv& t, const QString& nombre);

} // namespace quoravex
