#include "link/ImpresoraVirtual.h"
#include "FakeSerialPort.h"
#include "link/Trama.h"
#include "support/Bytes.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

using namespace quoravex;
using namespace quoravex::test;
using quoravex::pruebas::Bytes;

namespace {

QByteArray T(const QByteArray& cuerpo) {
    return ConstruirTrama(cuerpo, static_cast<int>(cuerpo.size()));
}
QByteArray Borrado(int largo, int teclado, int clave = 0x5AA5, int estacion = 1) {
    return T(Bytes({estacion, 0x5A, 6, clave >> 8, clave & 0xFF, largo & 0xFF, largo >> 8, teclado, 0}));
}
QByteArray Bloque(int h, int n) {
    return T(Bytes({1, 0x15, n + 4, h, 0x00, 0x40, n}) + QByteArray(n, '\x55'));
}
QByteArray Fin(int h, int largo) {
    return T(Bytes({1, 0x15, 4, h, largo >> 8, largo & 0xFF, 0}));
}
QByteArray Status(int estacion = 1) {
    return T(Bytes({estacion, 0x55, 0}));
}
// Font parts; `cmd` is the font's data command (0x19 turn, 0x23 date, 0x2D time).
QByteArray Datos(int cmd) {
    return T(Bytes({1, cmd, 8, 0x0A, 0, 3, 0x80, 0x28, 0, 2, 0x10}));
}
QByteArray Cabecera(int cmd, int total) {
    return T(Bytes({1, cmd + 1, 5, '0', 0x0C, 0, total & 0xFF, total >> 8}));
}
QByteArray Registro(int cmd, int n) {
    return T(Bytes({1, cmd + 2, n + 3, 0, 0x40, n}) + QByteArray(n, '\x18'));
}
QByteArray Terminador(int cmd) {
    return T(Bytes({1, cmd + 1, 1, 0xFF}));
}
// Year, month, weekday (1 Sunday), day, hour, minute, second as 15 digit bytes.
QByteArray Reloj(std::initializer_list<int> digitos, int estacion = 0) {
    return T(Bytes({estacion, 0x51, 15}) + Bytes(digitos));
}
const QByteArray Ruido = Bytes({0xAA, 0x55, 0xFE, 0x00, 0x13});

// What reaches the printer in one go, and what follows it.
struct Paso {
    QByteArray bytes;
    bool pausa = false;                                     // the line goes quiet after the bytes
    std::optional<ConfiguracionLinea> linea = std::nullopt; // the line's settings while they arrive
    int esperaMs = 0;                                       // time passes before the bytes arrive
};
Paso Llega(const QByteArray& b) {
    return {b};
}
Paso Pausa() {
    return {{}, true};
}
Paso A(const ConfiguracionLinea& l, const QByteArray& b) {
    return {b, false, l};
}
Paso Espera(int ms) {
    return {{}, false, {}, ms};
}

// What the printer holds, in a line.
QString Resumen(const ImpresoraVirtual& im) {
    QStringList r;
    if (im.borrados) r << QStringLiteral("borrado %1/%2").arg(im.largoTicket).arg(im.codigoTeclado, 0, 16);
    for (const auto& [h, raster] : im.rasters)
        r << QStringLiteral("raster %1:%2%3")
                 .arg(h)
                 .arg(raster.registros.size())
                 .arg(raster.completo ? QStringLiteral(".") : QString());
    for (const auto& [i, font] : im.fonts)
        r << QStringLiteral("font %1:%2%3")
                 .arg(i)
                 .arg(font.caracteres.size())
                 .arg(font.completa ? QStringLiteral(".") : QString());
    if (im.fechaHora) r << im.fechaHora->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (im.tramasDanadas) r << QStringLiteral("dañadas %1").arg(im.tramasDanadas);
    if (im.tramasIlegibles) r << QStringLiteral("ilegibles %1").arg(im.tramasIlegibles);
    if (im.bytesDescartados()) r << QStringLiteral("descartados %1").arg(im.bytesDescartados());
    if (im.bytesPerdidos) r << QStringLiteral("perdidos %1").arg(im.bytesPerdidos);
    return r.join(QStringLiteral(", "));
}

} // namespace

TEST(ImpresoraVirtual, TakesRefusesAndFindsFramesAsAPrinterWould) {
    const ConfiguracionLinea lenta = LineaFechaHora, unaParada{19200, 'n', 8, 1};
    const QByteArray dano = [] {
        QByteArray t = Borrado(300, 0x11);
        t[5] = 0x2D;
        return t;
    }();
    const struct {
        const char* nombre;
        std::vector<Paso> pasos;
        // Answers of each step: A ACK, R refused (0x0F), '.' for a step with none.
        const char* respuestas;
        const char* resumen;
        qsizetype capacidad = 0;
        int latenciaMs = 0;
    } casos[] = {
        {"erase, blocks, end blocks and status",
         {Llega(Borrado(300, 0x11)), Llega(Bloque(0, 3)), Llega(Fin(0, 300)), Llega(Fin(1, 300)),
          Llega(Bloque(2, 2) + Fin(2, 300) + Status())},
         "A A A A AAA",
         "borrado 300/11, raster 0:6., raster 1:0., raster 2:5."},
        {"fonts of each kind and the clock",
         {Llega(Datos(0x19) + Cabecera(0x19, 0) + Terminador(0x19)),
          Llega(Datos(0x23) + Cabecera(0x23, 9) + Registro(0x23, 1) + Registro(0x23, 2) + Terminador(0x23)),
          Llega(Datos(0x2D) + Cabecera(0x2D, 4) + Registro(0x2D, 1)),
          A(lenta, Reloj({2, 0, 0, 9, 0, 6, 3, 0, 2, 0, 7, 0, 5, 1, 8}))},
         "AAA AAAAA AAA A",
         "font 0:5., font 1:14., font 2:9, 2009-06-02 07:05:18"},
        {"a repeat is acknowledged and stored once, a refused frame stays refused",
         {Llega(Borrado(300, 0x11)), Llega(Bloque(0, 3)), Llega(Bloque(0, 3)), Llega(Fin(0, 299)),
          Llega(Fin(0, 299)), Llega(Fin(0, 300)), Llega(Fin(0, 300)), Llega(Bloque(0, 3))},
         "A A A R R A A R",
         "borrado 300/11, raster 0:6."},
        {"wrong key, length or keyboard",
         {Llega(Borrado(300, 0x11, 0x5AA6) + Borrado(0, 1) + Borrado(300, 0x14))},
         "RRR",
         ""},
        {"wrong station",
         {Llega(Borrado(300, 0x11, 0x5AA5, 2) + Status(0)),
          A(lenta, Reloj({2, 0, 0, 9, 0, 6, 3, 0, 2, 0, 7, 0, 5, 1, 8}, 1))},
         "RR R",
         ""},
        {"wrong line settings get no answer",
         {A(lenta, Borrado(300, 0x11)), A(unaParada, Status()),
          A(LineaEnvio, Reloj({2, 0, 0, 9, 0, 6, 3, 0, 2, 0, 7, 0, 5, 1, 8})),
          A(LineaEnvio, Borrado(300, 0x11))},
         ". . . A",
         "borrado 300/11, ilegibles 3"},
        {"raster blocks before any erase, file numbers beyond the keyboard's",
         {Llega(Bloque(0, 2) + Fin(0, 300)), Llega(Borrado(300, 0x01) + Bloque(1, 2) + Fin(0, 300)),
          Llega(Borrado(300, 0x23) + Bloque(3, 2) + Bloque(4, 2))},
         "RR ARA AAR",
         "borrado 300/23, raster 3:5"},
        {"font records over and under their character's total",
         {Llega(Registro(0x19, 1) + Datos(0x19) + Registro(0x19, 1) + Cabecera(0x19, 9)),
          Llega(Registro(0x19, 7) + Registro(0x19, 1) + Cabecera(0x19, 0) + Terminador(0x19)),
          Llega(Registro(0x19, 2) + Terminador(0x19))},
         "RARA RARR AA",
         "font 0:14."},
        {"clock digits above 9 and dates that do not exist",
         {A(lenta, Reloj({2, 0, 0, 9, 0, 10, 6, 0, 2, 0, 7, 0, 5, 1, 8}) +
                       Reloj({2, 0, 0, 9, 0, 2, 2, 3, 0, 0, 7, 0, 5, 1, 8}) +
                       Reloj({2, 0, 0, 9, 0, 6, 4, 0, 2, 0, 7, 0, 5, 1, 8}) +
                       Reloj({2, 0, 0, 9, 0, 6, 3, 0, 2, 2, 4, 0, 5, 1, 8}))},
         "RRRR",
         ""},
        {"a whole frame with a bad CRC is refused",
         {Llega(dano), Llega(Borrado(300, 0x11))},
         "R A",
         "borrado 300/11, dañadas 1"},
        {"stray bytes, a pause, then a good frame",
         {Llega(Ruido), Pausa(), Llega(Status())},
         ". . A",
         "descartados 5"},
        {"a frame right behind stray bytes is found at the pause",
         {Llega(Ruido + Borrado(300, 0x11)), Pausa(), Llega(Status())},
         ". A A",
         "borrado 300/11, descartados 5"},
        {"after stray bytes only a good frame is answered",
         {Llega(Ruido), Pausa(), Llega(dano + Bytes({0x01})), Llega(Status())},
         ". . . A",
         "descartados 17"},
        {"a frame cut by a pause is dropped",
         {Llega(Status().left(3)), Pausa(), Llega(Status().mid(3)), Llega(Status())},
         ". . . A",
         "descartados 5"},
        {"bytes beyond a full buffer are lost",
         {Llega(Status() + Borrado(300, 0x11)), Pausa(), Llega(Status())},
         "A . A",
         "descartados 8, perdidos 3",
         8},
        {"a frame holds the buffer until its answer is out",
         {Llega(Borrado(300, 0x11)), Paso{.bytes = Status(), .esperaMs = 4}, Espera(1),
          Paso{.bytes = Status(), .pausa = true}, Espera(5)},
         ". . A . A",
         "borrado 300/11, descartados 1, perdidos 4",
         12,
         5},
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
        QStringList respuestas;
        for (const Paso& p : c.pasos) {
            const qsizetype antes = puerto.escritos.size();
            ahora += p.esperaMs;
            impresora.responderVencidas();
            linea = p.linea;
            if (!p.bytes.isEmpty()) puerto.receive(p.bytes);
            if (p.pausa) impresora.pausa();
            QString letras;
            for (qsizetype i = antes; i < puerto.escritos.size(); ++i) {
                const auto estado = EstadoDeRespuesta(puerto.escritos[i]);
                letras += QLatin1Char(estado == RespAck ? 'A' : estado == RespRepetir ? 'R' : '?');
            }
            respuestas << (letras.isEmpty() ? QStringLiteral(".") : letras);
        }
        EXPECT_EQ(respuestas.join(QLatin1Char(' ')).toStdString(), c.respuestas);
        EXPECT_EQ(Resumen(impresora).toStdString(), c.resumen);
    }
}
