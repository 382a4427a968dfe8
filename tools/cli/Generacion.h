#pragma once

#include "Consola.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace quoravex {
class Design;
}

namespace quoravex::cli {

// What generating from a design file gave.
struct Generacion {
    QString error;      // empty on success; the Spanish message of the failure
    QStringList avisos; // what loading the design had to say (damaged values and the like)
    int16_t LargoTicket = 0;
    int16_t NumPulsadores = 0;
};

// Loads the design file into d as "Abrir..." does: the failure, or the loading's warnings
// and the design's length and push-buttons.
Generacion CargarDesdeFichero(Design& d, const QString& rutaDiseno);

// The folder where the design's pictures are looked for after their stored path.
QString DirDiseno(const QString& rutaDiseno);

// Loads the design file as "Abrir..." does, draws it, and writes into dir what "Enviar a
// Impresora" writes before its transfer window opens: every raster file and the turn, date
// and time font files. Pictures are looked for as stored, then in the design file's folder,
// then in the current directory. dir is created when the design has loaded.
Generacion GenerarDesdeDiseno(const QString& rutaDiseno, const QString& dir);

// Writes the generation's warnings and failure on the console's error stream; the exit code.
int InformarGeneracion(const Generacion& g, Consola& consola);

// Creates the folder with its missing parents; an empty string or the Spanish message.
QString PrepararCarpeta(const QString& dir);

} // namespace quoravex::cli
