#include "link/ImpresoraVirtual.h"
#include "ParPuertos.h"
#include "link/Trama.h"
#include "support/Bytes.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

using namespace quoravex;
using namespace quoravex::test;
using quoravex::pruebas::Bytes;

namespace {

// A frame of these bytes, then `resto`.
const auto T = [](std::initializer_list<int> bytes, const QByteArray& resto = {}) {
    const QByteArray c = Bytes(bytes) + resto;
    return ConstruirTrama(c, static_cast<int>(c.size()));
};
const auto Borrado = [](int largo, int teclado, int clave = 0x5AA5, int estacion = 1) {
    return T({estacion, 0x5A, 6, clave >> 8, clave & 0xFF, largo & 0xFF, largo >> 8, teclado, 0});
};
const auto Bloque = [](int h, int n) { return T({1, 0x15, n + 4, h, 0, 0x40, n}, QByteArray(n, 'U')); };
const auto Fin = [](int h, int largo) { return T({1, 0x15, 4, h, largo >> 8, largo & 0xFF, 0}); };
const auto Status = [](int estacion = 1) { return T({estacion, 0x55, 0}); };
// Font parts; `cmd` is the font's data command (0x19 turn, 0x23 date, 0x2D time).
const auto Datos = [](int cmd) { return T({1, cmd, 8, 0x0A, 0, 3, 0x80, 0x28, 0, 2, 0x10}); };
const auto Cabecera = [](int cmd, int n) { return T({1, cmd + 1, 5, '0', 0x0C, 0, n & 0xFF, n >> 8}); };
const auto Registro = [](int cmd, int n) { return T({1, cmd + 2, n + 3, 0, 0x40, n}, QByteArray(n, 24)); };
const auto Terminador = [](int cmd) { return T({1, cmd + 1, 1, 0xFF}); };
// Year, month, weekday (1 Sunday), day, hour, minute, second as 15 digit bytes.
const auto Reloj = [](std::initializer_list<int> digitos, int estacion = 0) {
    return T({estacion, 0x51, 15}, Bytes(digitos));
};
const QByteArray Ruido = Bytes({0xAA, 0x55, 0xFE, 0x00, 0x13});
const QByteArray Junio = Reloj({2, 0, 0, 9, 0, 6, 3, 0, 2, 0, 7, 0, 5, 1, 8}); // Tuesday 2009-06-02 07:05:18

// What reaches the printer in one go, and what follows it.
struct Paso {
    Paso(const QByteArray& b = {}, bool p = false, std::optional<ConfiguracionLinea> l = {}, int ms = 0)
        : bytes(b), pausa(p), linea(l), esperaMs(ms) {}
    QByteArray bytes;
    bool pausa;                              // the line goes quiet after the bytes
    std::optional<ConfiguracionLinea> linea; // the line's settings while they arrive
    int esperaMs;                            // time passes before the bytes arrive
};
const Paso Pausa{{}, true};
Paso A(const ConfiguracionLinea& l, const QByteArray& b) {
    return {b, false, l};
}

// What the printer holds, in a line.
QString Resumen(const ImpresoraVirtual& im) {
    QStringList r;
    if (im.borrados) r << QString::asprintf("borrado %d/%x", im.largoTicket, im.codigoTeclado);
    for (const auto& [h, raster] : im.rasters)
        r << QString::asprintf("raster %d:%d%s", h, int(raster.registros.size()), raster.completo ? "." : "");
    for (const auto& [i, font] : im.fonts)
        r << QString::asprintf("font %d:%d%s", i, int(font.caracteres.size()), font.completa ? "." : "");
    if (im.fechaHora) r << im.fechaHora->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (im.tramasDanadas) r << QStringLiteral("dañadas %1").arg(im.tramasDanadas);
    if (im.tramasIlegibles) r << QString::asprintf("ilegibles %d", im.tramasIlegibles);
    if (im.bytesDescartados()) r << QString::asprintf("descartados %d", int(im.bytesDescartados()));
    if (im.bytesPerdidos) r << QString::asprintf("perdidos %d", int(im.bytesPerdidos));
    return r.join(QStringLiteral(", "));
}

} // namespace

TEST(ImpresoraVirtual, TakesRefusesAndFindsFramesAsAPrinterWould) {
    const ConfiguracionLinea lenta = LineaFechaHora, unaParada{19200, 'n', 8, 1};
    QByteArray dano = Borrado(300, 0x11);
    dano[5] = 0x2D;
    struct Caso {
        const char* nombre;
        std::vector<Paso> pasos;
        // Of each step: A ACK, R refused (0x0F), P PROCESANDO, N another status, C a cut reply, '.' none.
        const char* respuestas;
        const char* resumen;
        qsizetype capacidad = 0;
        int latenciaMs = 0;
        FallosImpresora fallos = {};
    };
    const Caso casos[] = {
        Caso{"erase, blocks, end blocks and status",
             {Borrado(300, 0x11), Bloque(0, 3), Fin(0, 300), Fin(1, 300),
              Bloque(2, 2) + Fin(2, 300) + Status()},
             "A A A A AAA", "borrado 300/11, raster 0:6., raster 1:0., raster 2:5."},
        Caso{"fonts of each kind and the clock",
             {Datos(0x19) + Cabecera(0x19, 0) + Terminador(0x19),
              Datos(0x23) + Cabecera(0x23, 9) + Registro(0x23, 1) + Registro(0x23, 2) + Terminador(0x23),
              Datos(0x2D) + Cabecera(0x2D, 4) + Registro(0x2D, 1), A(lenta, Junio)},
             "AAA AAAAA AAA A", "font 0:5., font 1:14., font 2:9, 2009-06-02 07:05:18"},
        Caso{"a repeat is acknowledged and stored once, a refused frame stays refused",
             {Borrado(300, 0x11), Bloque(0, 3), Bloque(0, 3), Fin(0, 299), Fin(0, 299), Fin(0, 300),
              Fin(0, 300), Bloque(0, 3)},
             "A A A R R A A R", "borrado 300/11, raster 0:6."},
        Caso{"wrong key, length or keyboard",
             {Borrado(300, 0x11, 0x5AA6) + Borrado(0, 1) + Borrado(300, 0x14)}, "RRR", ""},
        Caso{"wrong station",
             {Borrado(300, 0x11, 0x5AA5, 2) + Status(0),
              A(lenta, Reloj({2, 0, 0, 9, 0, 6, 3, 0, 2, 0, 7, 0, 5, 1, 8}, 1))},
             "RR R", ""},
        Caso{"wrong line settings get no answer",
             {A(lenta, Borrado(300, 0x11)), A(unaParada, Status()), A(LineaEnvio, Junio),
              A(LineaEnvio, Borrado(300, 0x11))},
             ". . . A", "borrado 300/11, ilegibles 3"},
        Caso{"raster blocks before any erase, file numbers beyond the keyboard's",
             {Bloque(0, 2) + Fin(0, 300), Borrado(300, 0x01) + Bloque(1, 2) + Fin(0, 300),
              Borrado(300, 0x23) + Bloque(3, 2) + Bloque(4, 2)},
             "RR ARA AAR", "borrado 300/23, raster 3:5"},
        Caso{"font records over and under their character's total",
             {Registro(0x19, 1) + Datos(0x19) + Registro(0x19, 1) + Cabecera(0x19, 9),
              Registro(0x19, 7) + Registro(0x19, 1) + Cabecera(0x19, 0) + Terminador(0x19),
              Registro(0x19, 2) + Terminador(0x19)},
             "RARA RARR AA", "font 0:14."},
        Caso{"clock digits above 9 and dates that do not exist",
             {A(lenta, Reloj({2, 0, 0, 9, 0, 10, 6, 0, 2, 0, 7, 0, 5, 1, 8}) +
                           Reloj({2, 0, 0, 9, 0, 2, 2, 3, 0, 0, 7, 0, 5, 1, 8}) +
                           Reloj({2, 0, 0, 9, 0, 6, 4, 0, 2, 0, 7, 0, 5, 1, 8}) +
                           Reloj({2, 0, 0, 9, 0, 6, 3, 0, 2, 2, 4, 0, 5, 1, 8}))},
             "RRRR", ""},
        Caso{"a whole frame with a bad CRC is refused", {dano, Borrado(300, 0x11)}, "R A",
             "borrado 300/11, dañadas 1"},
        Caso{"stray bytes, a pause, then a good frame", {Ruido, Pausa, Status()}, ". . A", "descartados 5"},
        Caso{"a frame right behind stray bytes is found at the pause",
             {Ruido + Borrado(300, 0x11), Pausa, Status()}, ". A A", "borrado 300/11, descartados 5"},
        Caso{"after stray bytes only a good frame is answered",
             {Ruido, Pausa, dano + Bytes({0x01}), Status()}, ". . . A", "descartados 17"},
        Caso{"a frame cut by a pause is dropped", {Status().left(3), Pausa, Status().mid(3), Status()},
             ". . . A", "descartados 5"},
        Caso{"bytes beyond a full buffer are lost", {Status() + Borrado(300, 0x11), Pausa, Status()}, "A . A",
             "descartados 8, perdidos 3", 8},
        Caso{"a frame holds the buffer until its answer is out",
             {Borrado(300, 0x11), Paso(Status(), false, {}, 4), Paso({}, false, {}, 1), Paso(Status(), true),
              Paso({}, false, {}, 5)},
             ". . A . A", "borrado 300/11, descartados 1, perdidos 4", 12, 5},
        // The first frame is damaged and unanswered, the second only damaged.
        Caso{"faults: silence, noise, refusal, busy, a cut reply, another status",
             {Status(), Status(), Status(), Borrado(300, 0x11), Bloque(0, 3), Fin(0, 300), Status()},
             ". R R P C N A", "borrado 300/11, raster 0:6., dañadas 1", 0, 0,
             FallosImpresora{.silencio = 1, .ruido = 2, .rechazo = 1, .procesando = 1, .respuestaCorta = 1,
                             .otroEstado = 1}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        FakeSerialPort puerto;
        puerto.abierto = true;
        ImpresoraVirtual impresora(puerto);
        std::optional<ConfiguracionLinea> linea;
        qint64 ahora = 0;
        impresora.lineaActual = [&] { return linea; };
        impresora.relojMs = [&] { return ahora; };
        impresora.capacidadBuffer = c.capacidad;
        impresora.latenciaMs = c.latenciaMs;
        impresora.fallos = c.fallos;
        QStringList respuestas;
        for (const Paso& p : c.pasos) {
            const qsizetype antes = puerto.escritos.size();
            ahora += p.esperaMs;
            impresora.responderVencidas();
            linea = p.linea;
            if (!p.bytes.isEmpty()) puerto.receive(p.bytes);
            if (p.pausa) impresora.pausa();
            QString letras;
            for (const QByteArray& r : puerto.escritos.mid(antes)) {
                const auto estado = EstadoDeRespuesta(r);
                letras += QLatin1Char(!estado                    ? 'C'
                                      : estado == RespAck        ? 'A'
                                      : estado == RespRepetir    ? 'R'
                                      : estado == RespProcesando ? 'P'
                                                                 : 'N');
            }
            respuestas << (letras.isEmpty() ? QStringLiteral(".") : letras);
        }
        EXPECT_EQ(respuestas.join(QLatin1Char(' ')).toStdString(), c.respuestas);
        EXPECT_EQ(Resumen(impresora).toStdString(), c.resumen);
    }
}
