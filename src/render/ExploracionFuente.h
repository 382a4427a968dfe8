#pragma once

#include "Surface.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace quoravex {

struct ObjetoTicket;

// Reading a printed character back from the work surface: the steps of the
// variable-field font generator that look at pixels. Only exactly black pixels
// are ink; pixels outside the surface are not.

// The work surface covers every column and row the scans below reach (0..500).
constexpr int LadoSuperficieFuente = 501;
constexpr int UltimaColumnaSubrayado = 300; // FinSubrayado looks no further
constexpr int UltimaColumnaLimite = 500;    // nor do LimiteDerecho and LimiteIzquierdo
constexpr Color FondoSuperficieFuente = ColorCianClaro;

// Clears the surface and prints s at (0, 0) in the font of the field object, always
// underlined and never struck through, in black on light cyan.
void PrintCaracterParaFont(Surface& picWork3, const ObjetoTicket& objeto, const QString& s);

// Top row of the first black run met going up column 1 from row y0; 0 when column 1
// has no black pixel between y0 and row 1.
int BuscarSubrayado(const Surface& s, int y0);
// Last black column of row y counted from column 0, at most 300 (-1 when column 0 is not black).
int FinSubrayado(const Surface& s, int y);
// First column from x0 rightwards (to 500) with no black pixel in rows y0..0; 0 when none.
int LimiteDerecho(const Surface& s, int y0, int x0);
// First column from x0 leftwards (to 0) with no black pixel in rows y0..0; 0 when none.
int LimiteIzquierdo(const Surface& s, int y0, int x0);

// Advance, cell width and left overhang of one character, in pixels.
struct MetricaCaracter {
    int Avance = 0;
    int AnchoCelda = 0;
    int Desborde = 0;
    // First column of the cell on the work surface.
    int inicio(int finEspacio) const { return finEspacio - Desborde; }
    bool operator==(const MetricaCaracter&) const = default;
};

// Measures the character printed after a space on the surface. The cell runs from the
// nearest ink-free column at or left of the space's last column up to, not including,
// the first ink-free column after the underline's end.
MetricaCaracter MedirCaracter(const Surface& s, int filaBase, int finEspacio);

// Bytes scanned per cell row: every byte the cell touches and one more.
int BytesPorFilaCelda(int anchoCelda);

// Rows 0..filaBase of the cell starting at column x0, in the raster file's segment coding
// (address = row * 64 + byte, leftmost dot in bit 0).
QByteArray CodificarCelda(const Surface& s, int x0, int anchoCelda, int filaBase);

} // namespace quoravex
