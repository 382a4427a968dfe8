#pragma once

#include "FakeSerialPort.h"
#include "RecordingSink.h"
#include "RelojFalso.h"
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
const QString TimeOut = QStringLiteral("  R -> TIME OUT");

// A reply of the printer: a whole frame carrying this status in its fourth byte.
inline QByteArray Respuesta(uint8_t estado) {
    return ConstruirTrama(Bytes({0x01, 0x55, 0x01, estado}), 4);
}

// Answers each frame with a status, or with silence for nullopt.
using Impresora = std::function<std::optional<uint8_t>(const QByteArray& trama)>;

// The statuses of the list in turn, then ACK once the list is used up.
inline Impresora Guion(std::initializer_list<std::optional<uint8_t>> estados) {
    auto cola = std::make_shared<std::deque<std::optional<uint8_t>>>(estados);
    return [cola](const QByteArray&) -> std::optional<uint8_t> {
        if (cola->empty()) return uint8_t{0x06};
        const auto e = cola->front();
        cola->pop_front();
        return e;
    };
}

// A transfer window without the window, on virtual time: a fake port, a recorded sink,
// the link, a folder for the data files and a printer that answers every frame.
struct Banco {
    explicit Banco(int tickMs = AjustesTick::PorDefecto)
        : enlace(puerto, sink, LineaEnvio, AjustesTick{tickMs}) {
        sink.falso = &reloj;
        reloj.ticks[Reloj::TOut] = [this] { enlace.tickTOut(); };
        puerto.alEscribir = [this](const QByteArray& t) { alEscribir(t); };
        cargado = enlace.Cargar(1, false);
    }

    void escribir(const QString& nombre, const QByteArray& datos) {
        pruebas::Escribir(QDir(dir.path()).filePath(nombre), datos);
    }
    // A reply arrives now.
    void responder(uint8_t estado) { puerto.receive(Respuesta(estado)); }
    // Runs the virtual clock while `activo` holds; false when the limit came first.
    bool correr(const std::function<bool()>& activo, int64_t limiteMs = 3600 * 1000) {
        return reloj.correr([&] { return !activo(); }, reloj.ahora + limiteMs);
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
    RelojFalso reloj;
    FakeSerialPort puerto;
    RecordingSink sink;
    EnlaceImpresora enlace;
    Design design;
    bool cargado = false;

    // The printer: what it answers, how long after the frame has left, in one piece or in
    // two pieces this many ms apart, and whether bytes take their time at 19200 baud.
    Impresora impresora = Guion({});
    int latenciaMs = 0;
    std::function<int(int escritura)> latenciaDe; // by the number of the write (1, 2...), if set
    int partirMs = -1;
    bool ritmo = false;

private:
    int64_t msLinea(qsizetype n) const { return ritmo ? (n * 11 * 1000 + 19199) / 19200 : 0; }

    void alEscribir(const QByteArray& trama) {
        const int64_t salida = std::max(reloj.ahora, mLineaLibre) + msLinea(trama.size());
        mLineaLibre = salida;
        reloj.programar(salida, [this] { puerto.drain(); });
        const auto estado = impresora ? impresora(trama) : std::nullopt;
        if (!estado) return;
        const QByteArray r = Respuesta(*estado);
        const int latencia = latenciaDe ? latenciaDe(static_cast<int>(puerto.escritos.size())) : latenciaMs;
        const int64_t llega = salida + latencia + msLinea(r.size());
        if (partirMs < 0) {
            reloj.programar(llega, [this, r] { puerto.receive(r); });
            return;
        }
        reloj.programar(llega, [this, r] { puerto.receive(r.left(3)); });
        reloj.programar(llega + partirMs, [this, r] { puerto.receive(r.mid(3)); });
    }

    int64_t mLineaLibre = 0;
};

} // namespace quoravex::test
