#pragma once

#include "Argumentos.h"

#include <QList>
#include <QString>
#include <QTextStream>
#include <functional>

namespace quoravex::cli {

// Where a command writes: results on out, messages on err.
struct Consola {
    QTextStream& out;
    QTextStream& err;
};

enum CodigoSalida : int {
    SalidaCorrecta = 0,
    SalidaFallo = 1, // the command could not do its work
    SalidaUso = 2,   // the command line was not understood
};

// One command of the program: its name, a one-line summary for the general help, its own
// help, the options that take a value, what it does, and the options without a value.
struct Comando {
    QString nombre;
    QString resumen;
    QString ayuda;
    QStringList conValor;
    std::function<int(const Argumentos&, Consola&)> ejecutar;
    QStringList sinValor = {};
};

} // namespace quoravex::cli
