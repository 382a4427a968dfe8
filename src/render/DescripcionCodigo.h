#pragma once

#include "CodigoBarras.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quoravex {

class Design;
struct ObjetoTicket;

// A code is an ordinary picture object whose working bitmap is the symbol, drawn one
// printer dot per pixel. What made it is kept in a description file beside the bitmap,
// named after it with ".codigo", and ImagenOrigen names that file: a design opened where
// the file is missing still prints the picture, it just cannot be edited as a code.
QString RutaDescripcionCodigo(const QString& rutaBitmap);
bool EsDescripcionCodigo(const QString& ruta);

// The code of image object o, when ImagenOrigen names a description file that is found
// (as stored, beside the design, or in the current folder) and reads.
std::optional<ParametrosCodigo> LeerCodigoObjeto(const ObjetoTicket& o, const QString& dirDiseno = {});

// The picture paths, as the records name them, that are found nowhere.
QStringList ImagenesQueFaltan(const Design& d, const QString& dirDiseno);
// What the designer and the command line say of those pictures; empty when none is missing.
QString AvisoImagenesQueFaltan(const QStringList& faltan);

} // namespace quoravex
