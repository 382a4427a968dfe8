#pragma once

#include "Argumentos.h"

#include <QString>
#include <QStringList>

namespace quoravex::cli {

// A list of ports as --ports-from reads it and --failed-to writes it: one port a line,
// '#' starts a comment, spaces around a port and blank lines do not count.
QStringList LeerListaPuertos(const QString& texto);
QString TextoListaPuertos(const QStringList& puertos);

// The ports a command names: every --port, then every line of every --ports-from file,
// each port once, in the order first named.
struct PuertosPedidos {
    QStringList puertos;
    QString error; // a file that could not be read, in Spanish; empty when none
};
PuertosPedidos PuertosDeArgumentos(const Argumentos& a);

// Writes the list to the file in one step: the old file stays whole until the new one is
// complete. An empty string or the Spanish message.
QString GuardarListaPuertos(const QString& ruta, const QStringList& puertos);

} // namespace quoravex::cli
