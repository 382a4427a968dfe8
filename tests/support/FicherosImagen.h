#pragma once
// Picture files for the image tests: written with Qt where it can, by hand where it cannot
// (GIF), and damaged on purpose.

#include "support/Bytes.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <vector>

#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace quoravex::pruebas {

// Runs a test in a fresh current directory and puts the old one back afterwards.
class DirectorioActualTemporal {
public:
    DirectorioActualTemporal() : mAnterior(QDir::currentPath()) { QDir::setCurrent(mDir.path()); }
    ~DirectorioActualTemporal() { QDir::setCurrent(mAnterior); }
    QString ruta(const QString& nombre) const { return QDir(mDir.path()).absoluteFilePath(nombre); }
    QString path() const { return mDir.path(); }

private:
    QTemporaryDir mDir;
    QString mAnterior;
};

inline QByteArray Codificar(const QImage& img, const char* formato) {
    QByteArray datos;
    QBuffer b(&datos);
    b.open(QIODevice::WriteOnly);
    img.save(&b, formato);
    return datos;
}

// A picture of w x h pixels: the left half black, the right half white.
inline QImage MitadNegra(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w / 2; ++x)
            img.setPixel(x, y, qRgb(0, 0, 0));
    return img;
}

inline uint32_t Crc32(const QByteArray& d) {
    uint32_t c = 0xFFFFFFFFu;
    for (char ch : d) {
        c ^= static_cast<uint8_t>(ch);
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

// A small, valid PNG whose header declares ancho x alto pixels.
inline QByteArray PngConTamanoDeclarado(uint32_t ancho, uint32_t alto) {
    QByteArray png = Codificar(MitadNegra(2, 2), "PNG");
    auto be32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            png[at + i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
    };
    be32(16, ancho);
    be32(20, alto);
    be32(29, Crc32(png.mid(12, 17)));
    return png;
}

// A GIF with a 256-colour table, its pixels stored as literal 9-bit codes with a clear
// code often enough that the code width never grows.
inline QByteArray Gif(const QImage& img) {
    QByteArray g("GIF89a");
    auto le16 = [&](int v) {
        g.append(static_cast<char>(v & 0xFF));
        g.append(static_cast<char>((v >> 8) & 0xFF));
    };
    le16(img.width());
    le16(img.height());
    g.append(static_cast<char>(0xF7));
    g.append('\0');
    g.append('\0');
    std::vector<QRgb> tabla;
    std::vector<int> indices;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y) & 0xFFFFFF;
            auto it = std::find(tabla.begin(), tabla.end(), c);
            if (it == tabla.end()) it = tabla.insert(tabla.end(), c);
            indices.push_back(static_cast<int>(it - tabla.begin()));
        }
    tabla.resize(256, 0);
    for (QRgb c : tabla) {
        g.append(static_cast<char>(qRed(c)));
        g.append(static_cast<char>(qGreen(c)));
        g.append(static_cast<char>(qBlue(c)));
    }
    g.append(',');
    le16(0);
    le16(0);
    le16(img.width());
    le16(img.height());
    g.append('\0');
    g.append('\x08');
    QByteArray codigos;
    uint32_t acumulado = 0;
    int bits = 0;
    auto emitir = [&](int codigo) {
        acumulado |= uint32_t(codigo) << bits;
        bits += 9;
        while (bits >= 8) {
            codigos.append(static_cast<char>(acumulado & 0xFF));
            acumulado >>= 8;
            bits -= 8;
        }
    };
    for (size_t i = 0; i < indices.size(); ++i) {
        if (i % 100 == 0) emitir(256);
        emitir(indices[i]);
    }
    emitir(257);
    if (bits > 0) codigos.append(static_cast<char>(acumulado & 0xFF));
    for (qsizetype i = 0; i < codigos.size(); i += 255) {
        const QByteArray trozo = codigos.mid(i, 255);
        g.append(static_cast<char>(trozo.size()));
        g.append(trozo);
    }
    g.append('\0');
    g.append(';');
    return g;
}

// A 24-bit BMP of the picture padded with zero bytes to exactly `tamano` bytes.
inline QByteArray BmpDeTamano(const QImage& img, qsizetype tamano) {
    QByteArray bmp = Codificar(img.convertToFormat(QImage::Format_RGB888), "BMP");
    if (bmp.size() < tamano) bmp.append(QByteArray(tamano - bmp.size(), '\0'));
    return bmp;
}

} // namespace quoravex::pruebas
