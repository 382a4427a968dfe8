#include "TiempoLinea.h"

#include <algorithm>

namespace quoravex {

TiempoLinea::TiempoLinea(std::function<void()> vaciado, QObject* parent)
    : QObject(parent), mVaciado(std::move(vaciado)) {
    mReloj.start();
    mTemporizador.setSingleShot(true);
    mTemporizador.setTimerType(Qt::PreciseTimer);
    connect(&mTemporizador, &QTimer::timeout, this, [this] { mVaciado(); });
}

void TiempoLinea::configurar(const ConfiguracionLinea& linea) {
    // Start bit, data bits, parity and stop bits: 11 for 8,n,2.
    const int bits = 1 + linea.bitsDatos + (linea.paridad == 'n' ? 0 : 1) + linea.bitsParada;
    mNsPorByte = linea.baudios > 0 ? bits * 1000000000LL / linea.baudios : 0;
    mLineaLibreNs = 0;
    mTemporizador.stop();
}

void TiempoLinea::escrito(qsizetype bytes) {
    mLineaLibreNs = std::max(mReloj.nsecsElapsed(), mLineaLibreNs) + bytes * mNsPorByte;
}

void TiempoLinea::revisar() {
    const qint64 falta = mLineaLibreNs - mReloj.nsecsElapsed();
    if (falta > 0) {
        mTemporizador.start(static_cast<int>((falta + 999999) / 1000000));
        return;
    }
    mVaciado();
}

void TiempoLinea::detener() {
    mTemporizador.stop();
}

} // namespace quoravex
