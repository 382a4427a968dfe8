#pragma once

#include "Design.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace quoravex {

inline const QString MensajeVersionIncompatible = QStringLiteral("Fichero de Version incompatible");

// What a file command did, and what to tell the user (Spanish). A message may come
// with success too, for example when a damaged file was loaded in part.
struct ResultadoArchivo {
    bool correcto = false;
    QString mensaje;
};

// The bytes of the design file: the header, then each object in use whose membership
// meets the design mask (any object when NumPulsadores is 0) at the position of its Orden. A position with no
// such object is 452 zero bytes, and the file ends after the last object written. Empty when the design has
// no objects.
QByteArray CodificarDiseno(const Design& d);

// "Guardar": writes the design to ArchivoTicket. The new file replaces the old one only
// once it is complete, so a failed save leaves the old file as it was, the design in
// memory and TicketModificado set. A design without objects writes nothing, says so,
// and counts as saved.
ResultadoArchivo GuardarDiseno(Design& d);

// "Guardar Como...": saves under the chosen path with the extension forced to ".tck",
// which becomes ArchivoTicket when the save succeeds. A blank path does nothing.
ResultadoArchivo GuardarDisenoComo(Design& d, const QString& rutaElegida);

// Forces the ".tck" extension on the file name: everything after its first "." becomes
// "tck", or ".tck" is appended. Dots in folder names are left alone.
QString RutaConExtensionTck(const QString& ruta);

// Replaces the design with the one in the bytes of a design file; the bytes past the
// 51st record are not needed. Only a file that passes the version check changes the
// design: its settings come from the header, its objects go into the slots of their
// record positions with Orden renumbered 1..NumObjetos in that order (an all-zero
// record is a free slot and is not counted), damaged values are made safe
// (SaneoRegistro.h), objects past the fiftieth are left out with a message, the view
// returns to the common part and TicketModificado is cleared.
ResultadoArchivo CargarDiseno(Design& d, QByteArrayView datos);

// "Abrir...": loads the file at ruta, which becomes ArchivoTicket when it loads. A
// file that cannot be read or fails the version check leaves the design and
// ArchivoTicket as they were, so a later "Guardar" cannot overwrite it.
ResultadoArchivo AbrirDiseno(Design& d, const QString& ruta);

} // namespace quoravex
