#pragma once

#include "ObjetoTicket.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace quoravex {

// The clipboard format of the designer, so that objects travel between designs and between
// two designers running at once.
inline const QString TipoMimeObjetos = QStringLiteral("application/x-quoravex-objetos");

// One object as it travels: its record as the design file stores it, and the bytes of the
// files it needs (a picture's working bitmap, a code's description).
struct ObjetoCopiado {
    ObjetoTicket registro;
    QByteArray bitmap;      // empty: none (not a picture, or its bitmap was missing)
    QByteArray descripcion; // empty: not a code
};

// Bytes: "QVXOBJ", version (16-bit little-endian, 1), count (16-bit), then for each object
// its 452-byte record, the bitmap's length (32-bit) and bytes, the description's length and
// bytes.
QByteArray CodificarObjetos(const QList<ObjetoCopiado>& objetos);

// The objects in the bytes, checked as strictly as a design file being opened: a wrong
// header or version, a count above 50, lengths beyond the limits or past the end, or bytes
// left over refuse the whole; records are made safe as a loaded file's are, and records no
// kind can draw are left out. `error` says why nothing could be read, in Spanish.
struct ObjetosLeidos {
    QList<ObjetoCopiado> objetos;
    QString error;    // empty when the bytes were read
    bool corregidos = false; // some value was out of range and was corrected
};
ObjetosLeidos DecodificarObjetos(QByteArrayView datos);

// Largest bitmap and description a clipboard entry may carry.
constexpr qsizetype MaxBytesBitmap = 4 * 1024 * 1024;
constexpr qsizetype MaxBytesDescripcion = 64 * 1024;

} // namespace quoravex
