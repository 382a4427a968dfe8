#pragma once

#include "Argumentos.h"

#include <QString>
#include <QStringList>

namespace quoravex::cli {

// A list of ports as --ports-from reads it and --failed-to writes it: one port a line (lines
// end in LF, CRLF or a lone CR), '#' starts a comment, spaces around a port and blank lines do
// not count.
QStringList LeerListaPuertos(const QString& texto);
QString TextoListaPuertos(const QStringList& puertos);

// The ports a command names: every --port, then every line of every --ports-from file,
// each port once, in the order first named; a device named again through a link is left
// out with a warning.
struct PuertosPedidos {
    QStringList puertos;
    QStringList avisos;
    QString error; // a file that could not be read or holds no port, in Spanish; empty when none
};
PuertosPedidos PuertosDeArgumentos(const Argumentos& a);

// Writes the list to the file as EscribirDestino does. An empty string or the Spanish message.
QString GuardarListaPuertos(const QString& ruta, const QStringList& puertos);

} // namespace quoravex::cli
