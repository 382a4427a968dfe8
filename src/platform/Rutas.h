#pragma once

#include <QString>

namespace quoravex {

// The platform's temporary-files folder, or an empty string when it is unusable.
QString RutaTemporal();

// Creates the folder with every missing parent; true when it exists afterwards.
bool CrearDirectorio(const QString& ruta);

// The executable's folder, ending in the separator.
QString DirectorioPrograma();

// Where designs are kept at start: the program's folder, or the user's documents
// folder when the program's folder cannot be written (an installed program).
QString DirectorioTicketsInicial(const QString& dirPrograma);

// The user's own folder for the designer's working files.
QString CarpetaTrabajoUsuario();

// Makes the folder (with its parents) the current one, where the raster, font and picture
// files go; false when it cannot be made or entered.
bool UsarCarpetaTrabajo(const QString& carpeta);

// A folder path with the separator at its end.
QString ConSeparador(const QString& ruta);

} // namespace quoravex
