#pragma once

#include "CodificacionRaster.h"

#include <QString>

namespace quoravex {

class Design;
class Surface;
class Workspace;

// Dots darker than this (3R + 6G + B) are printed black.
constexpr int UmbralNegro = 1800;
// Darkness where no object covers a dot.
constexpr int SinObjeto = 5000;

// Raster file n (1 = common part, k + 1 = push-button k): "Salida" + two digits + ".bin".
QString NombreArchivoSalida(int n, const QString& dir);

// Darkness of the composed ticket at dot (x, y) for the current view: the covering text,
// image or line with the highest Orden decides, within its record's rectangle, white where
// its box does not reach. The per-dot reference the fast composition must equal.
int ColorEnPunto(const Design& d, const Workspace& ws, int x, int y);

// The current view as a raster, dot by dot through ColorEnPunto (slow; for checking).
RasterBits RasterPorPuntos(const Design& d, const Workspace& ws);

// The current view as a raster, composing each object's rectangle once in Orden order.
RasterBits ComponerRaster(const Design& d, const Workspace& ws);

// Writes raster file n of the current view into dir, replacing any file of that name.
// On failure no file of that name is left behind and a Spanish message is returned.
QString EscribirSalida(int n, const Design& d, const Workspace& ws, const QString& dir);

// Plots raster file n of dir onto the surface in black; false when there is no such file.
bool DibujarSalida(int n, Surface& lienzo, const QString& dir);

} // namespace quoravex
