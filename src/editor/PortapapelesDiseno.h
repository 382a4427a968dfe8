#pragma once

#include "document/Portapapeles.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

namespace quoravex {

class Design;
class Workspace;

// The selected objects as they travel on the clipboard, in stacking order (bottom first),
// with the bytes of their working bitmaps and code descriptions.
QList<ObjetoCopiado> ObjetosParaCopiar(const Design& d, const QList<int>& lista, const QString& dirDiseno);

// The selected objects as they print, in black and white, cut to their bounding box; for
// other programs.
QImage ImagenDeObjetos(const Design& d, const Workspace& ws, const QList<int>& lista);

struct Pegado {
    QList<int> nuevos;    // the new objects, in the order pasted
    QStringList avisos;  // what was left out or changed
    QString error;       // nothing was pasted, and why
};

// Adds the objects to the design in free slots, on top of the others, each picture with a
// working bitmap of its own (and a code with its description), in the current view. When
// they would land exactly on objects already there, they move 8 dots right and down, as
// often as needed. A design holds one field of each variable kind: another is left out.
// More objects than free slots paste nothing. The caller redraws.
Pegado PegarObjetos(Design& d, Workspace& ws, const QList<ObjetoCopiado>& objetos);

// A picture copied in another program becomes a picture object, converted as the image
// dialog converts a new picture with its defaults, one dot per pixel; wider than the ticket
// it is scaled down to 384 dots and a warning says so. `carpeta` keeps the original picture.
Pegado PegarImagen(Design& d, Workspace& ws, const QImage& imagen, const QString& carpeta);

} // namespace quoravex
