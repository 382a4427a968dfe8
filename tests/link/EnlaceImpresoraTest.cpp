#include "Banco.h"

#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

TEST(Trama, CrcAndFramesOnTheWire) {
    // n limits the bytes; a negative n takes them all.
    EXPECT_EQ(Crc16(QByteArrayView("123456789xyz"), 9), 0x6F91);
    EXPECT_EQ(Crc16(QByteArrayView("123456789"), -1), 0x6F91);
    EXPECT_EQ(Crc16(QByteArrayView(""), 0), 0xFFFF);
    const QByteArray lleno(LargoBufTX, '\x5A');
    struct Caso {
        const char* nombre;
        QByteArray bytes;
        int n;
        QByteArray esperado; // empty: no frame
    };
    const Caso casos[] = {
        Caso{"status request", Bytes({0x01, 0x55, 0x00}), 3, Bytes({0x01, 0x55, 0x00, 0xA0, 0xCE})},
        Caso{"erase, length 500, model 1", Bytes({0x01, 0x5A, 0x06, 0x5A, 0xA5, 0xF4, 0x01, 0x01, 0x00}), 9,
             Bytes({0x01, 0x5A, 0x06, 0x5A, 0xA5, 0xF4, 0x01, 0x01, 0x00, 0x4E, 0xA0})},
        Caso{"turn font terminator", Bytes({0x01, 0x1A, 0x01, 0xFF, 0x77}), 4,
             Bytes({0x01, 0x1A, 0x01, 0xFF, 0xD5, 0xFF})},
        Caso{"a full transmit buffer", lleno, LargoBufTX, lleno + Bytes({0xC9, 0xBB})},
        Caso{"no bytes", lleno, 0, {}},
        Caso{"more than there is", lleno, LargoBufTX + 1, {}},
        Caso{"more than a length byte counts", QByteArray(300, 'a'), 256, {}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(ConstruirTrama(c.bytes, c.n).toHex(' '), c.esperado.toHex(' ')) << c.nombre;
}

// A second copy of the program and a port that cannot open are refused in the transfer window's tests.
TEST(EnlaceImpresora, LoadOpensThePortAndRtsFollowsTheWrites) {
    for (const bool aceptaLineas : {true, false}) { // false: the device refuses RTS and DTR
        SCOPED_TRACE(aceptaLineas);
        FakeSerialPort puerto;
        puerto.aceptaLineas = aceptaLineas;
        RecordingSink sink;
        EnlaceImpresora enlace(puerto, sink, LineaEnvio);
        ASSERT_TRUE(enlace.Cargar(3, false));
        EXPECT_EQ(std::tuple(puerto.isOpen(), sink.mensajes.size(), puerto.numero, puerto.linea.texto(),
                             puerto.dtr),
                  std::tuple(true, 0, 3, QStringLiteral("19200,n,8,2"), aceptaLineas));
        // What waits when a frame is written never counts as its reply.
        puerto.receive("resto");
        puerto.entrada = "mas";
        const QByteArray lleno(LargoBufTX, '\x33');
        enlace.SendMsgBinario(lleno, LargoBufTX);
        ASSERT_EQ(puerto.escritos.size(), 1);
        EXPECT_EQ(puerto.escritos[0].size(), 103);
        EXPECT_TRUE(enlace.BufRX().isEmpty() && puerto.entrada.isEmpty());
        // RTS stays on while bytes are queued, whatever the device does with the line.
        EXPECT_TRUE(enlace.rts() && puerto.rtsPedido);
        puerto.salida = "x";
        emit puerto.drained();
        EXPECT_TRUE(enlace.rts());
        puerto.drain();
        EXPECT_FALSE(enlace.rts() || puerto.rtsPedido);
        enlace.ID_send_string(QByteArrayView("abcdef"), 4);
        EXPECT_EQ(puerto.escritos.last(), QByteArray("abcd"));
        // A write the port refuses leaves nothing to wait for.
        puerto.drain();
        puerto.rechazarEscritura = true;
        enlace.SendMsgBinario(Bytes({0x01, 0x55, 0x00}), 3);
        EXPECT_FALSE(enlace.rts());
    }
}

TEST(EnlaceImpresora, ReplyAssembly) {
    const QByteArray ack = Banco::Respuesta(Ack), nak = Banco::Respuesta(Repetir);
    QByteArray danada = ack;
    danada[5] = static_cast<char>(danada[5] ^ 0x01);
    const QByteArray basura = Bytes({0xAA, 0x55, 0xFE, 0x00, 0x13}); // could start a long frame
    const QByteArray ruido = Bytes({0xAA, 0x55, 0x00, 0x13, 0x99});  // a whole frame's length, bad CRC
    // Pieces arrive in turn; with `pausas`, a reception pause (one wait tick) after each.
    const struct {
        const char* nombre;
        int copias; // frames written before the reply
        QList<QByteArray> trozos;
        bool pausas;
        QByteArray antes; // the reply before the last pause (empty: none yet)
        QByteArray final; // the reply in the end
    } casos[] = {
        {"whole frame at once", 1, {ack}, false, ack, ack},
        {"two pieces, a pause apart", 1, {ack.left(3), ack.mid(3)}, true, ack, ack},
        {"three pieces", 1, {ack.left(1), ack.mid(1, 3), ack.mid(4)}, true, ack, ack},
        {"garbage, then a frame", 1, {basura + ack}, false, ack, ack},
        {"noise alone: a reply after the pause", 1, {ruido}, true, {}, ruido},
        {"bad CRC falls back to the pause", 1, {danada}, true, {}, danada},
        {"a frame's start is no reply", 1, {ack.left(5)}, true, {}, {}},
        {"replies to two copies: the last counts", 2, {nak, ack}, false, ack, ack},
        {"one reply to two copies: after the pause", 2, {nak}, true, {}, nak},
        {"second reply split", 2, {nak + ack.left(2), ack.mid(2)}, false, ack, ack},
        {"second reply split by a pause: one more wait", 2, {nak + ack.left(2), ack.mid(2)}, true, ack, ack},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        Banco b;
        b.puerto.alEscribir = nullptr;
        for (int i = 0; i < c.copias; ++i)
            b.enlace.SendMsgBinario(Bytes({0x01, 0x55, 0x00}), 3);
        for (const QByteArray& t : c.trozos) {
            b.puerto.receive(t);
            if (c.pausas && &t != &c.trozos.last()) b.enlace.tickTOut();
        }
        EXPECT_EQ(b.enlace.RespuestaRX.toHex(' '), c.antes.toHex(' '));
        b.enlace.tickTOut();
        b.enlace.tickTOut(); // a held reply whose line stays quiet is taken in the end
        EXPECT_EQ(b.enlace.RespuestaRX.toHex(' '), c.final.toHex(' '));
        EXPECT_TRUE(c.final.isEmpty() || b.enlace.BufRX().isEmpty()); // nothing left for the next frame
    }
}

// A line that never stops talking: the bytes held stay bounded, and the noise becomes the reply one wait tick
// after a few replies' worth has come, however fast it keeps coming.
TEST(EnlaceImpresora, AFloodOfNoiseIsBoundedAndEndsTheWait) {
    Banco b;
    b.puerto.alEscribir = nullptr;
    b.enlace.SendMsgBinario(Bytes({0x01, 0x55, 0x00}), 3);
    const QByteArray trozo(1024, '\xff');
    for (int i = 0; i < 1024 && b.enlace.RespuestaRX.isEmpty(); ++i) {
        b.reloj.programar(b.reloj.ahora + 1, [&] { b.puerto.receive(trozo); });
        b.reloj.correr([] { return false; }, b.reloj.ahora + 1);
        ASSERT_LE(b.enlace.BufRX().size(), BuscadorTramas::Limite);
    }
    ASSERT_FALSE(b.enlace.RespuestaRX.isEmpty());
    EXPECT_LE(b.enlace.RespuestaRX.size(), BuscadorTramas::Limite);
    EXPECT_EQ(b.enlace.RespuestaRX.count('\xff'), b.enlace.RespuestaRX.size());
    EXPECT_LE(b.reloj.ahora, 2 * AjustesTick::PorDefecto + BuscadorTramas::Limite / trozo.size());
}

TEST(EnlaceImpresora, PortErrorEventsReopenThePort) {
    for (auto [codigo, reabre] :
         {std::pair{1001, true}, {1004, true}, {1011, true}, {1, false}, {1002, false}}) {
        Banco b;
        b.enlace.SendMsgBinario(Bytes({0x01, 0x55, 0x00}), 3);
        const int aperturas = b.puerto.aperturas;
        b.puerto.fail(codigo);
        EXPECT_EQ(b.puerto.aperturas - aperturas, reabre ? 1 : 0) << codigo;
        EXPECT_EQ(b.enlace.rts(), !reabre) << codigo;
        EXPECT_TRUE(b.puerto.isOpen() && b.sink.mensajes.isEmpty());
    }
}

TEST(EnlaceImpresora, SettingsFromTextAndTick) {
    const std::pair<QString, std::optional<ConfiguracionLinea>> lineas[] = {
        {QStringLiteral("1200,n,8,2"), LineaFechaHora},
        {QStringLiteral("9600,E,7,1"), ConfiguracionLinea{9600, 'e', 7, 1}},
        {QStringLiteral("9600,x,8,1"), std::nullopt},
        {QStringLiteral("9600,n,8"), std::nullopt},
    };
    for (const auto& [texto, linea] : lineas)
        EXPECT_EQ(ConfiguracionLinea::desdeTexto(texto), linea) << texto.toStdString();
    // The command line wins over the environment, which wins over the configuration.
    const struct {
        QStringList argumentos;
        QString entorno;
        int configurado, ms;
    } ticks[] = {
        {{}, {}, 0, 16},
        {{}, QStringLiteral("1"), 20, 1},
        {{QStringLiteral("--tick-ms=8")}, QStringLiteral("16"), 20, 8},
        {{QStringLiteral("--tick-ms=0")}, QStringLiteral("12"), 20, 12},
        {{}, QStringLiteral("abc"), 20, 20},
        {{}, QStringLiteral("5000"), 0, 16},
    };
    for (const auto& c : ticks)
        EXPECT_EQ(AjustesTick::desde(c.argumentos, c.entorno, c.configurado).tickMs, c.ms)
            << c.entorno.toStdString();
    Banco b(20); // the reception pause is one wait tick
    b.puerto.receive(Bytes({0x01}));
    EXPECT_EQ(b.sink.intervalo(Reloj::TOut), 20);
}
