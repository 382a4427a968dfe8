#include "Rotar.h"

#include "Workspace.h"
#include "document/Design.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quoravex {

namespace {

// Where pixel (X, Y) of a w x h block goes.
QPoint destino(int modo, int X, int Y, int w, int h) {
    switch (modo) {
    case RotarHorario:
        return {h - 1 - Y, X};
    case RotarMediaVuelta:
        return {w - 1 - X, h - 1 - Y};
    default:
        return {Y, w - 1 - X};
    }
}

// Formats of whole bytes per pixel: the block goes through a packed copy of its bytes,
// so row padding at the end of each scan line is never touched.
void rotarBytes(QImage& imagen, int modo, const QRect& bloque) {
    const int P = imagen.depth() / 8;
    const int w = bloque.width(), h = bloque.height();
    const auto fila = static_cast<size_t>(w) * P;
    std::vector<uchar> origen(fila * h), turnado(fila * h);
    for (int Y = 0; Y < h; ++Y)
        std::memcpy(origen.data() + Y * fila, imagen.constScanLine(bloque.y() + Y) + bloque.x() * P, fila);
    for (int Y = 0; Y < h; ++Y)
        for (int X = 0; X < w; ++X) {
            const QPoint d = destino(modo, X, Y, w, h);
            std::memcpy(turnado.data() + d.y() * fila + static_cast<size_t>(d.x()) * P,
                        origen.data() + Y * fila + static_cast<size_t>(X) * P, static_cast<size_t>(P));
        }
    for (int Y = 0; Y < h; ++Y)
        std::memcpy(imagen.scanLine(bloque.y() + Y) + bloque.x() * P, turnado.data() + Y * fila, fila);
}

// One-bit formats: pixels are palette indices packed eight to a byte.
void rotarIndices(QImage& imagen, int modo, const QRect& bloque) {
    const int w = bloque.width(), h = bloque.height();
    std::vector<int> origen(static_cast<size_t>(w) * h);
    for (int Y = 0; Y < h; ++Y)
        for (int X = 0; X < w; ++X)
            origen[static_cast<size_t>(Y) * w + X] = imagen.pixelIndex(bloque.x() + X, bloque.y() + Y);
    for (int Y = 0; Y < h; ++Y)
        for (int X = 0; X < w; ++X) {
            const QPoint d = destino(modo, X, Y, w, h);
            imagen.setPixel(bloque.x() + d.x(), bloque.y() + d.y(),
                            static_cast<uint>(origen[static_cast<size_t>(Y) * w + X]));
        }
}

} // namespace

bool RotarBitmap(QImage& imagen, int modo, int x, int y, int w, int h) {
    if (modo != RotarHorario && modo != RotarMediaVuelta && modo != RotarAntihorario) return false;
    const QRect bloque(x, y, w, h);
    if (imagen.isNull() || bloque.isEmpty() || !imagen.rect().contains(bloque)) return false;
    // A quarter turn of a w x h block lands on h x w: only a square turns into itself.
    if (modo != RotarMediaVuelta && w != h) return false;
    if (imagen.depth() % 8 == 0)
        rotarBytes(imagen, modo, bloque);
    else
        rotarIndices(imagen, modo, bloque);
    return true;
}

bool PBRotar(Design& diseno, Workspace& ws) {
    if (!diseno.enUso(diseno.Objeto)) return false;
    Surface& caja = ws.item(diseno.Objeto);
    const int W = caja.width(), H = caja.height();
    const int N = std::max(W, H);
    caja.resize(N, N);
    if (!RotarBitmap(caja.image(), RotarHorario, 0, 0, N, N)) { // a box the surface could not square
        caja.resize(W, H);
        return false;
    }
    // A wide box's picture turns into the square's right-hand columns; a tall one's
    // into its top rows. The box keeps just the turned picture.
    if (W > H)
        caja.image() = caja.image().copy(N - H, 0, H, W);
    else
        caja.resize(H, W);
    caja.refresh();
    diseno.TicketModificado = Verdadero;
    return true;
}

} // namespace quoravex
