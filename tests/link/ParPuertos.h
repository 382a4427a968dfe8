#pragma once

#include "link/SerialPort.h"

#include <QByteArray>
#include <QList>
#include <functional>
#include <utility>

namespace quoravex::test {

// A serial port in memory. Written bytes wait in the output queue until
// drain(); the test feeds replies with receive(). Every frame written is kept
// in order.
class FakeSerialPort : public SerialPort {
public:
    bool open(int n, const ConfiguracionLinea& l) override {
        ++aperturas;
        if (abierto) close();
        if (rechazarApertura) return false;
        abierto = true;
        numero = n;
        linea = l;
        return true;
    }
    void close() override {
        abierto = false;
        salida.clear();
    }
    bool isOpen() const override { return abierto; }
    bool write(const QByteArray& bytes) override {
        if (!abierto || rechazarEscritura) return false;
        escritos.append(bytes);
        salida.append(bytes);
        if (alEscribir) alEscribir(bytes);
        return true;
    }
    QByteArray readAll() override { return std::exchange(entrada, {}); }
    qint64 bytesAvailable() const override { return entrada.size(); }
    qint64 bytesToWrite() const override { return salida.size(); }
    bool setRts(bool on) override {
        rtsPedido = on;
        if (aceptaLineas) rts = on;
        return aceptaLineas;
    }
    bool setDtr(bool on) override {
        if (aceptaLineas) dtr = on;
        return aceptaLineas;
    }

    // The output queue empties and the port reports it.
    void drain() {
        if (salida.isEmpty()) return;
        salida.clear();
        emit drained();
    }
    void receive(const QByteArray& bytes) {
        entrada.append(bytes);
        emit received();
    }
    void fail(int codigo) { emit errorEvent(codigo); }

    bool abierto = false, rechazarApertura = false, rechazarEscritura = false, aceptaLineas = true;
    bool rts = false, rtsPedido = false, dtr = false;
    int numero = 0, aperturas = 0;
    ConfiguracionLinea linea;
    QByteArray entrada, salida;
    QList<QByteArray> escritos;
    std::function<void(const QByteArray&)> alEscribir; // sees every write
};

// One end of a null-modem cable in memory: what one end writes reaches the other when the
// test calls entregar(). Closing keeps what is on the wire.
class PuertoEnlazado : public FakeSerialPort {
public:
    void close() override { abierto = false; }
    // Moves what was written to the other end; true when anything moved.
    bool entregar() {
        if (salida.isEmpty() || !otro) return false;
        const QByteArray parte = std::exchange(salida, {});
        if (otro->abierto) otro->receive(parte);
        emit drained();
        return true;
    }

    PuertoEnlazado* otro = nullptr;
};

} // namespace quoravex::test
