#pragma once

#include "CodigoBarras.h"

#include "document/Campos.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <map>

namespace quoravex {

class Design;

// A fixed text or a code with its fields filled in: what is drawn instead of what was
// typed, and the box it is drawn in.
struct ObjetoRelleno {
    QString texto; // fixed texts
    QImage codigo; // codes: the symbol made from the filled data, one dot per pixel
    QRect caja;    // the record's new geometry
};

// A design's fields filled with one set of values. Objects without braces are not in it:
// they are drawn exactly as before.
struct Relleno {
    std::map<int, ObjetoRelleno> objetos; // by slot
    QStringList avisos;                   // objects cut at the ticket's edge
    QString error;                        // the first value missing or refused; then nothing else holds
    bool vacio() const { return objetos.empty(); }
};

// The names of the fields in the design's fixed texts and codes, each once, in slot order.
QStringList CamposDelDiseno(const Design& d, const QString& dirDiseno);

// Fills every fixed text and code of the design that holds a brace. A field without a
// value gives "Falta el valor del campo {nombre}"; a value with a character a text cannot
// print, or that makes a code invalid, is refused naming the field or the code's reason.
// Each filled object is measured with its own font and style and placed by ColocarRelleno.
Relleno RellenarDiseno(const Design& d, const ValoresCampos& valores, const QString& dirDiseno);

// Where a filled object goes across the ticket: its left edge is kept, except that an
// object whose centre lay within one dot of the ticket's centre is centred again; what
// passes the ticket's right edge is cut there.
struct Colocacion {
    int left = 0;
    int width = 0;
    bool cortado = false;
    bool operator==(const Colocacion&) const = default;
};
Colocacion ColocarRelleno(int left, int anchoTecleado, int anchoRelleno);

// The design as it is printed with the filled objects' boxes: the same records otherwise.
void AplicarRelleno(Design& d, const Relleno& r);

// The picture a code shows while it is designed: made from its data as typed; when that
// cannot be encoded and the data holds fields (an EAN-13 of "841234{art}"), with each field
// standing for zeros, as many as make an EAN-13 of twelve digits.
CodigoGenerado CodigoDeMuestra(const ParametrosCodigo& p);

} // namespace quoravex
