#include "Imanes.h"

#include "document/Numeros.h"

#include <cstdlib>
#include <optional>

namespace quoravex {

namespace {

// Snaps the start (left or top) of a box `tamano` dots long, adding the guides it lines up with.
int imantarEje(int inicio, int tamano, const QList<double>& referencias, int distancia, Intervalo rango,
               Qt::Orientation orientacion, QList<Guia>& guias) {
    const double propios[] = {0.0, tamano / 2.0, double(tamano)}; // start, centre, end
    auto destino = [&](double ref, double propio) { return RedondeoPar(ref - propio).value_or(inicio); };

    // The strip's centre line comes first, so any other guide must be strictly nearer to win.
    std::optional<int> mejor;
    for (const double ref : referencias) {
        for (const double propio : propios) {
            const int d = destino(ref, propio);
            if (!rango.contiene(d) || std::abs(d - inicio) > distancia) continue;
            if (!mejor || std::abs(d - inicio) < std::abs(*mejor - inicio)) mejor = d;
        }
    }
    if (!mejor) return rango.ajustar(inicio);
    for (const double ref : referencias) {
        for (const double propio : propios) {
            const Guia g{orientacion, ref};
            if (destino(ref, propio) == *mejor && !guias.contains(g)) guias << g;
        }
    }
    return *mejor;
}

} // namespace

Imantado Imantar(const QRect& caja, const QList<QRect>& otras, int anchoTira, int distancia,
                 Intervalo rangoLeft, Intervalo rangoTop) {
    QList<double> enX{anchoTira / 2.0};
    QList<double> enY;
    for (const QRect& o : otras) {
        // Edges are the lines between dots: a box's right edge is left + width.
        for (const double x : {double(o.left()), o.left() + o.width() / 2.0, double(o.left() + o.width())})
            enX << x;
        for (const double y : {double(o.top()), o.top() + o.height() / 2.0, double(o.top() + o.height())})
            enY << y;
    }
    Imantado r;
    r.left = imantarEje(caja.left(), caja.width(), enX, distancia, rangoLeft, Qt::Vertical, r.guias);
    r.top = imantarEje(caja.top(), caja.height(), enY, distancia, rangoTop, Qt::Horizontal, r.guias);
    return r;
}

} // namespace quoravex
