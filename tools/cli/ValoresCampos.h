#pragma once

#include "Argumentos.h"

#include "document/Campos.h"

namespace quoravex::cli {

// The values a command was given for the design's fields: the one row of the --valores
// file (a header of field names, a "puerto" column being left aside), then every
// --valor NOMBRE=VALOR, a later one replacing an earlier one of the same name.
struct ValoresPedidos {
    ValoresCampos valores;
    QString error; // in Spanish; empty when every value was understood
    bool uso = false; // the error is a misuse of the command line (exit status 2)
};
ValoresPedidos ValoresDeArgumentos(const Argumentos& a);

// The options that take them, and their lines of help.
QStringList OpcionesValores();
QString AyudaValores();

} // namespace quoravex::cli
