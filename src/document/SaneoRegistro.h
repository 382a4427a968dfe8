#pragma once

#include "ObjetoTicket.h"
#include "RecordCodec.h"

#include <cstdint>

namespace quoravex {

// Ranges a record read from a file is held to, so that a damaged or hostile file can
// neither crash the program nor make it allocate without bound. Values inside them
// are kept as they are, so every design the editor can make loads unchanged.

// Box and text geometry. A box becomes a drawing surface, so its size must be bounded;
// text boxes wider than the ticket are measured again when drawn.
constexpr int32_t LimiteAncho = 2048;
constexpr int32_t LimiteAlto = 1024; // twice the longest ticket
constexpr int16_t MinFontSize = 1;   // a size of 0 cannot be drawn
constexpr int16_t MaxFontSize = 180; // the font chooser's range
constexpr int16_t MaxGrosor = 10;
constexpr int16_t MaxAnchoImagen = 384; // the image dialog's range: the printable width
constexpr int16_t LargoPorDefecto = 500;

enum class Saneo { Intacto, Corregido, Descartado };

// Brings an object record that is in use into the ranges above:
// - Tipo outside 1..6: Descartado, nothing could draw it;
// - EnUso becomes -1 and Pendiente 0 (a loaded object is confirmed; left pending, a
//   cancelled edit would delete it);
// - Top, CurrentY within +-LimiteAlto; Left, CurrentX within +-LimiteAncho;
//   Width, TextWidth within 0..LimiteAncho; Height, TextHeight within 0..LimiteAlto;
// - FontSize within 1..180; FontStyle outside 0..3 becomes 0 (regular);
// - images: AnchoImagen within 0..384; lines: Grosor within 1..10;
// - a variable field with an unknown Formato takes the code whose sample is its Texto,
//   or the first code of its kind;
// - the header-only fields Version, marker, Longitud and NumPulsadores become 0.
// Orden is not looked at: the loader derives it from the record's position.
Saneo SanearObjeto(ObjetoTicket& o);

struct AjustesCabecera {
    int16_t LargoTicket = LargoPorDefecto;
    int16_t NumPulsadores = 0;
    bool corregido = false;
};

// Longitud below 1 gives the default 500, above 511 gives 511. NumPulsadores 1 gives 2
// (0 or 2..16 are the valid counts) and above 16 gives 16.
AjustesCabecera SanearCabecera(const CabeceraArchivo& c);

} // namespace quoravex
