#include "Workspace.h"

#include "document/ObjetoTicket.h"

#include <algorithm>

namespace quoravex {

Workspace::Workspace(QObject* parent) : QObject(parent) {
    auto avisar = [this] { emit cambiado(); };
    PicTicket.setAlRefrescar(avisar);
    for (auto& s : PicItem)
        s.setAlRefrescar(avisar);
    for (int i = 0; i < NumSlots; ++i)
        mPila.push_back(i);
    dimensionarCanvas(500);
    for (int i = 0; i < NumSlots; ++i)
        aparcar(i);
}

void Workspace::dimensionarCanvas(int largoTicket) {
    const int alto = std::max(largoTicket, 0) + 1;
    PicTicket.resize(AnchoCanvas, alto);
    PicLienzo.resize(AnchoCanvas, alto);
    PicTicket.refresh();
}

void Workspace::alFrente(int i) {
    std::erase(mPila, i);
    mPila.push_back(i);
    emit cambiado();
}

void Workspace::alFondo(int i) {
    std::erase(mPila, i);
    mPila.insert(mPila.begin(), i);
    emit cambiado();
}

void Workspace::aparcar(int i) {
    Surface& s = item(i);
    s.setGeometry(1000, 0, 14, 17);
    s.setBackColor(ColorBlanco);
    s.setFillColor(ColorNegro);
    s.setForeColor(ColorNegro);
    s.clear();
    s.refresh();
}

void Workspace::colocar(int i, const ObjetoTicket& o) {
    item(i).setGeometry(o.Left, o.Top, o.Width, o.Height);
}

} // namespace quoravex
