#pragma once

#include "document/Campos.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quoravex {

// A ready design that "Nuevo desde Plantilla..." offers.
struct Plantilla {
    QString nombre;        // as shown: "Clínica", "Farmacia", "Oficina"
    QString ruta;          // its design file
    ValoresCampos muestra; // example values, from the CSV file of the same name beside it
};

// Where templates are looked for: share/quoravex/plantillas beside the installed program's
// bin folder, then a folder "plantillas" beside the executable (the build folder).
QStringList CarpetasPlantillas(const QString& dirPrograma);

// The templates of the first of those folders that holds any, by name.
QList<Plantilla> BuscarPlantillas(const QStringList& carpetas);

} // namespace quoravex
