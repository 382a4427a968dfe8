#pragma once

#include "render/DescripcionCodigo.h"

#include <QString>
#include <optional>

namespace quoravex {

class Design;
class Workspace;
struct ObjetoTicket;

// Gives image object `slot` the code: the picture becomes its working bitmap, the
// parameters its description file, and its box takes the picture's exact size. A new
// object is centred across the ticket; an existing one keeps its corner, moved left when
// the code would pass the ticket's edge. False when a file could not be written.
bool PonerCodigo(Design& d, Workspace& ws, int slot, const ParametrosCodigo& p, const QImage& imagen, bool nuevo);

// A copied code object gets its own description file beside its own bitmap.
void CopiarDescripcionCodigo(ObjetoTicket& copia);

} // namespace quoravex
