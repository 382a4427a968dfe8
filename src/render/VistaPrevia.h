#pragma once

#include "GeneraDatosFont.h"
#include "LecturaFuente.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

namespace quoravex {

class Design;
struct Relleno;

// The value a variable field shows in a preview, as wide as its format allows:
// turn "12", "123", "1234" or "A1", "A12", "A123"; date "31/12/09", "12/31/09",
// "31/12/2009", "12/31/2009"; time "23:59", "11:59 pm", "23:59:59", "11:59:59 pm",
// "23.59", "23.59.59". An unknown format shows the field's first one.
QString MuestraCampo(CampoVariable campo, uint8_t formato);

// Draws a value with a font read back from its file, in black, clipped to the image. The
// pen starts at the field's x; each character's cell goes with its column 0 at the pen and
// its row 0 at the field's y, and the pen moves on by the character's advance. A character
// the font does not hold (the space before "pm", the dots of formats 5 and 6) is left blank,
// as wide as the font's ":", whose width a space or a dot is close to in common faces.
void DibujarCampo(QImage& imagen, const FuenteLeida& fuente, const QString& valor);

// Plots the black dots of a raster file onto the image, clipped to it.
void DibujarRaster(QImage& imagen, const QByteArray& datos);

struct VistaPreviaTicket {
    QImage imagen;      // 384 x (LargoTicket + 1), white paper and black ink
    QStringList avisos; // missing or damaged files, in Spanish
};

// The ticket of variant n as the printer prints it from the files in dir: raster file 00,
// plus raster file n for push-button n (n = 0 is the common part alone), and every variable
// field whose font file is there, with its sample value at the place its header gives.
VistaPreviaTicket VistaPrevia(int n, int largoTicket, const QString& dir);

// Every ticket of a design as the printer prints it.
struct VistasDiseno {
    QList<VistaPreviaTicket> tickets; // the common part, then push-buttons 1..NumPulsadores
    QString error;                    // empty on success; then tickets is empty
};

// Draws a copy of the design on a workspace of its own, writes the printer files as "Enviar a
// Impresora" does into a temporary folder and reads every ticket back from them. Pictures are
// looked for as stored, then in dirDiseno. The design itself is left untouched. With a
// relleno, its fixed texts and codes are drawn filled in (RellenarDiseno).
VistasDiseno VistasPreviasDiseno(const Design& d, const QString& dirDiseno, const Relleno* relleno = nullptr);

// File name of the picture of ticket n: "ticket-comun.png" for the common part (0),
// "ticket-pulsador-01.png" .. for push-buttons 1 ..
QString NombreVistaPrevia(int variante);

} // namespace quoravex
