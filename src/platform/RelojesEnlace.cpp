#include "RelojesEnlace.h"

#include <QTimer>

namespace quoravex {

RelojesEnlace::RelojesEnlace(QObject* parent) : QObject(parent) {}

RelojesEnlace::~RelojesEnlace() {
    detenerTodos();
}

void RelojesEnlace::asignar(Reloj r, std::function<void()> tick) {
    mTicks[r] = std::move(tick);
    reloj(r);
}

QTimer* RelojesEnlace::reloj(Reloj r) {
    auto it = mRelojes.find(r);
    if (it != mRelojes.end()) return it->second;
    auto* t = new QTimer(this);
    t->setTimerType(Qt::PreciseTimer);
    connect(t, &QTimer::timeout, this, [this, r] {
        const auto tick = mTicks.find(r);
        if (tick != mTicks.end() && tick->second) tick->second();
    });
    mRelojes.emplace(r, t);
    return t;
}

void RelojesEnlace::reiniciar(Reloj r, int intervaloMs) {
    QTimer* t = reloj(r);
    t->stop();
    if (intervaloMs > 0) t->start(intervaloMs);
}

void RelojesEnlace::detenerTodos() {
    for (auto& [r, t] : mRelojes)
        t->stop();
}

bool RelojesEnlace::activo(Reloj r) const {
    const auto it = mRelojes.find(r);
    return it != mRelojes.end() && it->second->isActive();
}

int RelojesEnlace::intervalo(Reloj r) const {
    return activo(r) ? mRelojes.at(r)->interval() : 0;
}

} // namespace quoravex
