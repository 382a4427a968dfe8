#pragma once

#include "document/Design.h"

namespace quoravex {

class Workspace;

// Model operations together with what they do to the object boxes on the canvas.

// Adds an object and places its box on top of the others: light cyan (black for a line)
// at the record's geometry. Returns the slot, or 0 when the design is full.
int AgregarObjeto(Design& d, Workspace& ws, const NuevoObjeto& nuevo);

void TraerAlFrente(Design& d, Workspace& ws, int i);
void LlevarAlFondo(Design& d, Workspace& ws, int i);

// Deletes object i and parks its box off the canvas.
void BorrarObjeto(Design& d, Workspace& ws, int i);

// Stacks the boxes of the objects in use as their Orden says, the lowest rank at the bottom,
// so that the canvas shows what the raster output prints.
void ApilarSegunOrden(const Design& d, Workspace& ws);

} // namespace quoravex
