#include "Organizar.h"

#include "document/Numeros.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace quoravex {

namespace {

int redondear(double v) {
    return RedondeoPar(v).value_or(0);
}

QPoint dentro(const CajaOrganizar& c, int left, int top) {
    return QPoint(c.lefts.ajustar(left), c.tops.ajustar(top));
}

} // namespace

std::pair<Intervalo, Intervalo> LimitesArrastre(bool linea, int ancho, int alto, int largoTicket) {
    constexpr int AnchoPapel = 384;
    if (linea) return {{1, 382}, {1, largoTicket - 2}};
    const double medioAncho = ancho / 2.0;
    const double medioAlto = alto / 2.0;
    return {{redondear(-medioAncho), redondear(AnchoPapel - medioAncho)},
            {redondear(-medioAlto), redondear(largoTicket - medioAlto)}};
}

QRect Envolvente(const QList<QRect>& cajas) {
    QRect r;
    for (const QRect& c : cajas)
        r = r.isNull() ? c : r.united(c);
    return r;
}

QList<QPoint> Alinear(const QList<CajaOrganizar>& cajas, Alineacion a, const QRect& ref) {
    QList<QPoint> r;
    for (const CajaOrganizar& c : cajas) {
        const QRect& b = c.caja;
        int left = b.left(), top = b.top();
        switch (a) {
        case Alineacion::Izquierda:
            left = ref.left();
            break;
        case Alineacion::Derecha:
            left = ref.left() + ref.width() - b.width();
            break;
        case Alineacion::Arriba:
            top = ref.top();
            break;
        case Alineacion::Abajo:
            top = ref.top() + ref.height() - b.height();
            break;
        case Alineacion::CentrosHorizontal:
            left = ref.left() + redondear((ref.width() - b.width()) / 2.0);
            break;
        case Alineacion::CentrosVertical:
            top = ref.top() + redondear((ref.height() - b.height()) / 2.0);
            break;
        }
        r << dentro(c, left, top);
    }
    return r;
}

QList<QPoint> Distribuir(const QList<CajaOrganizar>& cajas, Qt::Orientation orientacion) {
    QList<QPoint> r;
    for (const CajaOrganizar& c : cajas)
        r << c.caja.topLeft();
    const qsizetype n = cajas.size();
    if (n < 3) return r;
    const bool horizontal = orientacion == Qt::Horizontal;
    const auto inicio = [&](qsizetype i) { return horizontal ? cajas[i].caja.left() : cajas[i].caja.top(); };
    const auto largo = [&](qsizetype i) { return horizontal ? cajas[i].caja.width() : cajas[i].caja.height(); };
    std::vector<qsizetype> orden(static_cast<size_t>(n));
    std::iota(orden.begin(), orden.end(), 0);
    std::stable_sort(orden.begin(), orden.end(), [&](qsizetype a, qsizetype b) { return inicio(a) < inicio(b); });

    const qsizetype primera = orden.front(), ultima = orden.back();
    int ocupado = 0;
    for (size_t k = 1; k + 1 < orden.size(); ++k)
        ocupado += largo(orden[k]);
    const int espacio = inicio(ultima) - (inicio(primera) + largo(primera)) - ocupado;
    const int huecos = static_cast<int>(n - 1);
    // Floor division, so that a negative space (overlapping boxes) splits the same way.
    int base = espacio / huecos;
    if (espacio % huecos != 0 && espacio < 0) --base;
    const int resto = espacio - base * huecos;

    int pos = inicio(primera) + largo(primera);
    for (size_t k = 1; k + 1 < orden.size(); ++k) {
        pos += base + (static_cast<int>(k) <= resto ? 1 : 0);
        const qsizetype i = orden[k];
        const CajaOrganizar& c = cajas[i];
        r[i] = horizontal ? dentro(c, pos, c.caja.top()) : dentro(c, c.caja.left(), pos);
        pos += largo(i);
    }
    return r;
}

QList<QPoint> CentrarEnTicket(const QList<CajaOrganizar>& cajas, int anchoTicket) {
    QList<QRect> rects;
    for (const CajaOrganizar& c : cajas)
        rects << c.caja;
    const QRect bloque = Envolvente(rects);
    const int dx = redondear((anchoTicket - bloque.width()) / 2.0) - bloque.left();
    QList<QPoint> r;
    for (const CajaOrganizar& c : cajas)
        r << dentro(c, c.caja.left() + dx, c.caja.top());
    return r;
}

int EnCuadricula(int valor, int paso) {
    if (paso <= 1) return valor;
    const int abajo = valor >= 0 ? valor / paso * paso : -((-valor + paso - 1) / paso * paso);
    return valor - abajo * 1 >= (paso + 1) / 2 ? abajo + paso : abajo;
}

} // namespace quoravex
