#pragma once

#include "Argumentos.h"

#include "document/Campos.h"

#include <QString>
#include <QStringList>

namespace quoravex::cli {

// A list of ports as --ports-from reads it and --failed-to writes it: one port a line (lines
// end in LF, CRLF or a lone CR), '#' starts a comment, spaces around a port and blank lines do
// not count.
QStringList LeerListaPuertos(const QString& texto);
QString TextoListaPuertos(const QStringList& puertos);

// A fleet's table: a CSV file (LeerCsv) whose header has a column "puerto" and one column
// per field; each row is one printer and its values.
struct TablaFlota {
    QStringList puertos;
    QList<ValoresCampos> valores; // each row's cells by column name, "puerto" aside
    QList<int> lineas;            // where each row starts
    QStringList columnas;         // the columns other than "puerto", in order
    QString error;                // "línea N: ..." in Spanish; empty when the table is good
};
TablaFlota LeerTablaFlota(const QByteArray& bytes);

// Whether a --ports-from file is a fleet's table rather than a plain list: its name ends in
// ".csv", or its first line starts with the column "puerto" (or a byte-order mark or a quote).
bool EsTablaFlota(const QString& ruta, const QByteArray& bytes);

// The ports a command names: every --port, then every line of every --ports-from file,
// each port once, in the order first named; a device named again through a link is left
// out with a warning. A fleet's table is read as a whole: any fault in it is the error.
struct PuertosPedidos {
    QStringList puertos;
    QStringList avisos;
    QString error; // a file that could not be read or holds no port, in Spanish; empty when none
    // The values of each port's row in a fleet's table; empty for ports named otherwise.
    QList<ValoresCampos> valores;
    // The first field column's value of each port's row, and that column's name, to tell the
    // printers apart in the results; empty without a table.
    QStringList etiquetas;
    QString tituloEtiqueta;
    QStringList columnas; // every field column of the tables
    bool conTabla = false;
};
PuertosPedidos PuertosDeArgumentos(const Argumentos& a);

// Writes the list to the file as EscribirDestino does. An empty string or the Spanish message.
QString GuardarListaPuertos(const QString& ruta, const QStringList& puertos);

} // namespace quoravex::cli
