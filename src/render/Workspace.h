#pragma once

#include "Surface.h"

#include "document/Constantes.h"

#include <QObject>
#include <array>
#include <vector>

namespace quoravex {

struct ObjetoTicket;

// The surfaces of the main window: the canvas, one box per object slot and the
// hidden work surfaces. The canvas widget displays them; the core draws on them.
class Workspace : public QObject {
    Q_OBJECT
public:
    explicit Workspace(QObject* parent = nullptr);

    Surface PicTicket;
    std::array<Surface, NumSlots> PicItem;
    Surface PicLienzo; // raster files are plotted back here
    Surface PicWork;
    Surface PicWork2;
    Surface PicWork3; // variable-field fonts are printed here

    Surface& item(int i) { return PicItem.at(static_cast<size_t>(i)); }
    const Surface& item(int i) const { return PicItem.at(static_cast<size_t>(i)); }

    // Canvas and raster surface sized for a ticket length: 385 x (largo + 1).
    void dimensionarCanvas(int largoTicket);

    // Box stacking, bottom first.
    const std::vector<int>& pila() const { return mPila; }
    void alFrente(int i);
    void alFondo(int i);

    // Moves box i off the canvas, small, white and cleared.
    void aparcar(int i);
    // Puts box i at the record's geometry.
    void colocar(int i, const ObjetoTicket& o);

signals:
    // A surface was refreshed or the stacking changed: the display should repaint.
    void cambiado();

private:
    std::vector<int> mPila;
};

} // namespace quoravex
