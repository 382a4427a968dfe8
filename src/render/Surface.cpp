#include "Surface.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <vector>

namespace quoravex {

namespace {

// 96 dots per inch expressed the way QImage stores resolution.
constexpr int PuntosPorMetro = 3780;

// Sizes at or below zero fall back to the smallest size, so measuring never yields zero.
constexpr double PuntosMinimos = 1.0;

// Bounds of a backing image: far above any real box, far below what would exhaust memory.
constexpr int LadoMaximo = 32767;
constexpr int64_t AreaMaxima = int64_t(1) << 25;

} // namespace

QImage Surface::nuevaImagen(int ancho, int alto, Color fondo) {
    QImage img(std::max(ancho, 1), std::max(alto, 1), QImage::Format_RGB32);
    img.setDotsPerMeterX(PuntosPorMetro);
    img.setDotsPerMeterY(PuntosPorMetro);
    img.fill(AQRgb(fondo));
    return img;
}

QFont Surface::fuenteMonocroma(const QString& familia) {
    QFont f(familia);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setKerning(false);
    return f;
}

Surface::Surface(int ancho, int alto)
    : mImagen(nuevaImagen(ancho, alto, ColorBlanco)),
      mFuente(fuenteMonocroma(QStringLiteral("DejaVu Sans"))) {
    mFuente.setPointSizeF(mPuntos);
}

void Surface::move(int left, int top) {
    mLeft = left;
    mTop = top;
}

void Surface::resize(int ancho, int alto) {
    ancho = std::clamp(ancho, 1, LadoMaximo);
    alto = std::clamp(alto, 1, LadoMaximo);
    // A box read from a damaged file must not take gigabytes: its height gives way first.
    if (int64_t(ancho) * alto > AreaMaxima) alto = static_cast<int>(AreaMaxima / ancho);
    if (ancho == width() && alto == height()) return;
    QImage nueva = nuevaImagen(ancho, alto, mBackColor);
    QPainter p(&nueva);
    p.drawImage(0, 0, mImagen);
    p.end();
    mImagen = std::move(nueva);
}

void Surface::setGeometry(int left, int top, int ancho, int alto) {
    move(left, top);
    resize(ancho, alto);
}

void Surface::clear() {
    mImagen.fill(AQRgb(mBackColor));
    mCurrentX = 0;
    mCurrentY = 0;
}

int32_t Surface::point(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return -1;
    return static_cast<int32_t>(DeQRgb(mImagen.pixel(x, y)));
}

void Surface::pset(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return;
    mImagen.setPixel(x, y, AQRgb(c));
}

void Surface::fillRect(const QRect& r, Color c) {
    QPainter p(&mImagen);
    p.fillRect(r, QColor::fromRgb(AQRgb(c)));
}

void Surface::line(int x1, int y1, int x2, int y2, Color c) {
    QPainter p(&mImagen);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor::fromRgb(AQRgb(c)), 1));
    p.drawLine(x1, y1, x2, y2);
}

void Surface::setFontName(const QString& familia) {
    QFont f = fuenteMonocroma(familia);
    f.setPointSizeF(mFuente.pointSizeF());
    f.setBold(mFuente.bold());
    f.setItalic(mFuente.italic());
    f.setUnderline(mFuente.underline());
    f.setStrikeOut(mFuente.strikeOut());
    mFuente = f;
}

void Surface::setFontSize(double puntos) {
    mPuntos = puntos;
    mFuente.setPointSizeF(puntos > 0 ? puntos : PuntosMinimos);
}

int Surface::textWidth(const QString& s) const {
    return QFontMetrics(mFuente, &mImagen).horizontalAdvance(s);
}

int Surface::textHeight(const QString&) const {
    return QFontMetrics(mFuente, &mImagen).height();
}

int Surface::ascent() const {
    return QFontMetrics(mFuente, &mImagen).ascent();
}

void Surface::print(const QString& s) {
    QPainter p(&mImagen);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(mFuente);
    p.setPen(QColor::fromRgb(AQRgb(mForeColor)));
    const QFontMetrics fm(mFuente, &mImagen);
    p.drawText(QPoint(mCurrentX, mCurrentY + fm.ascent()), s);
    p.end();
    mCurrentX += fm.horizontalAdvance(s);
}

void Surface::paintPicture(const QImage& origen, const QRect& destino, const QRect& fuente) {
    if (origen.isNull() || destino.width() <= 0 || destino.height() <= 0) return;
    const QRect f = fuente.isNull() ? origen.rect() : fuente;
    const QImage estirada = EstirarImagen(origen, f, destino.size());
    QPainter p(&mImagen);
    p.drawImage(destino.topLeft(), estirada);
}

QImage EstirarImagen(const QImage& origen, const QRect& fuente, const QSize& destino) {
    const QRect f = fuente.intersected(origen.rect());
    QImage salida = Surface::nuevaImagen(destino.width(), destino.height(), ColorBlanco);
    if (f.isEmpty() || destino.isEmpty()) return salida;
    const QImage src = origen.convertToFormat(QImage::Format_RGB32);

    // Source span [desde, hasta) of each destination column or row: one pixel when
    // enlarging, a partition of the source when shrinking.
    auto tramos = [](int fuenteInicio, int largoFuente, int largoDestino) {
        std::vector<std::pair<int, int>> t(static_cast<size_t>(largoDestino));
        for (int d = 0; d < largoDestino; ++d) {
            const int desde = static_cast<int>(int64_t(d) * largoFuente / largoDestino);
            const int hasta =
                std::max(desde + 1, static_cast<int>(int64_t(d + 1) * largoFuente / largoDestino));
            t[static_cast<size_t>(d)] = {fuenteInicio + desde, fuenteInicio + std::min(hasta, largoFuente)};
        }
        return t;
    };
    const auto columnas = tramos(f.x(), f.width(), destino.width());
    const auto filas = tramos(f.y(), f.height(), destino.height());

    for (int y = 0; y < destino.height(); ++y) {
        auto* linea = reinterpret_cast<QRgb*>(salida.scanLine(y));
        const auto [y0, y1] = filas[static_cast<size_t>(y)];
        for (int x = 0; x < destino.width(); ++x) {
            const auto [x0, x1] = columnas[static_cast<size_t>(x)];
            QRgb mejor = src.pixel(x0, y0);
            int oscuridadMejor = Oscuridad(DeQRgb(mejor));
            for (int sy = y0; sy < y1; ++sy) {
                const auto* fila = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
                for (int sx = x0; sx < x1; ++sx) {
                    const int o = Oscuridad(DeQRgb(fila[sx]));
                    if (o < oscuridadMejor) {
                        oscuridadMejor = o;
                        mejor = fila[sx];
                    }
                }
            }
            linea[x] = mejor | 0xFF000000u;
        }
    }
    return salida;
}

} // namespace quoravex
