#include "RecepcionTramas.h"

#include "Trama.h"

#include <limits>

namespace quoravex {

std::optional<QByteArray> RecepcionTramas::siguiente() {
    if (mBuscando) {
        const auto t = BuscarTrama(mBytes);
        if (!t) {
            // A start whose whole length is here and failed the search never becomes a frame.
            qsizetype muertos = 0;
            while (!EsInicioDeTrama(QByteArrayView(mBytes).sliced(muertos)))
                ++muertos;
            descartar(muertos);
            return std::nullopt;
        }
        descartar(t->inicio);
        mBuscando = false;
    }
    if (EsInicioDeTrama(mBytes)) return std::nullopt;
    const qsizetype largo = 5 + static_cast<uint8_t>(mBytes.at(2));
    QByteArray trama = mBytes.left(largo);
    mBytes.remove(0, largo);
    return trama;
}

QList<QByteArray> RecepcionTramas::pausa() {
    QList<QByteArray> encontradas;
    while (!mBytes.isEmpty()) {
        mBuscando = true;
        auto t = siguiente();
        if (!t) break;
        encontradas.append(std::move(*t));
    }
    // What is left belongs to no frame. Unless a good frame came last, the search goes on
    // in the bytes that follow the pause.
    descartar(mBytes.size());
    return encontradas;
}

qsizetype RecepcionTramas::faltan() const {
    if (mBuscando) return std::numeric_limits<qsizetype>::max();
    if (mBytes.size() < 3) return 3 - mBytes.size();
    return 5 + static_cast<uint8_t>(mBytes.at(2)) - mBytes.size();
}

void RecepcionTramas::descartar(qsizetype n) {
    mBytes.remove(0, n);
    mDescartados += n;
}

} // namespace quoravex
