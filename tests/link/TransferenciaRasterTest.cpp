#include "link/TransferenciaRaster.h"
#include "Banco.h"

#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

namespace {

struct BancoRaster : Banco {
    BancoRaster() {
        reloj.ticks[Reloj::Raster] = [this] { raster.tick(); };
    }
    // Sends with this printer until the transfer ends.
    void enviar(Impresora i = Guion({})) {
        impresora = std::move(i);
        raster.iniciar();
        correr([this] { return raster.RasterActivo; });
    }
    TransferenciaRaster raster{enlace, design, dir.path()};
};

const QByteArray Fin00 = Bytes({0x01, 0x15, 0x04, 0x00, 0x01, 0xF4, 0x00});

} // namespace

TEST(TransferenciaRaster, WholeTransferFrameByFrame) {
    BancoRaster b;
    b.escribir(QStringLiteral("Salida00.bin"),
               Bytes({0x00, 0x00, 0x05, 0x02, 0xAA, 0xBB, 0x00, 0x45, 0x01, 0xCC}));
    b.enviar();
    EXPECT_EQ(b.cuerpos(),
              (QList<QByteArray>{Bytes({0x01, 0x5A, 0x06, 0x5A, 0xA5, 0xF4, 0x01, 0x01, 0x00}),
                                 Bytes({0x01, 0x15, 0x06, 0x00, 0x00, 0x05, 0x02, 0xAA, 0xBB}),
                                 Bytes({0x01, 0x15, 0x05, 0x00, 0x00, 0x45, 0x01, 0xCC}), Fin00}));
    EXPECT_EQ(b.puerto.escritos.first().toHex(' '), QByteArray("01 5a 06 5a a5 f4 01 01 00 4e a0"));
    const QString ack = QStringLiteral("  R -> ACK");
    EXPECT_EQ(b.sink.lineas,
              (QStringList{QStringLiteral("O -> BORRADO"), ack, QStringLiteral("O -> INICIO_ENVIO"),
                           QStringLiteral("O -> ENVIO ( 9)"), ack, QStringLiteral("O -> ENVIO ( 8)"), ack,
                           QStringLiteral("O -> ENVIO ( 7)"), ack}));
    EXPECT_FALSE(b.enlace.ErrorEnvio);
    EXPECT_TRUE(b.sink.mensajes.isEmpty());
    EXPECT_FALSE(b.sink.ocupado);
    EXPECT_FALSE(b.sink.relojActivo(Reloj::Raster));
    EXPECT_EQ(b.sink.barras[0], 100);
}

TEST(TransferenciaRaster, FilesOfEveryPushButtonInOrder) {
    struct Caso {
        int pulsadores, modelo;
        int16_t largo;
        int codigo; // K
    };
    for (const Caso& c : {Caso{0, 1, 500, 0x01}, Caso{3, 2, 300, 0x22}, Caso{4, 3, 511, 0x33}}) {
        BancoRaster b;
        b.design.NumPulsadores = static_cast<int16_t>(c.pulsadores);
        b.design.ModeloTeclado = static_cast<uint8_t>(c.modelo);
        b.design.LargoTicket = c.largo;
        for (int k = 0; k <= c.pulsadores + 1; ++k) // one file more than is sent
            b.escribir(TransferenciaRaster::NombreArchivo(k), Bytes({k, 0x00, 0x10 + k, 0x01, 0x80 + k}));
        b.enviar();
        const QList<QByteArray> cuerpos = b.cuerpos();
        ASSERT_EQ(cuerpos.size(), 1 + 2 * (c.pulsadores + 1)) << c.pulsadores;
        EXPECT_EQ(cuerpos[0].mid(5), Bytes({c.largo & 0xFF, c.largo >> 8, c.codigo, 0x00}));
        for (int k = 0; k <= c.pulsadores; ++k) {
            EXPECT_EQ(cuerpos[1 + 2 * k], Bytes({0x01, 0x15, 0x05, k, 0x00, 0x10 + k, 0x01, 0x80 + k}));
            EXPECT_EQ(cuerpos[2 + 2 * k], Bytes({0x01, 0x15, 0x04, k, c.largo >> 8, c.largo & 0xFF, 0x00}));
        }
        EXPECT_FALSE(b.enlace.ErrorEnvio);
    }
}

TEST(TransferenciaRaster, FileContents) {
    struct Caso {
        const char* nombre;
        int pulsadores;
        std::vector<std::pair<int, QByteArray>> archivos;
        QString mensaje;     // empty: the transfer succeeds
        int bloquesEnviados; // data and end blocks
    };
    const QString falta = QStringLiteral("No se encuentra el archivo Salida0%1.bin");
    const QString danado = QStringLiteral("El archivo Salida00.bin está incompleto o dañado");
    const Caso casos[] = {
        {"header byte alone", 0, {{0, Bytes({0x00})}}, {}, 1},
        {"header as 16 bits", 0, {{0, Bytes({0x00, 0x00})}}, {}, 1},
        {"missing 00", 0, {}, falta.arg(0), 0},
        {"missing 02 of 3", 3, {{0, Bytes({0x00})}, {1, Bytes({0x01})}, {3, Bytes({0x03})}}, falta.arg(2), 2},
        {"empty", 0, {{0, QByteArray()}}, danado, 0},
        {"record cut in its header", 0, {{0, Bytes({0x00, 0x00, 0x05})}}, danado, 0},
        {"record cut in its data", 0, {{0, Bytes({0x00, 0x00, 0x05, 0x03, 0xAA})}}, danado, 0},
        {"lone byte after a record", 0, {{0, Bytes({0x00, 0x00, 0x05, 0x01, 0xAA, 0x00})}}, danado, 1},
        {"record too long for a frame",
         0,
         {{0, Bytes({0x00, 0x00, 0x00, 95}) + QByteArray(95, '\x01')}},
         danado,
         0},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        BancoRaster b;
        b.design.NumPulsadores = static_cast<int16_t>(c.pulsadores);
        for (const auto& [k, datos] : c.archivos)
            b.escribir(TransferenciaRaster::NombreArchivo(k), datos);
        b.enviar();
        EXPECT_FALSE(b.raster.RasterActivo);
        EXPECT_EQ(b.enlace.ErrorEnvio, !c.mensaje.isEmpty());
        EXPECT_EQ(b.sink.mensajes.size(), c.mensaje.isEmpty() ? 0 : 1);
        EXPECT_EQ(b.sink.mensajes.value(0).texto, c.mensaje);
        EXPECT_EQ(b.cuerpos().size(), 1 + c.bloquesEnviados);
        EXPECT_EQ(b.cuerpos().last() == Fin00, c.mensaje.isEmpty());
        EXPECT_FALSE(b.sink.ocupado);
        EXPECT_FALSE(b.sink.relojActivo(Reloj::Intermitencia));
    }
}

TEST(TransferenciaRaster, RepliesAndRetries) {
    const auto siempre = [](std::optional<uint8_t> e) { return [e](const QByteArray&) { return e; }; };
    const struct {
        Impresora impresora;
        QString secuencia; // E erase, B data block, F end block, S status request
        int timeouts;      // ten ticks for each wait
        int repeticiones;  // frames written again, as the link counts them
    } casos[] = {
        {Guion({Procesando, Ack}), QStringLiteral("ESBF"), 0, 0},
        {Guion({Nak, Ack}), QStringLiteral("EEBF"), 0, 1}, // a NAK to the erase spends a retry
        {siempre(std::nullopt), QString(11, QLatin1Char('E')), 110, 10},
        {siempre(Nak), QString(11, QLatin1Char('E')), 0, 10},
        {Guion({Ack, Nak, Ack}), QStringLiteral("EBBF"), 0, 1},
        {Guion({Ack, Procesando, Ack}), QStringLiteral("EBSF"), 0, 0},
        {Guion({Ack, Procesando, Nak, Ack}), QStringLiteral("EBSSF"), 0, 1}, // a NAK to the poll repeats it
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.secuencia.toStdString());
        BancoRaster b;
        b.escribir(QStringLiteral("Salida00.bin"), Bytes({0x00, 0x00, 0x05, 0x01, 0xAA}));
        b.enviar(c.impresora);
        QString secuencia;
        for (const QByteArray& t : b.cuerpos())
            secuencia += QLatin1Char(t.at(1) == 0x5A   ? 'E'
                                     : t.at(1) == 0x55 ? 'S'
                                     : t.at(2) == 4    ? 'F'
                                                       : 'B');
        EXPECT_EQ(secuencia, c.secuencia);
        EXPECT_EQ(b.contar(QStringLiteral("  R -> TIME OUT")), c.timeouts);
        EXPECT_EQ(b.enlace.repeticiones(), c.repeticiones);
        const bool error = !c.secuencia.endsWith(QLatin1Char('F'));
        EXPECT_EQ(b.enlace.ErrorEnvio, error);
        EXPECT_EQ(b.sink.mensajes.value(0).texto, error ? ErrorComunicacion : QString());
        EXPECT_EQ(b.sink.mensajes.value(0).titulo, error ? QStringLiteral("Error comunicación") : QString());
    }
    // The log names what happened.
    BancoRaster b;
    b.escribir(QStringLiteral("Salida00.bin"), Bytes({0x00, 0x00, 0x05, 0x01, 0xAA}));
    b.enviar(Guion({Ack, Nak, Procesando, Ack}));
    EXPECT_EQ(b.sink.lineas.mid(3, 6),
              (QStringList{QStringLiteral("O -> ENVIO ( 8)"), QStringLiteral("  R -> NAK"),
                           QStringLiteral("O -> REPITE ENVIO ( 8)"), QStringLiteral("  R -> PROCESANDO"),
                           QStringLiteral("O -> STATUS?"), QStringLiteral("  R -> ACK")}));
    // Loading the port again starts the count of repeats anew.
    EXPECT_EQ(b.enlace.repeticiones(), 1);
    ASSERT_TRUE(b.enlace.Cargar(1, false));
    EXPECT_EQ(b.enlace.repeticiones(), 0);
}

TEST(TransferenciaRaster, NaksAreBoundedAndTimeoutsSpendTheBlocksHundredRetries) {
    const struct {
        const char* nombre;
        std::optional<uint8_t> estado; // every block gets it; the erase frame is acknowledged
        int repeticiones, naks, timeouts;
    } casos[] = {
        {"NAKs", Nak, TransferenciaRaster::MaximoNaks, TransferenciaRaster::MaximoNaks + 1, 0},
        {"silence", std::nullopt, 100, 0, 101 * 11},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        BancoRaster b;
        b.escribir(QStringLiteral("Salida00.bin"), Bytes({0x00, 0x00, 0x05, 0x01, 0xAA}));
        b.enviar(
            [&c](const QByteArray& t) { return t.at(1) == 0x5A ? std::optional<uint8_t>(Ack) : c.estado; });
        EXPECT_EQ(b.contar(QStringLiteral("O -> REPITE ENVIO ( 8)")), c.repeticiones);
        EXPECT_EQ(b.contar(QStringLiteral("  R -> NAK")), c.naks);
        EXPECT_EQ(b.contar(TimeOut), c.timeouts);
        EXPECT_EQ(b.raster.Reintentos, c.naks ? 100 : 0); // NAKs do not spend retries
        EXPECT_TRUE(b.enlace.ErrorEnvio);
        ASSERT_EQ(b.sink.mensajes.size(), 1);
        EXPECT_EQ(b.sink.mensajes[0].texto, ErrorComunicacion);
    }
}

TEST(TransferenciaRaster, AfterARepeatTheLastReplyCountsAndNoneIsLeftForTheNextFrame) {
    // The erase frame's first reply comes after its wait, while the repeat is on its way;
    // the repeat is answered PROCESANDO at once. That last reply is the one judged, so the
    // poll follows the erase frame; the first reply is not taken for the block.
    BancoRaster b;
    b.escribir(QStringLiteral("Salida00.bin"), Bytes({0x00, 0x00, 0x05, 0x01, 0xAA}));
    b.latenciaDe = [](int escritura) { return escritura == 1 ? 190 : 20; };
    b.enviar(Guion({Ack, Procesando}));
    QString secuencia;
    for (const QByteArray& t : b.cuerpos())
        secuencia += QLatin1Char(t.at(1) == 0x5A ? 'E' : t.at(1) == 0x55 ? 'S' : t.at(2) == 4 ? 'F' : 'B');
    EXPECT_EQ(secuencia, QStringLiteral("EESBF"));
    EXPECT_FALSE(b.enlace.ErrorEnvio);
}

TEST(TransferenciaRaster, StepsWhenTheFrameHasLeftAndTheReplyIsIn) {
    BancoRaster b;
    b.escribir(QStringLiteral("Salida00.bin"), Bytes({0x00, 0x00, 0x05, 0x01, 0xAA}));
    b.puerto.alEscribir = nullptr; // the test drains and answers by hand
    b.raster.iniciar();
    ASSERT_EQ(b.puerto.escritos.size(), 1);
    b.responder(Ack); // in before the frame is reported gone: nothing moves yet
    EXPECT_EQ(b.raster.EstadoRaster, 1);
    b.puerto.drain();
    ASSERT_EQ(b.puerto.escritos.size(), 2); // the first block, at once
    EXPECT_EQ(b.raster.EstadoRaster, 5);
    b.puerto.drain();
    b.responder(Ack);
    EXPECT_EQ(b.puerto.escritos.size(), 3);
    EXPECT_EQ(b.reloj.ahora, 0);

    // A port that never reports its queue drained holds the line only for a while.
    BancoRaster c;
    c.puerto.alEscribir = nullptr;
    c.raster.iniciar();
    const int64_t tick = AjustesTick::PorDefecto;
    c.reloj.correr([] { return false; }, (Transferencia::TicksMaximosRts - 1) * tick);
    EXPECT_TRUE(c.enlace.rts());
    EXPECT_EQ(c.contar(TimeOut), 0);
    c.reloj.correr([] { return false; }, (Transferencia::TicksMaximosRts + 1) * tick);
    EXPECT_FALSE(c.enlace.rts());
    EXPECT_EQ(c.contar(TimeOut), 1);
}

TEST(TransferenciaRaster, LostPortEndsTheTransfer) {
    BancoRaster b;
    b.escribir(QStringLiteral("Salida00.bin"), Bytes({0x00, 0x00, 0x05, 0x01, 0xAA}));
    b.impresora = Guion({Ack, std::nullopt});
    b.raster.iniciar();
    b.correr([&] { return b.puerto.escritos.size() < 2; });
    b.puerto.rechazarApertura = true;
    b.puerto.fail(EventoEncuadre);
    EXPECT_FALSE(b.raster.RasterActivo);
    EXPECT_TRUE(b.enlace.ErrorEnvio);
    EXPECT_EQ(b.sink.mensajes.size(), 1); // only the port's message
    EXPECT_EQ(b.sink.cierres, 1);
    EXPECT_FALSE(b.sink.relojActivo(Reloj::Raster));
}
