#pragma once

#include <array>
#include <cstdint>

namespace quoravex {

// Booleans in records and settings are 16-bit integers.
constexpr int16_t Verdadero = -1;
constexpr int16_t Falso = 0;

// Object kinds (field Tipo).
enum TipoObjeto : int16_t {
    TipoTextoFijo = 1,
    TipoImagen = 2,
    TipoTurno = 3,
    TipoFecha = 4,
    TipoHora = 5,
    TipoLinea = 6,
};

constexpr int MaxObjetos = 50;   // objects live in slots 1..50
constexpr int NumSlots = 51;     // slot 0 is never handed out
constexpr int AnchoCanvas = 385; // canvas width in pixels (x = 0..384)
constexpr int LargoMaximo = 511; // longest ticket in dots
constexpr int MaxPulsadores = 16;
constexpr uint32_t MascaraTodosPulsadores = 0x1FFFF; // common part and push-buttons 1..16

// Bit weights of a raster byte, leftmost dot in bit 0.
constexpr std::array<uint8_t, 8> PesosBit = {1, 2, 4, 8, 16, 32, 64, 128};

// Characters each variable field can show, in the order their fonts are generated.
constexpr const char* CaracteresTurno = "0123456789ABCDEF";
constexpr const char* CaracteresFecha = "0123456789/";
constexpr const char* CaracteresHora = "0123456789:apm";

} // namespace quoravex
