#include "BuscadorTramas.h"

#include "Trama.h"

namespace quoravex {

void BuscadorTramas::agregar(QByteArrayView nuevos, int hasta) {
    const qsizetype antes = mBytes.size();
    mBytes.append(nuevos);
    const QByteArrayView todo(mBytes);
    std::vector<qsizetype> abiertas;
    // Starts not yet whole, then the new ones, in order: a frame found hides the starts
    // inside it, as the sender's next frame follows its end.
    const auto juzgar = [&](qsizetype p) {
        if (p < mFin) return;
        const QByteArrayView desde = todo.sliced(p);
        if (EsInicioDeTrama(desde)) {
            abiertas.push_back(p);
        } else if (const qsizetype largo = TramaCompleta(desde)) {
            ++mTramas;
            mUltima = desde.first(largo).toByteArray();
            mFin = p + largo;
        }
    };
    for (const qsizetype p : mAbiertas) {
        if (mTramas >= hasta) break;
        juzgar(p);
    }
    for (qsizetype p = antes; p < todo.size() && mTramas < hasta; ++p)
        juzgar(p);
    mAbiertas = std::move(abiertas);

    if (mBytes.size() > Limite) {
        // Every start cut off here was whole, so already judged.
        const qsizetype corte = mBytes.size() - Limite;
        mBytes.remove(0, corte);
        mFin = std::max<qsizetype>(0, mFin - corte);
        std::erase_if(mAbiertas, [corte](qsizetype p) { return p < corte; });
        for (qsizetype& p : mAbiertas)
            p -= corte;
    }
}

void BuscadorTramas::vaciar() {
    mBytes.clear();
    mAbiertas.clear();
    mFin = 0;
    mTramas = 0;
    mUltima.clear();
}

} // namespace quoravex
