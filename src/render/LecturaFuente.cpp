#include "LecturaFuente.h"

namespace quoravex {

namespace {

constexpr qsizetype LargoCabecera = 8;
constexpr qsizetype LargoCabeceraCaracter = 5; // code, advance, byte count
constexpr uint8_t MarcaFin = 0xFF;

int leer16(QByteArrayView d, qsizetype p) {
    return uint8_t(d[p]) | (uint8_t(d[p + 1]) << 8);
}

// x and y are stored as a magnitude in the low 15 bits with 0x8000 set when negative.
int signoYMagnitud(int v) {
    const int magnitud = v & 0x7FFF;
    return (v & 0x8000) ? -magnitud : magnitud;
}

} // namespace

const CaracterFuente* FuenteLeida::buscar(QChar c) const {
    if (c.unicode() > 0xFF) return nullptr;
    for (const CaracterFuente& car : caracteres)
        if (car.codigo == c.unicode()) return &car;
    return nullptr;
}

bool CeldaBienFormada(const QByteArray& celda) {
    qsizetype p = 0;
    while (p < celda.size()) {
        if (p + 3 > celda.size()) return false;
        p += 3 + uint8_t(celda[p + 2]);
    }
    return p == celda.size();
}

std::optional<FuenteLeida> LeerFuente(QByteArrayView datos) {
    if (datos.size() < LargoCabecera) return std::nullopt;
    FuenteLeida f;
    f.x = signoYMagnitud(leer16(datos, 0));
    f.y = signoYMagnitud(leer16(datos, 2));
    f.alto = leer16(datos, 4);
    f.Formato = uint8_t(datos[6]);
    f.cuenta = uint8_t(datos[7]);
    qsizetype p = LargoCabecera;
    while (p < datos.size()) {
        const uint8_t codigo = uint8_t(datos[p]);
        if (codigo == MarcaFin) {
            f.completa = true;
            return f;
        }
        if (p + LargoCabeceraCaracter > datos.size()) break;
        CaracterFuente c;
        c.codigo = codigo;
        c.Avance = leer16(datos, p + 1);
        const qsizetype n = leer16(datos, p + 3);
        p += LargoCabeceraCaracter;
        if (p + n > datos.size()) break;
        c.celda = datos.sliced(p, n).toByteArray();
        p += n;
        if (!CeldaBienFormada(c.celda)) break;
        f.caracteres.push_back(std::move(c));
    }
    return f;
}

} // namespace quoravex
