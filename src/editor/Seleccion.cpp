#include "Seleccion.h"

#include "document/Design.h"
#include "render/Workspace.h"

#include <algorithm>

namespace quoravex {

void Seleccion::poner(QList<int> lista) {
    std::sort(lista.begin(), lista.end());
    lista.erase(std::unique(lista.begin(), lista.end()), lista.end());
    if (lista == mObjetos) return;
    mObjetos = std::move(lista);
    emit cambiada();
}

void Seleccion::agregar(const QList<int>& lista) {
    poner(mObjetos + lista);
}

void Seleccion::alternar(int i) {
    QList<int> nuevos = mObjetos;
    if (!nuevos.removeOne(i)) nuevos << i;
    poner(nuevos);
}

void Seleccion::depurar(const Design& d) {
    QList<int> quedan;
    for (int i : mObjetos)
        if (d.enUso(i)) quedan << i;
    poner(quedan);
}

QList<int> Seleccion::elegidos(const Design& d) const {
    QList<int> r;
    for (int i : mObjetos)
        if (d.enUso(i)) r << i;
    if (r.isEmpty() && d.enUso(d.Objeto)) r << d.Objeto;
    return r;
}

QList<int> ObjetosDeLaVista(const Design& d, const Workspace& ws) {
    QList<int> r;
    for (int i = 1; i <= MaxObjetos; ++i)
        if (d.enUso(i) && d.objeto(i).Pendiente == Falso && ws.item(i).visible() &&
            d.visibilidad(i) == Visibilidad::Normal)
            r << i;
    return r;
}

QList<int> ObjetosEnRectangulo(const Design& d, const Workspace& ws, const QRect& rect) {
    QList<int> r;
    for (int i : ObjetosDeLaVista(d, ws))
        if (rect.contains(ws.item(i).geometry())) r << i;
    return r;
}

QList<int> EnOrdenDePila(const Design& d, QList<int> lista) {
    std::stable_sort(lista.begin(), lista.end(),
                     [&d](int a, int b) { return d.objeto(a).Orden < d.objeto(b).Orden; });
    return lista;
}

} // namespace quoravex
