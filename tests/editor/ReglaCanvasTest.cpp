#include "editor/ReglaCanvas.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace quoravex;
using Marcas = QList<std::pair<int, int>>;

TEST(ReglaCanvas, MarcasYPasoDeEtiquetas) {
    const struct {
        int desde, hasta;
        Marcas marcas;
    } filas[] = {
        {0, 0, {{0, 3}}},
        {1, 7, {}},
        {70, 130, {{72, 1}, {80, 3}, {88, 1}, {96, 1}, {104, 1}, {112, 1}, {120, 2}, {128, 1}}},
        {-20, 8, {{0, 3}, {8, 1}}},
    };
    for (const auto& f : filas)
        EXPECT_EQ(ReglaCanvas::Marcas(f.desde, f.hasta), f.marcas) << f.desde << ".." << f.hasta;

    const std::pair<double, int> pasos[] = {{4, 50}, {2, 50}, {1, 100}, {0.5, 200}};
    for (const auto& [zoom, paso] : pasos)
        EXPECT_EQ(ReglaCanvas::PasoEtiquetas(zoom), paso) << zoom;
}

TEST(ReglaCanvas, LaMarcaDeCadaCentimetroCaeEnSuPunto) {
    // Dot 80 at zoom 2 is screen pixel 160 less the scroll; dot 85 has no mark.
    const struct {
        Qt::Orientation o;
        int desplazamiento;
        int marca, sinMarca;
    } filas[] = {
        {Qt::Horizontal, 0, 160, 170},
        {Qt::Horizontal, 30, 130, 140},
        {Qt::Vertical, 0, 160, 170},
    };
    for (const auto& f : filas) {
        ReglaCanvas r(f.o);
        r.setLargo(384);
        r.setZoom(2);
        r.setDesplazamiento(f.desplazamiento);
        r.resize(r.sizeHint());
        const QImage img = r.grab().toImage();
        const int cerca = ReglaCanvas::Grosor - 3; // inside the shortest tick, off the edge line
        auto gris = [&](int a) {
            return qGray(f.o == Qt::Horizontal ? img.pixel(a, cerca) : img.pixel(cerca, a));
        };
        EXPECT_LT(gris(f.marca), 100) << f.o << " " << f.desplazamiento;
        EXPECT_GT(gris(f.sinMarca), 180) << f.o << " " << f.desplazamiento;
    }
}
