#pragma once

#include "link/LinkSink.h"

#include <cstdint>
#include <functional>
#include <map>

namespace quoravex::test {

// Virtual time for the link's timers and for what the printer does, in milliseconds.
// Timers and events run in time order; events first when they fall on the same moment.
class RelojFalso {
public:
    int64_t ahora = 0;
    // What each timer calls when it fires.
    std::map<Reloj, std::function<void()>> ticks;

    // Timer r restarts with this interval, or stops when it is 0 or less.
    void reiniciar(Reloj r, int ms) {
        if (ms <= 0) {
            mTemporizadores.erase(r);
            return;
        }
        mTemporizadores[r] = {ms, ahora + ms, ++mGeneracion};
    }
    bool activo(Reloj r) const { return mTemporizadores.count(r) > 0; }
    void programar(int64_t cuando, std::function<void()> f) { mEventos.emplace(cuando, std::move(f)); }

    // Runs until fin() holds, nothing is left to run, or the limit is reached.
    bool correr(const std::function<bool()>& fin, int64_t limiteMs) {
        while (!fin()) {
            auto temporizador = mTemporizadores.end();
            for (auto it = mTemporizadores.begin(); it != mTemporizadores.end(); ++it)
                if (temporizador == mTemporizadores.end() ||
                    it->second.proximo < temporizador->second.proximo)
                    temporizador = it;
            const bool hayEvento = !mEventos.empty();
            const bool hayTemporizador = temporizador != mTemporizadores.end();
            if (!hayEvento && !hayTemporizador) return false;
            if (hayEvento && (!hayTemporizador || mEventos.begin()->first <= temporizador->second.proximo)) {
                if (mEventos.begin()->first > limiteMs) return false;
                ahora = std::max(ahora, mEventos.begin()->first);
                const auto f = std::move(mEventos.begin()->second);
                mEventos.erase(mEventos.begin());
                f();
                continue;
            }
            if (temporizador->second.proximo > limiteMs) return false;
            const Reloj r = temporizador->first;
            const uint64_t generacion = temporizador->second.generacion;
            ahora = temporizador->second.proximo;
            if (const auto tick = ticks.find(r); tick != ticks.end() && tick->second) tick->second();
            // A timer that its own tick did not restart or stop goes on periodically.
            if (const auto it = mTemporizadores.find(r);
                it != mTemporizadores.end() && it->second.generacion == generacion)
                it->second.proximo += it->second.intervalo;
        }
        return true;
    }

private:
    struct Temporizador {
        int intervalo;
        int64_t proximo;
        uint64_t generacion;
    };
    std::map<Reloj, Temporizador> mTemporizadores;
    std::multimap<int64_t, std::function<void()>> mEventos;
    uint64_t mGeneracion = 0;
};

} // namespace quoravex::test
