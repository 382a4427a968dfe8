#pragma once

#include <QList>
#include <QRect>
#include <Qt>
#include <algorithm>

namespace quoravex {

// How near, in dots, an edge or centre must come to a guide to snap to it.
constexpr int DistanciaIman = 4;

// A guide shown while dragging, in canvas pixels: Qt::Vertical is the line x = pos across the
// whole canvas, Qt::Horizontal the line y = pos. The centre of an odd-sized box is a half dot.
struct Guia {
    Qt::Orientation orientacion = Qt::Vertical;
    double pos = 0;
    friend bool operator==(const Guia&, const Guia&) = default;
};

// The values a box's left or top may take, both ends included. Where the ends cross, the
// upper one wins, as in the drag limits.
struct Intervalo {
    int minimo = 0;
    int maximo = 0;
    int ajustar(int v) const { return std::min(std::max(v, minimo), maximo); }
    bool contiene(int v) const { return v >= minimo && v <= maximo; }
};

struct Imantado {
    int left = 0;
    int top = 0;
    QList<Guia> guias; // every guide the box lines up with where it ends
};

// Snaps a dragged box, at its proposed position, to the guides near it: its left edge, centre
// or right edge to the strip's centre line (anchoTira / 2) or to another box's left edge,
// centre or right edge; its top, middle or bottom to another box's top, middle or bottom.
// On each axis the box moves at most `distancia` dots to the nearest guide, the strip's centre
// line winning ties. A guide that would take the box out of its range is passed over for the
// nearest one that keeps it in; with none, the box is only kept within the range, as a drag
// beyond the limits is.
//
// A centre a half dot off the grid rounds half to even, so a box snapped to the centre line
// gets the same left as the "centre horizontally" command gives it.
Imantado Imantar(const QRect& caja, const QList<QRect>& otras, int anchoTira, int distancia,
                 Intervalo rangoLeft, Intervalo rangoTop);

} // namespace quoravex
