#pragma once

#include "Consola.h"

#include "document/Campos.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace quoravex {
class Design;
class Workspace;
struct Relleno;
} // namespace quoravex

namespace quoravex::cli {

// What generating from a design file gave.
struct Generacion {
    QString error;      // empty on success; the Spanish message of the failure
    QStringList avisos; // what loading the design had to say (damaged values and the like)
    int16_t LargoTicket = 0;
    int16_t NumPulsadores = 0;
};

// What a command was told about the design's fields and pictures.
struct OpcionesGeneracion {
    ValoresCampos valores;
    bool imagenesAusentes = false; // --imagenes-ausentes: missing pictures are named, not fatal
};

// Loads the design file into d as "Abrir..." does: the failure, or the loading's warnings
// and the design's length and push-buttons.
Generacion CargarDesdeFichero(Design& d, const QString& rutaDiseno);

// The folder where the design's pictures are looked for after their stored path.
QString DirDiseno(const QString& rutaDiseno);

// The design's pictures that are found nowhere, named as the designer names them on
// opening; empty when every one is found.
QString AvisoImagenesAusentes(const Design& d, const QString& dirDiseno);
// Adds that message to g's warnings and, unless the options let the command go on without
// them, makes it g's failure; false when the command must stop.
bool ComprobarImagenes(const Design& d, const QString& dirDiseno, const OpcionesGeneracion& o, Generacion& g);

// A warning for every value given that no field of the design uses: a --valor (or --valores
// column) when `columna` is false, a column of a fleet's table when it is true.
QStringList AvisosValoresSinUso(const QStringList& campos, const QStringList& nombres, bool columna);

// Loads the design file as "Abrir..." does, draws it with the given values, and writes into
// dir what "Enviar a Impresora" writes before its transfer window opens: every raster file
// and the turn, date and time font files. Pictures are looked for as stored, then in the
// design file's folder, then in the current directory; missing ones stop it unless the
// options allow them, and a field without a value stops it. dir is created only when
// everything is ready to be written.
Generacion GenerarDesdeDiseno(const QString& rutaDiseno, const QString& dir, const OpcionesGeneracion& o = {});

// Writes the printer's files of a loaded design with its fields filled as r says.
QString GenerarConRelleno(Design& d, Workspace& ws, const QString& dirDiseno, const Relleno& r, const QString& dir);

// Writes the generation's warnings and failure on the console's error stream; the exit code.
int InformarGeneracion(const Generacion& g, Consola& consola);

// Creates the folder with its missing parents; an empty string or the Spanish message.
QString PrepararCarpeta(const QString& dir);

} // namespace quoravex::cli
