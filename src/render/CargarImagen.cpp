#include "ImagenCompleta.h"
#include "ImagenObjeto.h"
#include "Tramado.h"

#include "document/Ficheros.h"
#include "document/ObjetoTicket.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <algorithm>

namespace quoravex {

namespace {

// Limits of a picture the loader accepts: far above any ticket picture, far below what
// would exhaust memory (16 million pixels take 64 MB once decoded).
constexpr int LadoMaximoImagen = 16384;
constexpr qint64 AreaMaximaImagen = qint64(1) << 24;
constexpr qint64 FicheroMaximoImagen = qint64(64) << 20;
constexpr int LimiteAsignacionMB = 128;

bool TamanoAdmisible(const QSize& s) {
    return s.width() > 0 && s.height() > 0 && s.width() <= LadoMaximoImagen &&
           s.height() <= LadoMaximoImagen && qint64(s.width()) * s.height() <= AreaMaximaImagen;
}

bool FormatoAdmitido(const QByteArray& f) {
    return f == "bmp" || f == "png" || f == "jpeg" || f == "jpg" || f == "gif";
}

} // namespace

std::optional<QImage> CargarImagen(const QString& ruta) {
    if (ruta.isEmpty() || !QFileInfo(ruta).isFile()) return std::nullopt;
    QFile fichero(ruta);
    if (!fichero.open(QIODevice::ReadOnly) || fichero.size() <= 0 || fichero.size() > FicheroMaximoImagen)
        return std::nullopt;
    // Read once: the checks and the decoder see the same bytes.
    QByteArray datos = fichero.read(FicheroMaximoImagen + 1);
    if (datos.isEmpty() || datos.size() > FicheroMaximoImagen) return std::nullopt;

    QBuffer buffer(&datos);
    buffer.open(QIODevice::ReadOnly);
    QImageReader lector(&buffer); // the format comes from the content, whatever the file is called
    const QByteArray formato = lector.format().toLower();
    if (!FormatoAdmitido(formato) || !TamanoAdmisible(lector.size()) || !DatosImagenCompletos(datos, formato))
        return std::nullopt;

    // The declared size was checked above; the allocation limit also covers decoders that
    // allocate beyond it.
    if (QImageReader::allocationLimit() <= 0 || QImageReader::allocationLimit() > LimiteAsignacionMB)
        QImageReader::setAllocationLimit(LimiteAsignacionMB);
    QImage leida;
    if (!lector.read(&leida) || leida.isNull() || !TamanoAdmisible(leida.size())) return std::nullopt;

    // Transparent parts show as the white of the paper.
    QImage opaca = Surface::nuevaImagen(leida.width(), leida.height(), ColorBlanco);
    QPainter p(&opaca);
    p.drawImage(0, 0, leida);
    p.end();
    return opaca;
}

QImage BlancoYNegro(const QImage& origen) {
    return ConvertirBlancoYNegro(origen, Conversion::Umbral);
}

QByteArray CodificarImagenTrabajo(const QImage& imagen) {
    if (imagen.isNull()) return {};
    // One bit per pixel, palette entry 0 black and 1 white: the usual monochrome bitmap.
    const QImage rgb = imagen.convertToFormat(QImage::Format_RGB32);
    QImage mono(rgb.size(), QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.setDotsPerMeterX(rgb.dotsPerMeterX());
    mono.setDotsPerMeterY(rgb.dotsPerMeterY());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* entrada = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* linea = mono.scanLine(y);
        std::fill(linea, linea + mono.bytesPerLine(), uchar(0));
        for (int x = 0; x < rgb.width(); ++x)
            if (DeQRgb(entrada[x]) == ColorBlanco) linea[x >> 3] |= uchar(0x80 >> (x & 7));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return mono.save(&buffer, "BMP") ? bytes : QByteArray();
}

QString RutaImagenTrabajo(int slot, const QByteArray& bytes) {
    const QByteArray resumen = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).left(4).toHex();
    const QString nombre = QStringLiteral("Imagen%1-%2.bmp").arg(slot).arg(QString::fromLatin1(resumen));
    return QDir::toNativeSeparators(QDir::current().absoluteFilePath(nombre));
}

namespace {

// Writes the bytes as the working bitmap of `slot`, unless that file already holds them.
QString GuardarBytesImagen(int slot, const QByteArray& bytes) {
    if (bytes.isEmpty()) return {};
    const QString ruta = RutaImagenTrabajo(slot, bytes);
    return EscribirSiCambia(ruta, bytes) ? ruta : QString();
}

} // namespace

QString GuardarImagenTrabajoDe(int slot, const QImage& imagen) {
    return GuardarBytesImagen(slot, CodificarImagenTrabajo(imagen));
}

QString CopiarImagenTrabajo(const QString& origen, int slot) {
    return GuardarBytesImagen(slot, LeerFichero(origen));
}

bool GuardarImagenTrabajo(const QImage& imagen, const QString& ruta) {
    const QByteArray bytes = CodificarImagenTrabajo(imagen);
    return !bytes.isEmpty() && EscribirFichero(ruta, bytes);
}

QString RutaParaRegistro(const QString& ruta) {
    if (ruta.size() <= LongitudRuta) return ruta;
    return QStringLiteral(".") + QDir::separator() + QFileInfo(ruta).fileName();
}

namespace {

// The file of that name in the folder, its letter case aside when no name matches exactly
// (a design made on Windows names "Logo.bmp" for "logo.bmp"). Names are tried in sorted
// order, so the same folder always gives the same file.
QString BuscarEnCarpeta(const QString& dir, const QString& nombre) {
    const QDir carpeta(dir);
    const QString exacta = carpeta.absoluteFilePath(nombre);
    if (QFileInfo(exacta).isFile()) return exacta;
    if (!carpeta.exists()) return QString();
    const QStringList nombres = carpeta.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& n : nombres)
        if (n.compare(nombre, Qt::CaseInsensitive) == 0) return carpeta.absoluteFilePath(n);
    return QString();
}

} // namespace

QString ResolverRutaImagen(const QString& guardada, const QString& dirDiseno) {
    const QString ruta = TextoFijo<LongitudRuta>::recortarEspacios(guardada);
    if (ruta.isEmpty()) return QString();
    if (QFileInfo(ruta).isFile()) return ruta;
    // Paths written on Windows use backslashes, which are no separator here.
    const qsizetype barra = std::max(ruta.lastIndexOf(QLatin1Char('/')), ruta.lastIndexOf(QLatin1Char('\\')));
    const QString nombre = ruta.mid(barra + 1);
    if (nombre.isEmpty()) return QString();
    // The stored folder, when it is one here, then the design's and the current one.
    const QString guardadaDir = barra > 0 && ruta.at(barra) == QLatin1Char('/') ? ruta.left(barra) : QString();
    for (const QString& dir : {guardadaDir, dirDiseno, QDir::currentPath()}) {
        if (dir.isEmpty()) continue;
        const QString candidata = BuscarEnCarpeta(dir, nombre);
        if (!candidata.isEmpty()) return QDir::toNativeSeparators(candidata);
    }
    return QString();
}

} // namespace quoravex
