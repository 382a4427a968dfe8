#pragma once

#include <QString>
#include <QStringList>

namespace quoravex {

// Length of the wait tick in which the transfers count their waits: 10 ticks for a reply,
// 50 after a font raster block. 16 ms is the system clock tick the printer's timing was
// made for; a shorter tick gives a printer less time to answer.
struct AjustesTick {
    static constexpr int PorDefecto = 16;
    int tickMs = PorDefecto;

    // "--tick-ms=N" on the command line wins over QUORAVEX_TICK_MS in the environment,
    // which wins over the configuration file's value (0: none). Values outside 1..1000
    // are ignored.
    static AjustesTick desde(const QStringList& argumentos, const QString& entorno, int configurado = 0);
    static AjustesTick desdeProceso(const QStringList& argumentos, int configurado = 0);
    // A tick length in milliseconds from text, or 0 when it is not one.
    static int leer(const QString& texto);
};

} // namespace quoravex
