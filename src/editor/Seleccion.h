#pragma once

#include <QList>
#include <QObject>
#include <QRect>

namespace quoravex {

class Design;
class Workspace;

// The objects selected on the canvas, a set of slots beside the current object
// (Design::Objeto), which stays the object the single-object commands act on.
class Seleccion : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The selected slots, lowest first.
    const QList<int>& objetos() const { return mObjetos; }
    bool contiene(int i) const { return mObjetos.contains(i); }
    bool vacia() const { return mObjetos.isEmpty(); }

    void poner(QList<int> lista);
    void agregar(const QList<int>& lista);
    // Ctrl+click: in if it was out, out if it was in.
    void alternar(int i);
    void vaciar() { poner({}); }
    // Leaves out slots that are no longer in use.
    void depurar(const Design& d);
    // What the commands act on: the selected objects still in use, or the current object
    // when none is selected.
    QList<int> elegidos(const Design& d) const;

signals:
    void cambiada();

private:
    QList<int> mObjetos;
};

// The objects that belong to the current view (shown in full, not dimmed), lowest slot first.
QList<int> ObjetosDeLaVista(const Design& d, const Workspace& ws);
// Those of them whose boxes lie wholly inside the rectangle.
QList<int> ObjetosEnRectangulo(const Design& d, const Workspace& ws, const QRect& r);
// The slots in stacking order, bottom first.
QList<int> EnOrdenDePila(const Design& d, QList<int> lista);

} // namespace quoravex
