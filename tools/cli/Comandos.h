#pragma once

#include "Consola.h"

namespace quoravex::cli {

Comando ComandoGenerate();
Comando ComandoInfo();
Comando ComandoPreview();
Comando ComandoSend();
Comando ComandoClock();
Comando ComandoCodigo();
Comando ComandoPuertos();

// Every command, in the order the general help lists them. A new command is one more entry.
const QList<Comando>& Comandos();

// The general help: usage and the list of commands.
QString AyudaGeneral();

// Runs the command line (without the program's name) and returns the exit code.
int EjecutarCli(const QStringList& palabras, Consola& consola);

} // namespace quoravex::cli
