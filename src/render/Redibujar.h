#pragma once

#include "Color.h"

#include <QString>

namespace quoravex {

class Design;
class Workspace;
struct Relleno;

// Draws the design on the canvas for the current view. Every box in slots
// 1..IdxObjMasAlto is parked, then each object in use is drawn in slot order.
// Nothing happens when the design has no objects. With a relleno, the fixed texts and codes
// it holds are drawn filled in (the design should carry its boxes: AplicarRelleno).
void RedibujarTicket(Design& d, Workspace& ws, const QString& dirDiseno = QString(),
                     const Relleno* relleno = nullptr);

// Draws object i into its box for the current view (black, grey for the common part seen
// from a push-button view, or left parked) and makes it the current object.
void DibujarObjeto(Design& d, Workspace& ws, int i, const QString& dirDiseno = QString());

// Every pixel of the box of object i that is not white takes the colour.
void ColorearImagen(Workspace& ws, int i, Color colorDibujo);

} // namespace quoravex
