#pragma once

#include "Imanes.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <utility>

namespace quoravex {

// The lefts and tops a drag may give a box: a line's corner stays on the ticket; any other
// object may leave it by at most half its size on each side (a half-dot limit rounds to even).
std::pair<Intervalo, Intervalo> LimitesArrastre(bool linea, int ancho, int alto, int largoTicket);

// A box to arrange, with the positions its own drag limits allow.
struct CajaOrganizar {
    QRect caja;
    Intervalo lefts;
    Intervalo tops;
};

// The smallest rectangle that holds every box.
QRect Envolvente(const QList<QRect>& cajas);

enum class Alineacion {
    Izquierda,
    Derecha,
    Arriba,
    Abajo,
    CentrosHorizontal, // the same horizontal centre: the boxes stacked on one vertical line
    CentrosVertical,   // the same vertical centre: the boxes side by side on one horizontal line
};

// The boxes' new top-left corners, aligned against `referencia` (the selection's bounding
// box, or the ticket for a single box). A centre a half dot off the grid rounds half to
// even, as "Centrado" does. Each box stays within its own limits.
QList<QPoint> Alinear(const QList<CajaOrganizar>& cajas, Alineacion a, const QRect& referencia);

// Equal gaps between neighbours along one axis, in the order of their left (or top) edges;
// the outer two stay where they are. When the space does not split evenly, the first gaps
// (leftmost, topmost) take one dot more each. Fewer than three boxes stay where they are.
QList<QPoint> Distribuir(const QList<CajaOrganizar>& cajas, Qt::Orientation orientacion);

// The boxes moved together so that their bounding box is centred across the ticket's width.
QList<QPoint> CentrarEnTicket(const QList<CajaOrganizar>& cajas, int anchoTicket);

// A whole-dot value on the nearest line of a grid of `paso` dots (halves go up).
int EnCuadricula(int valor, int paso);

} // namespace quoravex
