#include "ImagenCompleta.h"

#include <cstdint>
#include <cstdlib>

namespace quoravex {

namespace {

// Reads bytes of the file; positions past its end read as 0, callers check lengths first.
class Bytes {
public:
    explicit Bytes(const QByteArray& d) : mDatos(d) {}
    int64_t size() const { return mDatos.size(); }
    unsigned u8(int64_t i) const {
        return i >= 0 && i < size() ? static_cast<uint8_t>(mDatos.at(static_cast<qsizetype>(i))) : 0u;
    }
    unsigned le16(int64_t i) const { return u8(i) | (u8(i + 1) << 8); }
    uint32_t le32(int64_t i) const { return le16(i) | (uint32_t(le16(i + 2)) << 16); }

private:
    const QByteArray& mDatos;
};

// Sides beyond this are refused before any arithmetic on them.
constexpr int64_t LadoMaximoDeclarado = 1 << 20;

// An RLE-compressed BMP is whole when its end-of-bitmap code is reached inside the file.
bool RleCompleto(const Bytes& b, int64_t i, bool cuatroBits) {
    while (i + 1 < b.size()) {
        const unsigned cuenta = b.u8(i);
        const unsigned valor = b.u8(i + 1);
        i += 2;
        if (cuenta != 0 || valor == 0) continue; // an encoded run, or end of line
        if (valor == 1) return true;             // end of bitmap
        if (valor == 2) {
            i += 2; // delta
            continue;
        }
        const int64_t bytes = cuatroBits ? (valor + 1) / 2 : valor; // absolute run
        i += bytes + (bytes & 1);
    }
    return false;
}

bool BmpCompleto(const Bytes& b) {
    if (b.size() < 26 || b.u8(0) != 'B' || b.u8(1) != 'M') return false;
    const int64_t inicioDatos = b.le32(10);
    const uint32_t cabecera = b.le32(14);
    int64_t ancho = 0, alto = 0;
    unsigned bits = 0;
    uint32_t compresion = 0;
    if (cabecera == 12) {
        ancho = b.le16(18);
        alto = b.le16(20);
        bits = b.le16(24);
    } else if (cabecera >= 40 && b.size() >= 34) {
        ancho = static_cast<int32_t>(b.le32(18));
        alto = std::abs(static_cast<int64_t>(static_cast<int32_t>(b.le32(22))));
        bits = b.le16(28);
        compresion = b.le32(30);
    } else {
        return false;
    }
    if (ancho <= 0 || alto <= 0 || ancho > LadoMaximoDeclarado || alto > LadoMaximoDeclarado ||
        inicioDatos > b.size())
        return false;
    switch (compresion) {
    case 0: // plain rows
    case 3: // bit fields
    case 6: {
        const int64_t bytesFila = (ancho * bits + 31) / 32 * 4;
        return inicioDatos + bytesFila * alto <= b.size();
    }
    case 1:
        return RleCompleto(b, inicioDatos, false);
    case 2:
        return RleCompleto(b, inicioDatos, true);
    default:
        return true; // left to the decoder, which refuses what it cannot read
    }
}

bool EsReinicio(unsigned marcador) {
    return marcador >= 0xD0 && marcador <= 0xD7;
}

// A JPEG is whole when its markers lead, segment by segment and through every scan's
// entropy-coded data, to the end-of-image marker.
bool JpegCompleto(const Bytes& b) {
    if (b.size() < 4 || b.u8(0) != 0xFF || b.u8(1) != 0xD8) return false;
    int64_t i = 2;
    for (;;) {
        while (i < b.size() && b.u8(i) != 0xFF) // stray bytes before a marker are tolerated
            ++i;
        while (i < b.size() && b.u8(i) == 0xFF)
            ++i;
        if (i >= b.size()) return false;
        const unsigned marcador = b.u8(i++);
        if (marcador == 0xD9) return true;
        if (marcador == 0x01 || EsReinicio(marcador)) continue;
        if (i + 2 > b.size()) return false;
        const int64_t largo = (b.u8(i) << 8) | b.u8(i + 1);
        if (largo < 2 || i + largo > b.size()) return false;
        i += largo;
        if (marcador != 0xDA) continue;
        // Scan data runs to the next marker other than a stuffed zero or a restart.
        for (;; ++i) {
            if (i + 1 >= b.size()) return false;
            const unsigned siguiente = b.u8(i + 1);
            if (b.u8(i) == 0xFF && siguiente != 0x00 && siguiente != 0xFF && !EsReinicio(siguiente)) break;
        }
    }
}

int64_t TablaColoresGif(unsigned banderas) {
    return (banderas & 0x80) ? int64_t(3) << ((banderas & 7) + 1) : 0;
}

// A GIF is usable when its first image is whole: every block before it and the image's
// data sub-blocks up to their terminator lie inside the file.
bool GifCompleto(const Bytes& b) {
    if (b.size() < 13 || b.u8(0) != 'G' || b.u8(1) != 'I' || b.u8(2) != 'F') return false;
    int64_t i = 13 + TablaColoresGif(b.u8(10));
    auto saltarSubbloques = [&] {
        for (;;) {
            if (i >= b.size()) return false;
            const unsigned largo = b.u8(i++);
            if (largo == 0) return true;
            i += largo;
        }
    };
    while (i < b.size()) {
        const unsigned bloque = b.u8(i++);
        if (bloque == 0x21) { // extension: label, then sub-blocks
            ++i;
            if (!saltarSubbloques()) return false;
        } else if (bloque == 0x2C) { // image: descriptor, colour table, code size, data
            if (i + 9 > b.size()) return false;
            const unsigned banderas = b.u8(i + 8);
            i += 9 + TablaColoresGif(banderas) + 1;
            return saltarSubbloques();
        } else {
            return false; // the trailer before any image, or garbage
        }
    }
    return false;
}

} // namespace

bool DatosImagenCompletos(const QByteArray& datos, const QByteArray& formato) {
    const Bytes b(datos);
    if (formato == "bmp") return BmpCompleto(b);
    if (formato == "jpeg" || formato == "jpg") return JpegCompleto(b);
    if (formato == "gif") return GifCompleto(b);
    return !datos.isEmpty();
}

} // namespace quoravex
