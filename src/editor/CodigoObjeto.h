#pragma once

#include "render/CodigoBarras.h"

#include <QString>
#include <optional>

namespace quoravex {

class Design;
class Workspace;
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

// Gives image object `slot` the code: the picture becomes its working bitmap, the
// parameters its description file, and its box takes the picture's exact size. A new
// object is centred across the ticket; an existing one keeps its corner, moved left when
// the code would pass the ticket's edge. False when a file could not be written.
bool PonerCodigo(Design& d, Workspace& ws, int slot, const ParametrosCodigo& p, const QImage& imagen, bool nuevo);

// A copied code object gets its own description file beside its own bitmap.
void CopiarDescripcionCodigo(ObjetoTicket& copia);

} // namespace quoravex
