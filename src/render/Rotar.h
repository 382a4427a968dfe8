#pragma once

#include <QImage>

namespace quoravex {

class Design;
class Workspace;

// Turns of a pixel block, by where pixel (X, Y) of a w x h block goes.
enum ModoRotacion : int {
    RotarHorario = 0,     // (h - 1 - Y, X)
    RotarMediaVuelta = 1, // (w - 1 - X, h - 1 - Y)
    RotarAntihorario = 2, // (Y, w - 1 - X)
};

// Turns the block (x, y, w, h) of the image in place, pixel bytes as stored, whatever
// the image's pixel format. Returns false and leaves the image untouched for an unknown
// mode, a block that is empty or not inside the image, or a quarter turn of a block
// that is not square.
bool RotarBitmap(QImage& imagen, int modo, int x, int y, int w, int h);

// Turns the current object's box a quarter turn clockwise on the canvas: the box keeps
// its place and takes the turned size (height x width). The object's record and working
// bitmap do not change, so the next redraw shows the object unturned; the design is
// marked modified. False when there is no current object.
bool PBRotar(Design& diseno, Workspace& ws);

} // namespace quoravex
