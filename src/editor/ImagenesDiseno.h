#pragma once

#include "render/DescripcionCodigo.h"

#include <QString>
#include <QStringList>
#include <map>
#include <tuple>
#include <vector>

namespace quoravex {

class Design;

// What carrying a design's pictures into its folder did, so that a save that fails can take
// it all back.
struct CopiaImagenes {
    QStringList fallidas;                      // pictures that could not be copied, as the records name them
    QStringList creados;                       // files made in the folder that were not there before
    std::map<QString, QString> rutas;          // record path before -> after
    std::vector<std::tuple<int, QString, QString>> anteriores; // slot, ImagenTrabajo, ImagenOrigen before

    // The records name the pictures as before, and the files made are gone.
    void deshacer(Design& d) const;
};

// A design travels with its pictures: each picture object's working bitmap (and a code's
// description file) is copied into `carpeta`, the design file's folder, when it is not there
// yet, and the record names the copy. Pictures are found as the records name them, else
// beside the design in `dirDiseno`, else in the current folder. A file of the same name and
// other content in the folder (another design's picture or code) is never replaced: the copy
// takes another name.
CopiaImagenes LlevarImagenesAlDiseno(Design& d, const QString& carpeta, const QString& dirDiseno);

} // namespace quoravex
