#pragma once

#include "link/SerialPort.h"

namespace quoravex::test {

// One end of a null-modem cable in memory: what one end writes reaches the other when the
// test calls entregar(), at most `trozo` bytes at a time.
class PuertoEnlazado : public SerialPort {
public:
    bool open(int, const ConfiguracionLinea&) override { return abierto = true; }
    void close() override { abierto = false; }
    bool isOpen() const override { return abierto; }
    bool write(const QByteArray& bytes) override {
        if (!abierto) return false;
        salida.append(bytes);
        return true;
    }
    QByteArray readAll() override {
        QByteArray r = entrada;
        entrada.clear();
        return r;
    }
    qint64 bytesAvailable() const override { return entrada.size(); }
    qint64 bytesToWrite() const override { return salida.size(); }
    bool setRts(bool) override { return true; }
    bool setDtr(bool) override { return true; }

    // Moves what was written to the other end; true when anything moved.
    bool entregar() {
        if (salida.isEmpty() || !otro) return false;
        const QByteArray parte = salida.left(trozo);
        salida.remove(0, parte.size());
        if (otro->abierto) {
            otro->entrada.append(parte);
            emit otro->received();
        }
        if (salida.isEmpty()) emit drained();
        return true;
    }

    PuertoEnlazado* otro = nullptr;
    bool abierto = false;
    qsizetype trozo = 1 << 20;
    QByteArray entrada;
    QByteArray salida;
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
