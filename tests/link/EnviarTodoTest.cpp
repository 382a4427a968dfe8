#include "link/EnviarTodo.h"
#include "Banco.h"
#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"

#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

namespace {

struct BancoTodo : Banco {
    TransferenciaRaster raster{enlace, design, dir.path()};
    TransferenciaFont turno{enlace, TipoFont::Turno(), dir.path()};
    EnviarTodo todo{enlace, raster, turno};

    // The window's timers, in the order they would fire, until the sequence ends.
    void correr(const Impresora& impresora) {
        todo.iniciar();
        qsizetype vistos = puerto.escritos.size();
        for (int i = 0; i < 200000 && todo.activo(); ++i) {
            puerto.drain();
            if (sink.relojActivo(Reloj::Raster)) raster.tick();
            if (sink.relojActivo(Reloj::FontTurno)) turno.tick();
            if (i % 50 == 0 && sink.relojActivo(Reloj::EnviarTodo)) todo.tick();
            while (vistos < puerto.escritos.size())
                if (const auto e = impresora(puerto.escritos.at(vistos++))) responder(*e);
        }
    }
    QByteArray comandos() const {
        QByteArray r;
        for (const QByteArray& t : puerto.escritos)
            r.append(t.at(1));
        return r;
    }
};

} // namespace

TEST(EnviarTodo, RasterThenTurnFont) {
    const struct {
        const char* nombre;
        bool rasterFalla, fuenteFalla;
        QByteArray comandos;
    } casos[] = {
        {"both", false, false, Bytes({0x5A, 0x15, 0x19, 0x1A, 0x1A})},
        {"raster fails: no font", true, false, QByteArray(11, 0x5A)},
        {"font fails", false, true, Bytes({0x5A, 0x15}) + QByteArray(11, 0x19)},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        BancoTodo b;
        b.escribir(QStringLiteral("Salida00.bin"), Bytes({0x00}));
        b.escribir(QStringLiteral("DatosRasterTurno.bin"),
                   QByteArray(8, '\x01') + Bytes({0x30, 0x0C, 0x00, 0x00, 0x00, 0xFF}));
        b.enlace.ErrorEnvio = true; // left from an earlier run
        b.correr([&c](const QByteArray& t) -> std::optional<uint8_t> {
            return (c.rasterFalla && t.at(1) == 0x5A) || (c.fuenteFalla && t.at(1) == 0x19) ? Repetir : Ack;
        });
        EXPECT_FALSE(b.todo.activo());
        EXPECT_EQ(b.comandos().toHex(' '), c.comandos.toHex(' '));
        EXPECT_EQ(b.sink.mensajes.size(), c.rasterFalla || c.fuenteFalla ? 1 : 0);
        EXPECT_EQ(b.enlace.ErrorEnvio, c.rasterFalla || c.fuenteFalla);
        EXPECT_EQ(b.sink.pitidos, 1);
        EXPECT_TRUE(b.sink.inicio);
        EXPECT_FALSE(b.sink.relojActivo(Reloj::EnviarTodo));
    }
}

TEST(EnviarTodo, StepsAndStartButton) {
    BancoTodo b;
    b.escribir(QStringLiteral("Salida00.bin"), Bytes({0x00}));
    b.todo.iniciar();
    EXPECT_EQ(b.sink.intervalo(Reloj::EnviarTodo), 100);
    b.todo.tick();
    EXPECT_FALSE(b.sink.inicio);
    EXPECT_TRUE(b.raster.RasterActivo);
    b.todo.iniciar(); // pressing again while it runs does nothing
    b.todo.tick();
    EXPECT_EQ(b.todo.PasoEnviarTodo, 1); // waits for the raster
    Correr(b, b.raster, [&] { return b.raster.RasterActivo; });
    b.todo.tick();
    b.todo.tick();
    EXPECT_EQ(b.todo.PasoEnviarTodo, 3);
    EXPECT_TRUE(b.turno.FontActivo);
    // No turn font file: the font transfer ends at once, silently.
    Correr(b, b.turno, [&] { return b.turno.FontActivo; });
    b.todo.tick();
    EXPECT_FALSE(b.todo.activo());
    EXPECT_TRUE(b.sink.inicio);
    EXPECT_EQ(b.sink.pitidos, 1);
    EXPECT_TRUE(b.sink.mensajes.isEmpty());
}
