#include "editor/Imanes.h"

#include <gtest/gtest.h>

using namespace quoravex;

namespace {

Guia v(double x) {
    return {Qt::Vertical, x};
}
Guia h(double y) {
    return {Qt::Horizontal, y};
}

} // namespace

TEST(Imanes, SnapsEdgesAndCentresToTheNearestGuideWithinReachAndRange) {
    // Another box: vertical guides at 300, 330, 360; horizontal ones at 100, 120, 140.
    const QRect otra(300, 100, 60, 40);
    const Intervalo libre{-1000, 1000};
    const struct {
        const char* caso;
        QRect caja; // the dragged box at its proposed position
        QList<QRect> otras;
        QPoint esperado;
        QList<Guia> guias;
        Intervalo rangoLeft = {-1000, 1000}, rangoTop = {-1000, 1000};
    } casos[] = {
        {"nothing to snap to", {20, 300, 20, 30}, {}, {20, 300}, {}},
        // Centred as the centre command does it: left = (384 - width) / 2, half to even.
        {"odd width, half rounds up", {139, 10, 101, 20}, {}, {142, 10}, {v(192)}},
        {"odd width, half rounds down", {143, 10, 103, 20}, {}, {140, 10}, {v(192)}},
        {"4 dots snap", {146, 10, 100, 20}, {}, {142, 10}, {v(192)}},
        {"5 dots do not", {147, 10, 100, 20}, {}, {147, 10}, {}},
        {"right on left", {277, 300, 20, 30}, {otra}, {280, 300}, {v(300)}},
        {"centre on centre", {322, 300, 20, 30}, {otra}, {320, 300}, {v(330)}},
        {"centre on a half-dot centre", {318, 300, 20, 30}, {{300, 100, 61, 40}}, {320, 300}, {v(330.5)}},
        {"centre 4 dots off", {346, 300, 20, 30}, {otra}, {350, 300}, {v(360)}},
        {"bottom on bottom", {20, 112, 20, 30}, {otra}, {20, 110}, {h(140)}},
        {"middle 2 away beats top 3 away", {20, 103, 20, 30}, {otra}, {20, 105}, {h(120)}},
        {"top on bottom", {20, 143, 20, 30}, {otra}, {20, 140}, {h(140)}},
        {"both axes", {303, 97, 20, 30}, {otra}, {300, 100}, {v(300), h(100)}},
        {"a tie goes to the centre line", {189, 300, 20, 30}, {{0, 400, 186, 20}}, {192, 300}, {v(192)}},
        {"every guide lined up with", {183, 300, 20, 30}, {{152, 400, 30, 10}}, {182, 300}, {v(192), v(182)}},
        // Limits of a 100-dot box: at most half of it off the strip.
        {"the nearest guide is out of range",
         {-49, 0, 100, 20},
         {{-56, 300, 10, 10}},
         {-46, 0},
         {v(-46)},
         {-50, 334}},
        {"every guide is out of range", {-48, 0, 100, 20}, {{-53, 300, 2, 10}}, {-48, 0}, {}, {-50, 334}},
        {"out of range on top", {100, 483, 20, 30}, {{0, 466, 20, 20}}, {100, 483}, {}, libre, {-15, 485}},
        {"beyond the limit, nothing in reach", {399, 0, 382, 120}, {}, {193, 0}, {}, {-191, 193}},
    };
    for (const auto& c : casos) {
        const Imantado r = Imantar(c.caja, c.otras, 384, DistanciaIman, c.rangoLeft, c.rangoTop);
        EXPECT_EQ(std::pair(QPoint(r.left, r.top), r.guias), std::pair(c.esperado, c.guias)) << c.caso;
    }
}
