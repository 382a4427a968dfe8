#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace quoravex {

// Text fields of design files are stored in Windows-1252, one byte per character.

// True when the platform's converter for Windows-1252 is available. Without it the
// upper half falls back to Latin-1, which differs only in bytes 0x80..0x9F.
bool Codificacion1252Disponible();

// One byte per character; a character Windows-1252 cannot represent (a surrogate
// pair counts as one character) becomes "?".
QByteArray Codificar1252(const QString& texto);

// One character per byte. Every byte value maps to a character, and the five bytes
// the code page leaves undefined map to the control characters U+0081.. so that
// they are written back unchanged.
QString Decodificar1252(QByteArrayView bytes);

} // namespace quoravex
