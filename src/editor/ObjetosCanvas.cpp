#include "ObjetosCanvas.h"

#include "render/Workspace.h"

#include <algorithm>
#include <vector>

namespace quoravex {

int AgregarObjeto(Design& d, Workspace& ws, const NuevoObjeto& nuevo) {
    const int i = d.agregar(nuevo);
    if (i == 0) return 0;
    Surface& s = ws.item(i);
    ws.colocar(i, d.objeto(i));
    s.setBackColor(nuevo.Tipo == TipoLinea ? ColorNegro : ColorCianClaro);
    s.setFillColor(ColorNegro);
    s.setForeColor(ColorNegro);
    s.clear();
    ws.alFrente(i);
    s.refresh();
    return i;
}

void TraerAlFrente(Design& d, Workspace& ws, int i) {
    if (!Design::slotValido(i)) return;
    ws.alFrente(i);
    d.traerAlFrente(i);
}

void LlevarAlFondo(Design& d, Workspace& ws, int i) {
    if (!Design::slotValido(i)) return;
    ws.alFondo(i);
    d.llevarAlFondo(i);
}

void BorrarObjeto(Design& d, Workspace& ws, int i) {
    if (!d.enUso(i)) return;
    ws.alFrente(i);
    d.borrar(i);
    ws.aparcar(i);
}

void ApilarSegunOrden(const Design& d, Workspace& ws) {
    std::vector<int> enUso;
    for (int i = 1; i <= MaxObjetos; ++i)
        if (d.enUso(i)) enUso.push_back(i);
    std::stable_sort(enUso.begin(), enUso.end(),
                     [&d](int a, int b) { return d.objeto(a).Orden < d.objeto(b).Orden; });
    for (const int i : enUso)
        ws.alFrente(i);
}

} // namespace quoravex
