#include "ReglaCanvas.h"

#include <QPainter>
#include <cmath>

namespace quoravex {

namespace {

constexpr int PuntosPorMm = 8;
constexpr int MinimoEntreEtiquetas = 60;   // screen pixels between two numbers
constexpr int LargoMarca[] = {0, 3, 6, 9}; // by mark class, in pixels

} // namespace

ReglaCanvas::ReglaCanvas(Qt::Orientation o, QWidget* parent) : QWidget(parent), mOrientacion(o) {
    const bool horizontal = o == Qt::Horizontal;
    setObjectName(horizontal ? QStringLiteral("ReglaHorizontal") : QStringLiteral("ReglaVertical"));
    setAccessibleName(horizontal ? QStringLiteral("Regla horizontal") : QStringLiteral("Regla vertical"));
    if (horizontal)
        setFixedHeight(Grosor);
    else
        setFixedWidth(Grosor);
    QFont f = font();
    f.setPixelSize(8);
    setFont(f);
}

void ReglaCanvas::setZoom(double zoom) {
    if (zoom <= 0 || zoom == mZoom) return;
    mZoom = zoom;
    updateGeometry();
    update();
}

void ReglaCanvas::setDesplazamiento(int pixeles) {
    if (pixeles == mDesplazamiento) return;
    mDesplazamiento = pixeles;
    update();
}

void ReglaCanvas::setLargo(int puntos) {
    if (puntos == mLargo) return;
    mLargo = std::max(puntos, 0);
    updateGeometry();
    update();
}

void ReglaCanvas::setPuntero(int punto) {
    if (punto == mPuntero) return;
    mPuntero = punto;
    update();
}

QList<std::pair<int, int>> ReglaCanvas::Marcas(int desde, int hasta) {
    QList<std::pair<int, int>> r;
    int p = (std::max(desde, 0) + PuntosPorMm - 1) / PuntosPorMm * PuntosPorMm;
    for (; p <= hasta; p += PuntosPorMm)
        r.append({p, p % (10 * PuntosPorMm) == 0 ? 3 : p % (5 * PuntosPorMm) == 0 ? 2 : 1});
    return r;
}

int ReglaCanvas::PasoEtiquetas(double zoom) {
    int paso = 50;
    while (paso * zoom < MinimoEntreEtiquetas && paso < 100000)
        paso *= 2;
    return paso;
}

QSize ReglaCanvas::sizeHint() const {
    const int largo = static_cast<int>(std::ceil(mLargo * mZoom));
    return mOrientacion == Qt::Horizontal ? QSize(largo, Grosor) : QSize(Grosor, largo);
}

void ReglaCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool horizontal = mOrientacion == Qt::Horizontal;
    // Lay the ruler out as if horizontal: along = the ruler's axis, across = its thickness.
    if (!horizontal) p.setTransform(QTransform(0, 1, 1, 0, 0, 0)); // swaps x and y
    const int largoPantalla = horizontal ? width() : height();
    auto pantalla = [this](int punto) {
        return static_cast<int>(std::floor(punto * mZoom)) - mDesplazamiento;
    };

    // Beyond the ticket the ruler is grey.
    p.fillRect(0, 0, largoPantalla, Grosor, QColor(0xC8, 0xC8, 0xC8));
    const int inicio = pantalla(0);
    const int fin = pantalla(mLargo);
    p.fillRect(inicio, 0, fin - inicio, Grosor, QColor(0xF8, 0xF8, 0xF8));

    p.setPen(Qt::black);
    p.drawLine(0, Grosor - 1, largoPantalla, Grosor - 1);
    const int desde = std::max(0, static_cast<int>(std::floor(mDesplazamiento / mZoom)));
    const int hasta =
        std::min(mLargo, static_cast<int>(std::ceil((mDesplazamiento + largoPantalla) / mZoom)));
    for (const auto& [punto, clase] : Marcas(desde, hasta)) {
        const int x = pantalla(punto);
        p.drawLine(x, Grosor - 1 - LargoMarca[clase], x, Grosor - 1);
    }

    const int paso = PasoEtiquetas(mZoom);
    for (int punto = desde / paso * paso; punto <= hasta; punto += paso) {
        const int x = pantalla(punto) + 2;
        const QString texto = QString::number(punto);
        if (horizontal) {
            p.drawText(x, 1 + p.fontMetrics().ascent(), texto);
        } else {
            // Down the left ruler the numbers read top to bottom, as the axis runs.
            p.save();
            p.resetTransform();
            p.translate(1 + p.fontMetrics().descent(), x);
            p.rotate(90);
            p.drawText(0, 0, texto);
            p.restore();
        }
    }

    if (mPuntero >= 0) {
        const int x = pantalla(mPuntero);
        p.fillRect(x, 0, std::max(1, static_cast<int>(mZoom)), Grosor, QColor(0xD0, 0x20, 0x20));
    }
}

} // namespace quoravex
