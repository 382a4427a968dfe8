#pragma once

#include <QList>
#include <QWidget>
#include <utility>

namespace quoravex {

// A ruler along the top (Qt::Horizontal) or left (Qt::Vertical) edge of the canvas, in
// printer dots: a tick every millimetre (8 dots), longer ones every 5 and 10 mm, and the
// dot numbers. Dot p is drawn at p * zoom - desplazamiento, so it follows the canvas.
class ReglaCanvas : public QWidget {
    Q_OBJECT
public:
    static constexpr int Grosor = 20; // pixels across the ruler

    explicit ReglaCanvas(Qt::Orientation o, QWidget* parent = nullptr);

    Qt::Orientation orientacion() const { return mOrientacion; }
    void setZoom(double zoom);
    // The canvas's scroll offset inside its scroll area, in screen pixels.
    void setDesplazamiento(int pixeles);
    // Dots along the ruler: 384 across, the ticket's length + 1 down.
    void setLargo(int puntos);
    // The pointer's position in dots, -1 for none.
    void setPuntero(int punto);
    double zoom() const { return mZoom; }
    int desplazamiento() const { return mDesplazamiento; }
    int largo() const { return mLargo; }
    int puntero() const { return mPuntero; }

    // The millimetre marks from dot 0 on, in desde..hasta (both included), each as (dot, class):
    // class 1 every mm, 2 every 5 mm, 3 every 10 mm.
    static QList<std::pair<int, int>> Marcas(int desde, int hasta);
    // Dots between two numbers at a zoom: 50, or more when they would run into each other.
    static int PasoEtiquetas(double zoom);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    Qt::Orientation mOrientacion;
    double mZoom = 1.0;
    int mDesplazamiento = 0;
    int mLargo = 384;
    int mPuntero = -1;
};

} // namespace quoravex
