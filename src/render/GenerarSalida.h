#pragma once

#include <QString>
#include <functional>

namespace quoravex {

class Design;
class Workspace;
struct Relleno;

// Writes every raster file of the design: the common part, then each push-button, each
// view redrawn before it is rasterised; the user's view is drawn again at the end.
// entreVistas runs after each redraw (the window lets its event loop run there).
// Returns an empty string or the message of the first failure; salidaActual gets the
// number of the last file written. With a relleno that is not empty, the views are drawn
// from a copy of the design with its fixed texts and codes filled in; d is not changed.
QString GenerarSalida(Design& d, Workspace& ws, const QString& dir, const QString& dirDiseno,
                      int* salidaActual = nullptr, const std::function<void()>& entreVistas = {},
                      const Relleno* relleno = nullptr);

// What "Enviar a Impresora" writes before its transfer window opens: every raster file
// (GenerarSalida), then the turn, date and time font files, in that order, all in dir.
// Stops at the first failure and returns its message; empty on success.
QString GenerarDatosImpresora(Design& d, Workspace& ws, const QString& dir, const QString& dirDiseno,
                              const std::function<void()>& entreVistas = {}, const Relleno* relleno = nullptr);

} // namespace quoravex
