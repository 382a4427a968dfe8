#pragma once

#include "Constantes.h"
#include "TextoFijo.h"

#include <cstdint>

namespace quoravex {

// One object of a design, and also the header record of a design file.
// Field widths are those of the stored record.
struct ObjetoTicket {
    int16_t EnUso = Falso;
    int16_t Pendiente = Falso; // added, its editor has not confirmed it yet
    int16_t Tipo = 0;
    uint8_t Formato = 0; // format code of a variable field
    int32_t Top = 0;
    int32_t Left = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int16_t Orden = 0; // z-order rank, 1 = bottom
    TextoFijo<100> Texto;
    TextoFijo<80> FontName;
    int16_t FontSize = 0;
    int16_t FontStyle = 0; // 0 regular, 1 italic, 2 bold, 3 bold italic
    int16_t FontUnderline = 0;
    int16_t FontStrikethru = 0;
    int32_t CurrentX = 0;
    int32_t CurrentY = 0;
    int32_t TextWidth = 0;
    int32_t TextHeight = 0;
    TextoFijo<100> ImagenTrabajo; // working black-and-white bitmap
    TextoFijo<100> ImagenOrigen;  // picture file the user chose
    int16_t AnchoImagen = 0;
    int16_t LineaX = 0; // anchor where drawing the line started
    int16_t LineaY = 0;
    int16_t Reservado1 = 0;
    int16_t Reservado2 = 0;
    int16_t Grosor = 0;        // line thickness, 1..10
    int16_t Version = 0;       // header record only
    int16_t Marcador = 0;      // header record only
    int16_t Longitud = 0;      // header record only
    uint8_t NumPulsadores = 0; // header record only
    uint32_t Pulsadores = 0;   // membership: bit 0 common part, bit n push-button n

    bool enUso() const { return EnUso != Falso; }
    bool esCampoVariable() const { return Tipo == TipoTurno || Tipo == TipoFecha || Tipo == TipoHora; }

    // Puts the font and text-placement fields at their defaults for a new object.
    void fuenteInicial();
    // Resets the fields a freed slot holds; the others keep their values.
    void liberar();

    bool operator==(const ObjetoTicket&) const = default;
};

// Size limits of the text fields, for callers that cut input.
constexpr int LongitudTexto = 100;
constexpr int LongitudFontName = 80;
constexpr int LongitudRuta = 100;

} // namespace quoravex
