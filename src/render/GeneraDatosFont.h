#pragma once

#include "ExploracionFuente.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace quoravex {

class Design;
class Surface;
struct ObjetoTicket;

// The variable fields whose fonts the printer downloads.
enum class CampoVariable { Turno, Fecha, Hora };

struct DescripcionCampo {
    int16_t Tipo;
    const char* Caracteres; // the characters the field can show, in file order
    uint8_t BytesCuenta;    // count byte of the file header, as the printer reads it
    const char* Archivo;    // file name in the output folder
    const char* Nombre;     // the field in messages
};
const DescripcionCampo& Descripcion(CampoVariable campo);

// What the printer takes: cells up to 392 pixels wide (50 bytes a row), up to 10,001
// bytes of segments per character, and up to 95 data bytes in one transfer block.
constexpr int AnchoCeldaMaximo = 392;
constexpr int BytesCaracterMaximo = 10001;
constexpr int BytesSegmentoMaximo = 95;

enum class LimiteFuente { Dentro, Ancho, Bytes, Segmento };
// Which bound, if any, one character's cell width or segments pass.
LimiteFuente RevisarLimites(int anchoCelda, const QByteArray& celda);

// The first eight bytes of a font file: x and y of the field in sign and magnitude,
// the height, the format and the count byte. Nothing when x or y has a magnitude of
// 32,768 or more, or the height is outside 0..32767.
std::optional<QByteArray> CabeceraFuente(const ObjetoTicket& objeto, uint8_t bytesCuenta);

// The font file of a field object, or the Spanish message that says why it cannot be made.
struct DatosFuente {
    QByteArray bytes;
    QString error; // empty when bytes hold the file
};
DatosFuente GenerarFuente(const ObjetoTicket& objeto, CampoVariable campo, Surface& picWork3);

// The slot of the design's field of that kind whose font goes to the printer (the
// highest one in use), or 0 when the design has none.
int SlotCampo(const Design& diseno, CampoVariable campo);

// Path of the kind's font file in a folder ("." is the current directory).
QString ArchivoFuente(CampoVariable campo, const QString& carpeta = QStringLiteral("."));

struct ResultadoFuente {
    bool ok = true;       // false: refused or not written, and message says why
    bool escrito = false; // a file was written; a design without the field leaves none
    QString mensaje;
};

// Deletes the kind's font file in the folder and writes it again from the design's
// field, if it has one. A refused font or a failed write leaves no file.
ResultadoFuente GenerarArchivoFuente(const Design& diseno, CampoVariable campo, Surface& picWork3,
                                     const QString& carpeta = QStringLiteral("."));

inline ResultadoFuente PBFontTurno(const Design& d, Surface& picWork3,
                                   const QString& carpeta = QStringLiteral(".")) {
    return GenerarArchivoFuente(d, CampoVariable::Turno, picWork3, carpeta);
}
inline ResultadoFuente PBFontFecha(const Design& d, Surface& picWork3,
                                   const QString& carpeta = QStringLiteral(".")) {
    return GenerarArchivoFuente(d, CampoVariable::Fecha, picWork3, carpeta);
}
inline ResultadoFuente PBFontHora(const Design& d, Surface& picWork3,
                                  const QString& carpeta = QStringLiteral(".")) {
    return GenerarArchivoFuente(d, CampoVariable::Hora, picWork3, carpeta);
}

} // namespace quoravex
