#include "Trama.h"

#include <algorithm>

namespace quoravex {

namespace {

std::array<uint16_t, 256> crearTabla() {
    std::array<uint16_t, 256> tabla{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t crc = static_cast<uint16_t>(i);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0x8408) : static_cast<uint16_t>(crc >> 1);
        tabla[i] = crc;
    }
    return tabla;
}

const std::array<uint16_t, 256>& tabla() {
    static const std::array<uint16_t, 256> t = crearTabla();
    return t;
}

} // namespace

uint16_t TablaCrc16(uint8_t i) {
    return tabla()[i];
}

uint16_t Crc16(QByteArrayView bytes, int n) {
    const qsizetype cuenta = (n < 0 || n > bytes.size()) ? bytes.size() : n;
    const std::array<uint16_t, 256>& t = tabla();
    uint16_t crc = 0xFFFF;
    for (qsizetype i = 0; i < cuenta; ++i) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        crc = static_cast<uint16_t>(t[(crc ^ b) & 0xFF] ^ (crc >> 8));
    }
    return crc;
}

QByteArray ConstruirTrama(QByteArrayView bytes, int n) {
    if (n < 1 || n > 255 || n > bytes.size()) return {};
    QByteArray trama(bytes.first(n).toByteArray());
    const uint16_t crc = Crc16(trama);
    trama.append(static_cast<char>(crc & 0xFF));
    trama.append(static_cast<char>(crc >> 8));
    return trama;
}

qsizetype TramaCompleta(QByteArrayView bytes) {
    if (bytes.size() < 5) return 0;
    const qsizetype n = 3 + static_cast<uint8_t>(bytes[2]);
    if (bytes.size() < n + 2) return 0;
    const uint16_t crc = static_cast<uint8_t>(bytes[n]) | (static_cast<uint8_t>(bytes[n + 1]) << 8);
    return Crc16(bytes, static_cast<int>(n)) == crc ? n + 2 : 0;
}

std::optional<PosicionTrama> BuscarTrama(QByteArrayView bytes, qsizetype desde) {
    for (qsizetype i = std::max<qsizetype>(desde, 0); i + 5 <= bytes.size(); ++i) {
        if (const qsizetype largo = TramaCompleta(bytes.sliced(i))) return PosicionTrama{i, largo};
    }
    return std::nullopt;
}

std::optional<PosicionTrama> UltimaTrama(QByteArrayView bytes) {
    std::optional<PosicionTrama> ultima;
    for (auto t = BuscarTrama(bytes); t; t = BuscarTrama(bytes, t->inicio + t->largo))
        ultima = t;
    return ultima;
}

bool EsInicioDeTrama(QByteArrayView bytes) {
    return bytes.size() < 3 || bytes.size() < 5 + static_cast<uint8_t>(bytes[2]);
}

} // namespace quoravex
