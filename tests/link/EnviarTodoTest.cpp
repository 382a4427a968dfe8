#include "link/EnviarTodo.h"
#include "Banco.h"
#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"

#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

namespace {

struct BancoTodo : Banco {
    explicit BancoTodo(int tickMs = AjustesTick::PorDefecto) : Banco(tickMs) {
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

TEST(EnviarTodo, WaitTicksServeLateSplitAndLostRepliesWithoutMixingThemUp) {
    const QByteArray raster =
        Bytes({0x00, 0x00, 0x05, 0x02, 0xAA, 0xBB, 0x00, 0x45, 0x01, 0xCC, 0x01, 0x00, 0x01, 0x7E});
    const QByteArray font =
        Bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10, 0x30, 0x0C, 0x00, 0x08, 0x00, 0x00,
               0x00, 0x01, 0x02, 0x00, 0x40, 0x01, 0x02, 0x31, 0x0C, 0x00, 0x00, 0x00, 0xFF});
    const struct {
        const char* nombre;
        int tickMs, latenciaMs, partirMs;
        int perderCada;       // every Nth reply is lost (0: none)
        int timeoutsPorTrama; // TIME OUT lines per frame, when every frame gets them alike (-1: not checked)
    } casos[] = {
        {"instant", 16, 0, -1, 0, 0},
        {"20 ms late", 16, 20, -1, 0, 1},
        {"50 ms late", 16, 50, -1, 0, 3},
        {"split in two, 16 ms apart", 16, 20, 16, 0, 2},
        {"tight 1 ms ticks, instant", 1, 0, -1, 0, 3}, // a reply takes 4 ms on the line
        // The reply to a repeat is taken once the line is quiet: nothing of it is left for
        // the next frame.
        {"every third reply lost, 50 ms late", 16, 50, -1, 3, -1},
    };
    QList<QByteArray> limpio; // the frames of the instant run
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        BancoTodo b(c.tickMs);
        b.escribir(QStringLiteral("Salida00.bin"), raster);
        b.escribir(QStringLiteral("DatosRasterTurno.bin"), font);
        b.latenciaMs = c.latenciaMs;
        b.partirMs = c.partirMs;
        b.ritmo = true;
        int respuestas = 0, perdidas = 0;
        b.enviar([&](const QByteArray&) -> std::optional<uint8_t> {
            if (c.perderCada && ++respuestas % c.perderCada == 0) {
                ++perdidas;
                return std::nullopt;
            }
            return Ack;
        });
        EXPECT_FALSE(b.enlace.ErrorEnvio);
        EXPECT_TRUE(b.sink.mensajes.isEmpty());
        // Success comes only with the terminator's acknowledgement.
        QStringList finales =
            b.sink.lineas.mid(b.sink.lineas.lastIndexOf(QStringLiteral("O -> ENV_TERMINADOR_FONT")));
        finales.removeAll(TimeOut);
        EXPECT_EQ(finales.join(QLatin1Char('|')).toStdString(),
                  "O -> ENV_TERMINADOR_FONT|  R -> ACK|O -> FIN_ENVIO_FONT");
        const QList<QByteArray> cuerpos = b.cuerpos();
        if (limpio.isEmpty()) limpio = cuerpos;
        // Every frame of the instant run, in order; a lost reply costs one frame more.
        QList<QByteArray> distintas;
        for (const QByteArray& t : cuerpos)
            if (t.at(1) != CmdStatus && (distintas.isEmpty() || distintas.last() != t)) distintas.append(t);
        EXPECT_EQ(distintas, limpio);
        EXPECT_EQ(cuerpos.size(), limpio.size() + perdidas);
        if (c.timeoutsPorTrama >= 0) {
            EXPECT_EQ(b.contar(TimeOut), c.timeoutsPorTrama * limpio.size());
        }
    }
}
