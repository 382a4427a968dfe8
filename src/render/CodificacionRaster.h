#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace quoravex {

constexpr int PuntosPorFila = 384;
constexpr int BytesPorFila = 48;
constexpr int DireccionesPorFila = 64; // address = row * 64 + byte index

// Appends the segments of one row of packed bytes (leftmost dot in bit 0) to salida.
// A segment opens at the first non-zero byte, keeps runs of up to three zeros, closes
// after a fourth zero and drops up to three trailing zeros at the row's end. Each is
// written as address high byte, address low byte, count, data.
void CodificarFila(const uint8_t* bytes, int numBytes, int fila, QByteArray& salida);

// A 1-bit raster, one row of BytesPorFila packed bytes per ticket row.
struct RasterBits {
    int filas = 0;
    std::vector<uint8_t> bytes; // filas * BytesPorFila

    explicit RasterBits(int numFilas = 0)
        : filas(numFilas), bytes(static_cast<size_t>(numFilas) * BytesPorFila, 0) {}
    uint8_t* fila(int y) { return bytes.data() + static_cast<size_t>(y) * BytesPorFila; }
    const uint8_t* fila(int y) const { return bytes.data() + static_cast<size_t>(y) * BytesPorFila; }
    void poner(int x, int y) { fila(y)[x / 8] |= static_cast<uint8_t>(1u << (x % 8)); }
    bool negro(int x, int y) const { return (fila(y)[x / 8] >> (x % 8)) & 1u; }
};

// A whole raster file: the file number, then the segments of every row. The number is
// written as a 16-bit little-endian value whose high byte the first segment overwrites,
// so a file without segments is two bytes.
QByteArray CodificarRaster(const RasterBits& raster, uint8_t numeroArchivo);

// Plots the segments of a raster file back: calls poner(x, y) for every black dot.
// Malformed tails (a cut segment) end the decoding.
template <typename F> void DecodificarRaster(const QByteArray& datos, F&& poner) {
    qsizetype p = 1;
    while (p + 3 <= datos.size()) {
        const int direccion = (uint8_t(datos[p]) << 8) | uint8_t(datos[p + 1]);
        const int largo = uint8_t(datos[p + 2]);
        p += 3;
        const int fila = direccion / DireccionesPorFila;
        int x = (direccion % DireccionesPorFila) * 8;
        for (int i = 0; i < largo && p < datos.size(); ++i, ++p)
            for (int k = 0; k < 8; ++k, ++x)
                if ((uint8_t(datos[p]) >> k) & 1u) poner(x, fila);
    }
}

} // namespace quoravex
