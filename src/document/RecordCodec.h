#pragma once

#include "ObjetoTicket.h"

#include <array>
#include <cstdint>
#include <span>

namespace quoravex {

// A design file is a flat array of 452-byte little-endian records: a header record,
// then one record per object at the position of its z-order rank.
constexpr int LongitudRegistro = 452;
constexpr int16_t VersionArchivo = 1;
constexpr int16_t MarcadorArchivo = 4; // written in the header, never read

using Registro = std::array<uint8_t, LongitudRegistro>;
using VistaRegistro = std::span<const uint8_t, LongitudRegistro>;

// The fields the header record carries; every other byte of it is 0, texts included.
struct CabeceraArchivo {
    int16_t Version = VersionArchivo;
    int16_t Marcador = MarcadorArchivo;
    int16_t Longitud = 0;
    uint8_t NumPulsadores = 0;

    bool operator==(const CabeceraArchivo&) const = default;
};

// Every field at its offset; texts in Windows-1252, padded with spaces to their width.
Registro CodificarRegistro(const ObjetoTicket& o);

// The inverse of CodificarRegistro. Any bytes decode: a NUL in a text reads as a
// space (padding), so an all-zero record gives empty texts. Values are not checked.
ObjetoTicket DecodificarRegistro(VistaRegistro r);

Registro CodificarCabecera(const CabeceraArchivo& c);
CabeceraArchivo DecodificarCabecera(VistaRegistro r);

} // namespace quoravex
