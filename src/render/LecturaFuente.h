#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace quoravex {

// One character record of a variable-field font file.
struct CaracterFuente {
    uint8_t codigo = 0;
    int Avance = 0;
    QByteArray celda; // segments: address high, address low, count, data; address = row * 64 + byte
};

// A variable-field font file read back: where the printer puts the field, its format and
// the characters it can draw.
struct FuenteLeida {
    int x = 0;
    int y = 0;
    int alto = 0;
    uint8_t Formato = 0;
    uint8_t cuenta = 0; // count byte; the time font says 10 although 14 records follow
    std::vector<CaracterFuente> caracteres;
    bool completa = false; // the records ended with the 0xFF mark, nothing cut or damaged

    const CaracterFuente* buscar(QChar c) const;
};

// Reads a font file: the 8-byte header, then records up to the 0xFF mark. A record that
// runs past the end of the data, or a cell whose segments overrun their record, ends the
// reading there with completa = false and keeps the records read before it. Nothing when
// the header itself is cut.
std::optional<FuenteLeida> LeerFuente(QByteArrayView datos);

// Calls poner(x, y) for every black dot of a cell, x and y counted from the cell's
// top-left corner. A segment that runs past the data is cut there.
template <typename F> void RecorrerCelda(const QByteArray& celda, F&& poner) {
    qsizetype p = 0;
    while (p + 3 <= celda.size()) {
        const int direccion = (uint8_t(celda[p]) << 8) | uint8_t(celda[p + 1]);
        const int largo = uint8_t(celda[p + 2]);
        p += 3;
        const int fila = direccion / 64;
        int x = (direccion % 64) * 8;
        for (int i = 0; i < largo && p < celda.size(); ++i, ++p)
            for (int k = 0; k < 8; ++k, ++x)
                if ((uint8_t(celda[p]) >> k) & 1u) poner(x, fila);
    }
}

// Whether a cell's segments fill their bytes exactly (every segment whole, none cut).
bool CeldaBienFormada(const QByteArray& celda);

} // namespace quoravex
