#include "link/EnviarTodo.h"
#include "Banco.h"
#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"

#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

namespace {

struct BancoTodo : Banco {
    BancoTodo() {
        reloj.ticks[Reloj::Raster] = [this] { raster.tick(); };
        reloj.ticks[Reloj::FontTurno] = [this] { turno.tick(); };
    }
    TransferenciaRaster raster{enlace, design, dir.path()};
    TransferenciaFont turno{enlace, TipoFont::Turno(), dir.path()};
    EnviarTodo todo{enlace, raster, turno};

    void enviar(Impresora i) {
        impresora = std::move(i);
        todo.iniciar();
        correr([this] { return todo.activo(); });
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
        b.enviar([&c](const QByteArray& t) -> std::optional<uint8_t> {
            return (c.rasterFalla && t.at(1) == 0x5A) || (c.fuenteFalla && t.at(1) == 0x19) ? Repetir : Ack;
        });
        EXPECT_FALSE(b.todo.activo());
        EXPECT_EQ(b.comandos().toHex(' '), c.comandos.toHex(' '));
        EXPECT_EQ(b.sink.mensajes.size(), c.rasterFalla || c.fuenteFalla ? 1 : 0);
        EXPECT_EQ(b.enlace.ErrorEnvio, c.rasterFalla || c.fuenteFalla);
        EXPECT_EQ(b.sink.pitidos, 1);
        EXPECT_TRUE(b.sink.inicio);
    }
}

TEST(EnviarTodo, StepsAsSoonAsEachTransferEnds) {
    BancoTodo b;
    b.escribir(QStringLiteral("Salida00.bin"), Bytes({0x00}));
    b.impresora = nullptr; // nothing answers until the test says so
    b.todo.iniciar();
    EXPECT_FALSE(b.sink.inicio);
    EXPECT_TRUE(b.raster.RasterActivo);
    EXPECT_EQ(b.todo.PasoEnviarTodo, 1);
    b.todo.iniciar(); // pressing again while it runs does nothing
    EXPECT_EQ(b.puerto.escritos.size(), 1);
    b.impresora = Guion({});
    b.puerto.drain();
    b.responder(Ack); // the erase frame
    b.correr([&] { return b.raster.RasterActivo; });
    // No turn font file: the font transfer ends at once, silently, and so does the sequence.
    EXPECT_EQ(b.todo.PasoEnviarTodo, 3);
    EXPECT_FALSE(b.todo.activo());
    EXPECT_FALSE(b.turno.FontActivo);
    EXPECT_TRUE(b.sink.inicio);
    EXPECT_EQ(b.sink.pitidos, 1);
    EXPECT_TRUE(b.sink.mensajes.isEmpty());
    EXPECT_EQ(b.sink.lineas.last(), QStringLiteral("O -> FIN_ENVIO_FONT"));
}
