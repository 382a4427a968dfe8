#pragma once

#include "FakeSerialPort.h"
#include "RecordingSink.h"
#include "document/Design.h"
#include "link/EnlaceImpresora.h"
#include "support/Bytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <optional>

namespace quoravex::test {

using quoravex::pruebas::Bytes;

constexpr uint8_t Ack = 0x06, Procesando = 0x07, Repetir = 0x0F, Nak = 0x15;
const QString ErrorComunicacion = QStringLiteral("Error de comunicación con Impresora");

// A reply of the printer carrying this status in its fourth byte.
inline QByteArray Respuesta(uint8_t estado) {
    return Bytes({0x01, 0x55, 0x01, estado});
}

// A transfer window without the window: fake port, recorded sink, link and a folder for
// the data files.
struct Banco {
    Banco() { cargado = enlace.Cargar(1, false); }

    void escribir(const QString& nombre, const QByteArray& datos) {
        pruebas::Escribir(QDir(dir.path()).filePath(nombre), datos);
    }
    // The printer answers: bytes arrive, then the pause that ends a reply.
    void responder(uint8_t estado) {
        puerto.receive(Respuesta(estado));
        enlace.tickTOut();
    }
    // Frames written so far, without their CRC.
    QList<QByteArray> cuerpos() const {
        QList<QByteArray> r;
        for (const QByteArray& t : puerto.escritos)
            r.append(t.left(t.size() - 2));
        return r;
    }
    int contar(const QString& linea) const { return static_cast<int>(sink.lineas.count(linea)); }

    QTemporaryDir dir;
    FakeSerialPort puerto;
    RecordingSink sink;
    EnlaceImpresora enlace{puerto, sink, LineaEnvio};
    Design design;
    bool cargado = false;
};

// Answers each frame with the next status of the list, silence for nullopt, and ACK once
// the list is used up.
using Impresora = std::function<std::optional<uint8_t>(const QByteArray& trama)>;
inline Impresora Guion(std::initializer_list<std::optional<uint8_t>> estados) {
    auto cola = std::make_shared<std::deque<std::optional<uint8_t>>>(estados);
    return [cola](const QByteArray&) -> std::optional<uint8_t> {
        if (cola->empty()) return uint8_t{0x06};
        const auto e = cola->front();
        cola->pop_front();
        return e;
    };
}

// Ticks the machine until it stops (or the tick budget runs out), the output draining
// before every tick and each new frame answered by the printer.
template <class M>
int Correr(Banco& b, M& maquina, const std::function<bool()>& activo, Impresora impresora = Guion({}),
           int maxTicks = 100000) {
    int ticks = 0;
    qsizetype vistos = b.puerto.escritos.size();
    while (activo() && ticks < maxTicks) {
        b.puerto.drain();
        maquina.tick();
        ++ticks;
        while (vistos < b.puerto.escritos.size()) {
            const QByteArray trama = b.puerto.escritos.at(vistos++);
            if (const auto estado = impresora(trama)) b.responder(*estado);
        }
    }
    return ticks;
}

} // namespace quoravex::test
