#include "link/TransferenciaRaster.h"
#include "Banco.h"

#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

namespace {

constexpr uint8_t Ack = 0x06;
constexpr uint8_t Procesando = 0x07;
constexpr uint8_t Nak = 0x15;

struct BancoRaster : Banco {
    TransferenciaRaster raster{enlace, design, dir.path()};
    void tick() {
        puerto.drain();
        raster.tick();
    }
    int correr(Impresora impresora = Guion({}), int maxTicks = 100000) {
        raster.iniciar();
        return Correr(
            *this, raster, [this] { return raster.RasterActivo; }, std::move(impresora), maxTicks);
    }
    // Starts and answers the erase frame, so that the next tick opens file 00.
    void hastaArchivos() {
        raster.iniciar();
        tick();
        responder(Ack);
        tick();
        ASSERT_EQ(raster.EstadoRaster, 3);
    }
};

const QByteArray DosRegistros = Bytes({0x00, 0x00, 0x05, 0x02, 0xAA, 0xBB, 0x00, 0x45, 0x01, 0xCC});

} // namespace

TEST(TransferenciaRaster, NamesAndKeyboardCode) {
    EXPECT_EQ(TransferenciaRaster::NombreArchivo(0), QStringLiteral("Salida00.bin"));
    EXPECT_EQ(TransferenciaRaster::NombreArchivo(7), QStringLiteral("Salida07.bin"));
    EXPECT_EQ(TransferenciaRaster::NombreArchivo(16), QStringLiteral("Salida16.bin"));
    EXPECT_EQ(TransferenciaRaster::CodigoTeclado(0, 1), 1);
    EXPECT_EQ(TransferenciaRaster::CodigoTeclado(4, 3), 0x33);
    EXPECT_EQ(TransferenciaRaster::CodigoTeclado(16, 3), 0xF3);
}

TEST(TransferenciaRaster, WholeTransferFrameByFrame) {
    BancoRaster b;
    b.escribir(QStringLiteral("Salida00.bin"), DosRegistros);
    b.correr();
    EXPECT_EQ(b.cuerpos(), (QList<QByteArray>{
                               Bytes({0x01, 0x5A, 0x06, 0x5A, 0xA5, 0xF4, 0x01, 0x01, 0x00}),
                               Bytes({0x01, 0x15, 0x06, 0x00, 0x00, 0x05, 0x02, 0xAA, 0xBB}),
                               Bytes({0x01, 0x15, 0x05, 0x00, 0x00, 0x45, 0x01, 0xCC}),
                               Bytes({0x01, 0x15, 0x04, 0x00, 0x01, 0xF4, 0x00}),
                           }));
    EXPECT_EQ(b.puerto.escritos.first().toHex(' '), QByteArray("01 5a 06 5a a5 f4 01 01 00 4e a0"));
    EXPECT_EQ(b.sink.lineas, (QStringList{
                                 QStringLiteral("O -> BORRADO"),
                                 QStringLiteral("  R -> ACK"),
                                 QStringLiteral("O -> INICIO_ENVIO"),
                                 QStringLiteral("O -> ENVIO ( 9)"),
                                 QStringLiteral("  R -> ACK"),
                                 QStringLiteral("O -> ENVIO ( 8)"),
                                 QStringLiteral("  R -> ACK"),
                                 QStringLiteral("O -> ENVIO ( 7)"),
                                 QStringLiteral("  R -> ACK"),
                             }));
    EXPECT_FALSE(b.enlace.ErrorEnvio);
    EXPECT_TRUE(b.sink.mensajes.isEmpty());
    EXPECT_FALSE(b.sink.ocupado);
    EXPECT_FALSE(b.sink.relojActivo(Reloj::Raster));
    EXPECT_FALSE(b.sink.relojActivo(Reloj::Intermitencia));
    EXPECT_EQ(b.sink.barras[0], 100);
}

TEST(TransferenciaRaster, FilesOfEveryPushButtonInOrder) {
    struct Caso {
        int pulsadores;
        int modelo;
        int16_t largo;
        QByteArray codigo; // K low, high
    };
    const Caso casos[] = {
        {0, 1, 500, Bytes({0x01, 0x00})},
        {3, 2, 300, Bytes({0x22, 0x00})},
        {4, 3, 511, Bytes({0x33, 0x00})},
    };
    for (const Caso& c : casos) {
        BancoRaster b;
        b.design.NumPulsadores = static_cast<int16_t>(c.pulsadores);
        b.design.ModeloTeclado = static_cast<uint8_t>(c.modelo);
        b.design.LargoTicket = c.largo;
        for (int k = 0; k <= c.pulsadores; ++k) // the header is the file number
            b.escribir(TransferenciaRaster::NombreArchivo(k), Bytes({k, 0x00, 0x10 + k, 0x01, 0x80 + k}));
        b.escribir(TransferenciaRaster::NombreArchivo(c.pulsadores + 1),
                   Bytes({0x55, 0x00, 0x00, 0x01, 0x01}));
        b.correr();

        const QList<QByteArray> cuerpos = b.cuerpos();
        ASSERT_EQ(cuerpos.size(), 1 + 2 * (c.pulsadores + 1)) << c.pulsadores;
        EXPECT_EQ(cuerpos[0].mid(5), Bytes({c.largo & 0xFF, c.largo >> 8}) + c.codigo);
        for (int k = 0; k <= c.pulsadores; ++k) {
            EXPECT_EQ(cuerpos[1 + 2 * k], Bytes({0x01, 0x15, 0x05, k, 0x00, 0x10 + k, 0x01, 0x80 + k}));
            EXPECT_EQ(cuerpos[2 + 2 * k], Bytes({0x01, 0x15, 0x04, k, c.largo >> 8, c.largo & 0xFF, 0x00}));
        }
        EXPECT_EQ(b.contar(QStringLiteral("O -> INICIO_ENVIO")), c.pulsadores + 1);
        EXPECT_FALSE(b.enlace.ErrorEnvio);
    }
}

TEST(TransferenciaRaster, FilesWithoutSegmentsSendOnlyTheEndBlock) {
    // The header byte alone, and the header written as a 16-bit value.
    for (const QByteArray& archivo : {Bytes({0x00}), Bytes({0x00, 0x00})}) {
        BancoRaster b;
        b.escribir(QStringLiteral("Salida00.bin"), archivo);
        b.correr();
        ASSERT_EQ(b.cuerpos().size(), 2) << archivo.toHex().constData();
        EXPECT_EQ(b.cuerpos()[1], Bytes({0x01, 0x15, 0x04, 0x00, 0x01, 0xF4, 0x00}));
        EXPECT_FALSE(b.enlace.ErrorEnvio);
        EXPECT_TRUE(b.sink.mensajes.isEmpty());
    }
}

TEST(TransferenciaRaster, BadFilesEndTheTransferWithAMessage) {
    struct Caso {
        const char* nombre;
        int pulsadores;
        std::vector<std::pair<int, QByteArray>> archivos;
        QString mensaje;
        int bloquesEnviados; // data and end blocks before the failure
    };
    const QString faltaCero = QStringLiteral("No se encuentra el archivo Salida00.bin");
    const QString faltaDos = QStringLiteral("No se encuentra el archivo Salida02.bin");
    const QString danado = QStringLiteral("El archivo Salida00.bin está incompleto o dañado");
    QByteArray largo = Bytes({0x00, 0x00, 0x00, 95});
    largo.append(QByteArray(95, '\x01'));
    const Caso casos[] = {
        {"missing 00", 0, {}, faltaCero, 0},
        {"missing 02 of 3", 3, {{0, Bytes({0x00})}, {1, Bytes({0x01})}, {3, Bytes({0x03})}}, faltaDos, 2},
        {"empty", 0, {{0, QByteArray()}}, danado, 0},
        {"record cut in its header", 0, {{0, Bytes({0x00, 0x00, 0x05})}}, danado, 0},
        {"record cut in its data", 0, {{0, Bytes({0x00, 0x00, 0x05, 0x03, 0xAA})}}, danado, 0},
        {"lone byte after a record", 0, {{0, Bytes({0x00, 0x00, 0x05, 0x01, 0xAA, 0x00})}}, danado, 1},
        {"record too long for a frame", 0, {{0, largo}}, danado, 0},
    };
    for (const Caso& c : casos) {
        BancoRaster b;
        b.design.NumPulsadores = static_cast<int16_t>(c.pulsadores);
        for (const auto& [k, datos] : c.archivos)
            b.escribir(TransferenciaRaster::NombreArchivo(k), datos);
        b.correr();
        EXPECT_FALSE(b.raster.RasterActivo) << c.nombre;
        EXPECT_TRUE(b.enlace.ErrorEnvio) << c.nombre;
        ASSERT_EQ(b.sink.mensajes.size(), 1) << c.nombre;
        EXPECT_EQ(b.sink.mensajes[0].texto, c.mensaje) << c.nombre;
        EXPECT_EQ(b.cuerpos().size(), 1 + c.bloquesEnviados) << c.nombre;
        EXPECT_FALSE(b.sink.ocupado) << c.nombre;
        EXPECT_FALSE(b.sink.relojActivo(Reloj::Intermitencia)) << c.nombre;
    }
}

TEST(TransferenciaRaster, EraseRepliesAndRetries) {
    struct Caso {
        const char* nombre;
        Impresora impresora;
        int borrados;
        bool error;
        QStringList primeras; // the first log lines
    };
    const std::optional<uint8_t> nada;
    const Caso casos[] = {
        {"processing, then ack",
         Guion({Procesando, Ack}),
         1,
         false,
         {QStringLiteral("O -> BORRADO"), QStringLiteral("  R -> PROCESANDO"), QStringLiteral("O -> STATUS?"),
          QStringLiteral("  R -> ACK"), QStringLiteral("O -> INICIO_ENVIO")}},
        {"nak spends a retry",
         Guion({Nak, Ack}),
         2,
         false,
         {QStringLiteral("O -> BORRADO"), QStringLiteral("  R -> NAK"), QStringLiteral("O -> BORRADO"),
          QStringLiteral("  R -> ACK")}},
        {"short reply is no reply",
         [](const QByteArray&) { return std::optional<uint8_t>(); },
         11,
         true,
         {QStringLiteral("O -> BORRADO"), QStringLiteral("  R -> TIME OUT")}},
        {"always nak",
         [](const QByteArray&) { return std::optional<uint8_t>(Nak); },
         11,
         true,
         {QStringLiteral("O -> BORRADO"), QStringLiteral("  R -> NAK")}},
    };
    for (const Caso& c : casos) {
        BancoRaster b;
        b.escribir(QStringLiteral("Salida00.bin"), Bytes({0x00}));
        b.correr(c.impresora);
        int borrados = 0;
        for (const QByteArray& t : b.cuerpos())
            borrados += t.at(1) == 0x5A;
        EXPECT_EQ(borrados, c.borrados) << c.nombre;
        EXPECT_EQ(b.enlace.ErrorEnvio, c.error) << c.nombre;
        EXPECT_EQ(b.sink.lineas.mid(0, c.primeras.size()), c.primeras) << c.nombre;
        if (c.error) {
            ASSERT_EQ(b.sink.mensajes.size(), 1);
            EXPECT_EQ(b.sink.mensajes[0].texto, QStringLiteral("Error de comunicación con Impresora"));
            EXPECT_EQ(b.sink.mensajes[0].titulo, QStringLiteral("Error comunicación"));
        }
    }
}

TEST(TransferenciaRaster, EraseTimeoutCountsTenTicks) {
    BancoRaster b;
    b.raster.iniciar();
    b.tick(); // erase sent
    for (int i = 0; i < 10; ++i)
        b.tick();
    EXPECT_EQ(b.contar(QStringLiteral("  R -> TIME OUT")), 10);
    EXPECT_EQ(b.raster.EstadoRaster, 1);
    b.puerto.receive(Bytes({0x01, 0x55, 0x06})); // three bytes are no reply
    b.enlace.tickTOut();
    b.tick(); // eleventh tick: retry, no log line
    EXPECT_EQ(b.contar(QStringLiteral("  R -> TIME OUT")), 10);
    EXPECT_EQ(b.raster.EstadoRaster, 0);
    EXPECT_EQ(b.raster.Reintentos, 9);
    b.tick();
    EXPECT_EQ(b.puerto.escritos.size(), 2);
    EXPECT_EQ(b.sink.lineas.last(), QStringLiteral("O -> BORRADO"));
}

TEST(TransferenciaRaster, BlockRepliesAndRetries) {
    struct Caso {
        const char* nombre;
        Impresora impresora;
        QList<QByteArray> cuerpos; // frames after the erase
        QStringList lineas;        // log lines after INICIO_ENVIO
    };
    const QByteArray bloque = Bytes({0x01, 0x15, 0x05, 0x00, 0x00, 0x05, 0x01, 0xAA});
    const QByteArray fin = Bytes({0x01, 0x15, 0x04, 0x00, 0x01, 0xF4, 0x00});
    const QByteArray status = Bytes({0x01, 0x55, 0x00});
    const Caso casos[] = {
        {"nak repeats the block",
         Guion({Ack, Nak, Ack}),
         {bloque, bloque, fin},
         {QStringLiteral("O -> ENVIO ( 8)"), QStringLiteral("  R -> NAK"),
          QStringLiteral("O -> REPITE ENVIO ( 8)"), QStringLiteral("  R -> ACK"),
          QStringLiteral("O -> ENVIO ( 7)"), QStringLiteral("  R -> ACK")}},
        {"processing polls, its ack moves on",
         Guion({Ack, Procesando, Ack}),
         {bloque, status, fin},
         {QStringLiteral("O -> ENVIO ( 8)"), QStringLiteral("  R -> PROCESANDO"),
          QStringLiteral("O -> STATUS?"), QStringLiteral("  R -> ACK"), QStringLiteral("O -> ENVIO ( 7)"),
          QStringLiteral("  R -> ACK")}},
        {"a nak to the poll repeats the poll",
         Guion({Ack, Procesando, Nak, Ack}),
         {bloque, status, status, fin},
         {QStringLiteral("O -> ENVIO ( 8)"), QStringLiteral("  R -> PROCESANDO"),
          QStringLiteral("O -> STATUS?"), QStringLiteral("  R -> NAK"),
          QStringLiteral("O -> REPITE ENVIO ( 3)"), QStringLiteral("  R -> ACK"),
          QStringLiteral("O -> ENVIO ( 7)"), QStringLiteral("  R -> ACK")}},
    };
    for (const Caso& c : casos) {
        BancoRaster b;
        b.escribir(QStringLiteral("Salida00.bin"), Bytes({0x00, 0x00, 0x05, 0x01, 0xAA}));
        b.correr(c.impresora);
        EXPECT_EQ(b.cuerpos().mid(1), c.cuerpos) << c.nombre;
        EXPECT_EQ(b.sink.lineas.mid(3), c.lineas) << c.nombre;
        EXPECT_FALSE(b.enlace.ErrorEnvio) << c.nombre;
    }
}

TEST(TransferenciaRaster, NaksDoNotSpendRetriesButAreBounded) {
    BancoRaster b;
    b.escribir(QStringLiteral("Salida00.bin"), Bytes({0x00, 0x00, 0x05, 0x01, 0xAA}));
    b.hastaArchivos();
    b.tick(); // opens the file
    b.tick(); // first block
    for (int i = 0; i < 5; ++i) {
        b.responder(Nak);
        b.tick();
        b.tick();
    }
    EXPECT_EQ(b.raster.Reintentos, 100);
    EXPECT_EQ(b.contar(QStringLiteral("O -> REPITE ENVIO ( 8)")), 5);

    int ticks = 0;
    while (b.raster.RasterActivo && !b.enlace.ErrorEnvio && ticks++ < 1000) {
        b.responder(Nak);
        b.tick();
        b.tick();
    }
    EXPECT_TRUE(b.enlace.ErrorEnvio);
    EXPECT_EQ(b.contar(QStringLiteral("  R -> NAK")), TransferenciaRaster::MaximoNaks + 1);
    ASSERT_EQ(b.sink.mensajes.size(), 1);
    EXPECT_EQ(b.sink.mensajes[0].texto, QStringLiteral("Error de comunicación con Impresora"));
}

TEST(TransferenciaRaster, BlockTimeoutsGiveUpAfterAHundredRetries) {
    BancoRaster b;
    b.escribir(QStringLiteral("Salida00.bin"), Bytes({0x00, 0x00, 0x05, 0x01, 0xAA}));
    b.hastaArchivos();
    b.tick(); // opens
    b.tick(); // sends the block
    for (int i = 0; i < 11; ++i)
        b.tick();
    EXPECT_EQ(b.contar(QStringLiteral("  R -> TIME OUT")), 11);
    EXPECT_EQ(b.raster.EstadoRaster, 6);
    EXPECT_EQ(b.raster.Reintentos, 99);

    const int ticks = Correr(
        b, b.raster, [&] { return b.raster.RasterActivo; },
        [](const QByteArray&) { return std::optional<uint8_t>(); });
    EXPECT_EQ(b.contar(QStringLiteral("O -> REPITE ENVIO ( 8)")), 100);
    EXPECT_EQ(b.contar(QStringLiteral("  R -> TIME OUT")), 101 * 11);
    EXPECT_GT(ticks, 100 * 12);
    EXPECT_TRUE(b.enlace.ErrorEnvio);
    EXPECT_EQ(b.sink.mensajes.size(), 1);
    EXPECT_FALSE(b.sink.ocupado);
}

TEST(TransferenciaRaster, WaitsWhileAFrameIsLeaving) {
    BancoRaster b;
    b.raster.iniciar();
    b.raster.tick(); // erase sent, RTS on
    EXPECT_TRUE(b.enlace.rts());
    b.responder(Ack);
    for (int i = 0; i < 5; ++i)
        b.raster.tick();
    EXPECT_EQ(b.raster.EstadoRaster, 1);
    EXPECT_EQ(b.sink.lineas.size(), 1);
    b.puerto.drain();
    EXPECT_FALSE(b.enlace.rts());
    b.raster.tick();
    EXPECT_EQ(b.raster.EstadoRaster, 3);

    // A port that never reports its queue drained holds the line only for a while.
    BancoRaster c;
    c.raster.iniciar();
    c.raster.tick();
    for (int i = 1; i < Transferencia::TicksMaximosRts; ++i)
        c.raster.tick();
    EXPECT_TRUE(c.enlace.rts());
    EXPECT_EQ(c.sink.lineas.size(), 1);
    c.raster.tick();
    EXPECT_FALSE(c.enlace.rts());
    EXPECT_EQ(c.sink.lineas.last(), QStringLiteral("  R -> TIME OUT"));
}

TEST(TransferenciaRaster, LostPortEndsTheTransfer) {
    BancoRaster b;
    b.escribir(QStringLiteral("Salida00.bin"), DosRegistros);
    b.hastaArchivos();
    b.tick();
    b.puerto.rechazarApertura = true;
    b.puerto.fail(EventoEncuadre);
    EXPECT_TRUE(b.enlace.puertoPerdido());
    b.tick();
    EXPECT_FALSE(b.raster.RasterActivo);
    EXPECT_TRUE(b.enlace.ErrorEnvio);
    EXPECT_EQ(b.sink.mensajes.size(), 1); // only the port's message
    EXPECT_EQ(b.sink.cierres, 1);
}
