#pragma once

#include "link/LinkSink.h"

#include <QObject>
#include <functional>
#include <map>

class QTimer;

namespace quoravex {

// The timers of a transfer window, one per clock of the link, each calling its tick.
// They fire at the millisecond they are asked for (precise timers), so tick counts are
// set by the configured interval and not by the system clock.
class RelojesEnlace : public QObject {
    Q_OBJECT
public:
    explicit RelojesEnlace(QObject* parent = nullptr);
    ~RelojesEnlace() override;

    // The tick that clock r calls.
    void asignar(Reloj r, std::function<void()> tick);
    // Restarts clock r with the interval, or stops it when the interval is 0 or less.
    void reiniciar(Reloj r, int intervaloMs);
    void detenerTodos();

    bool activo(Reloj r) const;
    // Interval of a running clock, or 0 when it is stopped.
    int intervalo(Reloj r) const;

private:
    QTimer* reloj(Reloj r);

    std::map<Reloj, QTimer*> mRelojes;
    std::map<Reloj, std::function<void()>> mTicks;
};

} // namespace quoravex
