#pragma once

#include "Consola.h"

namespace quoravex::cli {

Comando ComandoGenerate();
Comando ComandoInfo();
Comando ComandoPreview();
Comando ComandoSend();
Comando ComandoClock();

// File name of the preview of variant n: "ticket-comun.png" for the common part (0),
// "ticket-pulsador-01.png" .. for push-buttons 1 ..
QString NombreVistaPrevia(int variante);

// Every command, in the order the general help lists them. A new command is one more entry.
const QList<Comando>& Comandos();

// The general help: usage and the list of commands.
QString AyudaGeneral();

// Runs the command line (without the program's name) and returns the exit code.
int EjecutarCli(const QStringList& palabras, Consola& consola);

} // namespace quoravex::cli
