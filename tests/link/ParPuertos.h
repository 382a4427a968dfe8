#pragma once

#include "FakeSerialPort.h"

namespace quoravex::test {

// One end of a null-modem cable in memory: what one end writes reaches the other when the
// test calls entregar(), at most `trozo` bytes at a time. Closing keeps what is on the wire.
class PuertoEnlazado : public FakeSerialPort {
public:
    void close() override { abierto = false; }
    // Moves what was written to the other end; true when anything moved.
    bool entregar() {
        if (salida.isEmpty() || !otro) return false;
        const QByteArray parte = salida.left(trozo);
        salida.remove(0, parte.size());
        if (otro->abierto) otro->receive(parte);
        if (salida.isEmpty()) emit drained();
        return true;
    }

    PuertoEnlazado* otro = nullptr;
    qsizetype trozo = 1 << 20;
};

struct ParPuertos {
    ParPuertos() {
        pc.otro = &impresora;
        impresora.otro = &pc;
        impresora.abierto = true;
    }
    PuertoEnlazado pc;
    PuertoEnlazado impresora;
};

} // namespace quoravex::test
