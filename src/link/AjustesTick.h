#pragma once

#include <QString>
#include <QStringList>

namespace quoravex {

// Pacing of the timers whose ticks the transfers count (the reply pause and the transfer
// timers, nominally 1 or 2 ms). Timeouts are counted in ticks, so a printer that needs
// more time to answer is served by a longer tick: 16 ms matches the classic system clock.
struct AjustesTick {
    int intervaloMs = 0; // 0: each timer keeps its nominal interval

    int intervalo(int nominalMs) const { return intervaloMs > 0 ? intervaloMs : nominalMs; }

    // "--tick-ms=N" on the command line wins over QUORAVEX_TICK_MS in the environment.
    // Values outside 1..1000 are ignored.
    static AjustesTick desde(const QStringList& argumentos, const QString& entorno);
    static AjustesTick desdeProceso(const QStringList& argumentos);
};

} // namespace quoravex
