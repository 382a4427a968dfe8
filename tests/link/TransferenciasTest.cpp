#include "Banco.h"
#include "link/TransferenciaFechaHora.h"

#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

namespace {

const QByteArray Raster00 = Bytes({0x00, 0x00, 0x05, 0x01, 0xAA}); // one record: erase, block, end block
const QString AckLinea = QStringLiteral("  R -> ACK");
const QByteArray CabeceraFont = Bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10});
// "0" with two segments of one byte (8 record bytes), "1" without ink, then the end.
const QByteArray Font = CabeceraFont + Bytes({0x30, 0x0C, 0x00, 0x08, 0x00, 0x00, 0x00, 0x01, 0x02, 0x00,
                                              0x40, 0x01, 0x02, 0x31, 0x0C, 0x00, 0x00, 0x00, 0xFF});

// Starts the raster, or the font when `font`, and runs until it ends.
void Enviar(Banco& b, bool font) {
    if (font)
        b.font.iniciar();
    else
        b.raster.iniciar();
    b.correr();
}

} // namespace

// The send-all sequence: the raster files, then the turn font, frame by frame.
TEST(Transferencias, FramesByteForByte) {
    Banco b;
    b.escribir(QStringLiteral("Salida00.bin"),
               Bytes({0x00, 0x00, 0x05, 0x02, 0xAA, 0xBB, 0x00, 0x45, 0x01, 0xCC}));
    b.escribir(QStringLiteral("DatosRasterTurno.bin"), Font);
    b.enlace.ErrorEnvio = true; // left from an earlier run
    b.todo.iniciar();
    EXPECT_FALSE(b.sink.inicio);
    b.todo.iniciar(); // pressing again while it runs does nothing
    b.correr();
    EXPECT_EQ(b.cuerpos(), (QList<QByteArray>{Bytes({0x01, 0x5A, 0x06, 0x5A, 0xA5, 0xF4, 0x01, 0x01, 0x00}),
                                              Bytes({0x01, 0x15, 0x06, 0x00, 0x00, 0x05, 0x02, 0xAA, 0xBB}),
                                              Bytes({0x01, 0x15, 0x05, 0x00, 0x00, 0x45, 0x01, 0xCC}),
                                              Bytes({0x01, 0x15, 0x04, 0x00, 0x01, 0xF4, 0x00}),
                                              Bytes({0x01, 0x19, 0x08}) + CabeceraFont,
                                              Bytes({0x01, 0x1A, 0x05, 0x30, 0x0C, 0x00, 0x08, 0x00}),
                                              Bytes({0x01, 0x1B, 0x04, 0x00, 0x00, 0x01, 0x02}),
                                              Bytes({0x01, 0x1B, 0x04, 0x00, 0x40, 0x01, 0x02}),
                                              Bytes({0x01, 0x1A, 0x05, 0x31, 0x0C, 0x00, 0x00, 0x00}),
                                              Bytes({0x01, 0x1A, 0x01, 0xFF})}));
    EXPECT_EQ(
        b.sink.lineas.join(QLatin1Char('|')).toStdString(),
        "O -> BORRADO|  R -> ACK|O -> INICIO_ENVIO|O -> ENVIO ( 9)|  R -> ACK|O -> ENVIO ( 8)|  R -> ACK|"
        "O -> ENVIO ( 7)|  R -> ACK|O -> ENV_DATOS_TURNO|  R -> ACK|O -> ENV_CABECERA_FONT|  R -> ACK|"
        "O -> ENV_RASTER_FONT( 7)|  R -> ACK|O -> ENV_RASTER_FONT( 7)|  R -> ACK|O -> ENV_CABECERA_FONT|"
        "  R -> ACK|O -> ENV_TERMINADOR_FONT|  R -> ACK|O -> FIN_ENVIO_FONT");
    EXPECT_FALSE(b.enlace.ErrorEnvio || b.sink.ocupado || !b.sink.mensajes.isEmpty());
    EXPECT_TRUE(b.sink.barras[0] == 100 && b.sink.inicio && b.sink.pitidos == 1); // the font's: below

    // The files of every push-button in order; one file more than is sent lies in the folder.
    for (auto [botones, modelo, largo, codigo] :
         {std::tuple{0, 1, 500, 0x01}, {3, 2, 300, 0x22}, {4, 3, 511, 0x33}}) {
        Banco b;
        b.design.NumPulsadores = static_cast<int16_t>(botones);
        b.design.ModeloTeclado = static_cast<uint8_t>(modelo);
        b.design.LargoTicket = static_cast<int16_t>(largo);
        QList<QByteArray> esperados{
            Bytes({0x01, 0x5A, 0x06, 0x5A, 0xA5, largo & 0xFF, largo >> 8, codigo, 0})};
        for (int k = 0; k <= botones + 1; ++k) {
            b.escribir(TransferenciaRaster::NombreArchivo(k), Bytes({k, 0x00, 0x10 + k, 0x01, 0x80 + k}));
            if (k <= botones)
                esperados << Bytes({0x01, 0x15, 0x05, k, 0x00, 0x10 + k, 0x01, 0x80 + k})
                          << Bytes({0x01, 0x15, 0x04, k, largo >> 8, largo & 0xFF, 0x00});
        }
        Enviar(b, false);
        EXPECT_EQ(b.cuerpos(), esperados) << botones;
    }
    // The three fonts: their commands, log, bar and timer.
    for (auto [tipo, datos, nombre, barra, reloj] :
         {std::tuple{&TipoFont::Turno(), 0x19, "TURNO", 1, Reloj::FontTurno},
          {&TipoFont::Fecha(), 0x23, "FECHA", 2, Reloj::FontFecha},
          {&TipoFont::Hora(), 0x2D, "HORA", 3, Reloj::FontHora}}) {
        Banco b(AjustesTick::PorDefecto, *tipo);
        b.escribir(tipo->archivo, Font);
        Enviar(b, true);
        QByteArray comandos;
        for (const QByteArray& t : b.cuerpos())
            comandos.append(t.at(1));
        EXPECT_EQ(comandos, Bytes({datos, datos + 1, datos + 2, datos + 2, datos + 1, datos + 1})) << nombre;
        EXPECT_EQ(std::tuple(b.sink.lineas.first(), b.sink.barras[barra], b.sink.intervalo(reloj)),
                  std::tuple(QStringLiteral("O -> ENV_DATOS_") + QLatin1String(nombre), 100, 0));
    }
}

TEST(Transferencias, DateAndTimeFrameSentOnceThenTheWindowCloses) {
    const std::pair<QDateTime, QByteArray> lecturas[] = {
        {QDateTime(QDate(2023, 1, 1), QTime(0, 0, 0)), // a Sunday
         Bytes({0x00, 0x51, 0x0F, 2, 0, 2, 3, 0, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0})},
        {QDateTime(QDate(2026, 12, 5), QTime(23, 59, 59)), // a Saturday
         Bytes({0x00, 0x51, 0x0F, 2, 0, 2, 6, 1, 2, 7, 0, 5, 2, 3, 5, 9, 5, 9})},
        {QDateTime(QDate(999, 3, 10), QTime(12, 30, 0)), // fewer than four digits: sent as 2009
         Bytes({0x00, 0x51, 0x0F, 2, 0, 0, 9, 0, 3, 1, 1, 0, 1, 2, 3, 0, 0, 0})},
    };
    for (const auto& [momento, cuerpo] : lecturas)
        EXPECT_EQ(TramaFechaHora(momento).toHex(' '), cuerpo.toHex(' ')) << momento.toString().toStdString();

    FakeSerialPort puerto;
    RecordingSink sink;
    EnlaceImpresora enlace(puerto, sink, LineaFechaHora);
    ASSERT_TRUE(enlace.Cargar(2, false));
    int leidas = 0;
    TransferenciaFechaHora fecha(enlace, [&] {
        ++leidas;
        return QDateTime(QDate(2009, 6, 2), QTime(7, 5, 18));
    });
    enlace.RespuestaRX = "viejo";
    fecha.iniciar();
    EXPECT_EQ(sink.intervalo(Reloj::FechaHora), 1);
    fecha.tick(); // the frame's bytes are checked in the clock window's test
    EXPECT_EQ(leidas, 1);
    EXPECT_TRUE(enlace.RespuestaRX.isEmpty());
    EXPECT_EQ(sink.intervalo(Reloj::FechaHora), 500);
    EXPECT_TRUE(enlace.rts()); // not waited for: the next tick closes
    fecha.tick();
    EXPECT_FALSE(puerto.isOpen() || fecha.FechaHoraActivo);
    EXPECT_EQ(sink.cierres, 1);
    fecha.tick();
    EXPECT_EQ(puerto.escritos.size(), 1);
}

TEST(Transferencias, FilesThatSendNothingOrStop) {
    const QString falta = QStringLiteral("No se encuentra el archivo Salida0%1.bin");
    const QString danado = QStringLiteral("El archivo Salida00.bin está incompleto o dañado");
    const QString danadaFont = QStringLiteral("El archivo DatosRasterTurno.bin está incompleto o dañado");
    const QByteArray largo = Bytes({0x00, 0x00, 0x00, 95}) + QByteArray(95, '\x01'); // 95 bytes: too long
    const QByteArray largoFont =
        CabeceraFont + Bytes({0x30, 0x0C, 0x00, 99, 0, 0, 0, 96}) + QByteArray(96, 'x');
    QByteArray registros = CabeceraFont + Bytes({0x30, 0x0C, 0x00, 0x10, 0x01}); // 272 record bytes
    for (int i = 0; i < 7; ++i) // six records of 45 bytes make 270: a seventh is sent
        registros +=
            Bytes({0x00, i, i < 6 ? 42 : 1}) + QByteArray(i < 6 ? 42 : 1, static_cast<char>(0x80 | i));
    registros += Bytes({0x31, 0x0C, 0x00, 0x00, 0x00, 0xFF});
    const std::optional<QByteArray> nada;
    struct Caso {
        const char* nombre;
        int botones;                                     // push-buttons of the raster; -1: the font is sent
        std::vector<std::optional<QByteArray>> archivos; // Salida00.bin on, or the font file alone
        QString mensaje;                                 // empty: no failure
        const char* secuencia;
    };
    const Caso casos[] = {
        Caso{"header byte alone", 0, {Bytes({0x00})}, {}, "EF"},
        Caso{"header as 16 bits", 0, {Bytes({0x00, 0x00})}, {}, "EF"},
        Caso{"missing 00", 0, {}, falta.arg(0), "E"},
        Caso{"missing 02 of 3", 3, {Bytes({0x00}), Bytes({0x01}), nada, Bytes({0x03})}, falta.arg(2), "EFF"},
        Caso{"empty", 0, {QByteArray()}, danado, "E"},
        Caso{"record cut in its header", 0, {Bytes({0x00, 0x00, 0x05})}, danado, "E"},
        Caso{"record cut in its data", 0, {Bytes({0x00, 0x00, 0x05, 0x03, 0xAA})}, danado, "E"},
        Caso{"lone byte after a record", 0, {Raster00 + Bytes({0x00})}, danado, "EB"},
        Caso{"raster record too long for a frame", 0, {largo}, danado, "E"},
        Caso{"font missing: nothing is sent", -1, {}, {}, ""},
        Caso{"font empty: nothing is sent", -1, {QByteArray()}, {}, ""},
        Caso{"font records add up to the character's count", -1, {registros}, {}, "DHR7HT"},
        Caso{"short font header", -1, {CabeceraFont.left(5)}, danadaFont, ""},
        Caso{"no terminator byte", -1, {Font.chopped(1)}, danadaFont, "DHRRH"},
        Caso{"character header cut", -1, {CabeceraFont + Bytes({0x30, 0x0C})}, danadaFont, "D"},
        Caso{"font record cut", -1, {CabeceraFont + Bytes({0x30, 0x0C, 0, 8, 0, 0, 0, 5, 1})}, danadaFont,
             "DH"},
        Caso{"font record too long for a frame", -1, {largoFont}, danadaFont, "DH"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        Banco b;
        b.design.NumPulsadores = static_cast<int16_t>(std::max(c.botones, 0));
        for (size_t k = 0; k < c.archivos.size(); ++k)
            if (c.archivos[k])
                b.escribir(c.botones < 0 ? TipoFont::Turno().archivo
                                         : TransferenciaRaster::NombreArchivo(int(k)),
                           *c.archivos[k]);
        Enviar(b, c.botones < 0);
        const Reloj reloj = c.botones < 0 ? Reloj::FontTurno : Reloj::Raster;
        EXPECT_EQ(std::tuple(b.secuencia(), int(b.sink.mensajes.size()), b.sink.mensajes.value(0).texto,
                             b.enlace.ErrorEnvio, b.sink.ocupado, b.sink.intervalo(Reloj::Intermitencia),
                             b.sink.intervalo(reloj)),
                  std::tuple(Letras(c.secuencia), int(!c.mensaje.isEmpty()), c.mensaje, !c.mensaje.isEmpty(),
                             false, 0, 0));
        EXPECT_TRUE(c.botones >= 0 || b.sink.lineas.last() == QStringLiteral("O -> FIN_ENVIO_FONT"));
    }
}

// Every kind of reply to each kind of frame, up to giving up; frames lettered as by Clase().
TEST(Transferencias, RepliesRetriesAndGivingUp) {
    const std::optional<uint8_t> Nada;
    const QString nak = QStringLiteral("  R -> NAK"), procesando = QStringLiteral("  R -> PROCESANDO");
    const QString status = QStringLiteral("O -> STATUS?"), repite = QStringLiteral("  R -> REPITE");
    const QString datos = QStringLiteral("O -> ENV_DATOS_TURNO"),
                  cabecera = QStringLiteral("O -> ENV_CABECERA_FONT");
    const QString bloque = QStringLiteral("O -> ENV_RASTER_FONT( 7)"),
                  envio = QStringLiteral("O -> ENVIO ( 8)");
    // NAKs spend no retries: after fifty silences fifty are left, and the 101st NAK gives up.
    const Impresora mudaYLuegoNak = [n = std::make_shared<int>(0)](const QByteArray& t) {
        return Clase(t) != 'B' ? Ack : ++*n <= 50 ? std::nullopt : std::optional<uint8_t>(Nak);
    };
    // The last character header is refused three times, the terminator never answered.
    const Impresora terminadorMudo =
        [n = std::make_shared<int>(0)](const QByteArray& t) -> std::optional<uint8_t> {
        if (Clase(t) == 'T') return std::nullopt;
        return Clase(t) == 'H' && ++*n >= 2 && *n <= 4 ? Repetir : Ack;
    };
    struct Caso {
        const char* nombre;
        Impresora guion;
        const char* secuencia; // E first: the raster is sent, D first: the font, + first: both in turn
        int timeouts;          // ten or eleven for each wait, fifty after a font raster block
        int repeticiones;      // frames written again, as the link counts them
        bool falla;
        QStringList lineas = {}; // log lines that appear in this order
        int latencia = 0;
    };
    const Caso casos[] = {
        Caso{"erase busy", PorClase("E", Procesando), "ESBF", 0, 0, false, {procesando, status}},
        Caso{"erase refused", PorClase("E", Nak), "EEBF", 0, 1, false, {nak}},
        Caso{"erase silent", PorClase("E", Nada, true), "E11", 110, 10, true},
        // The late reply answers the first copy too: it waits for the line to go quiet, not for a tick.
        Caso{"erase silent once, then answered late", PorClase("E", Nada), "EEBF", 10, 1, false, {}, 10},
        Caso{"erase always refused", PorClase("E", Nak, true), "E11", 0, 10, true},
        Caso{"block refused, then busy", Guion({Ack, Nak, Procesando, Ack}), "EBBSF", 0, 1, false,
             {envio, nak, QStringLiteral("O -> REPITE ENVIO ( 8)"), procesando, status, AckLinea}},
        Caso{"block busy", PorClase("B", Procesando), "EBSF", 0, 0, false},
        Caso{"block busy, its poll refused", Guion({Ack, Procesando, Nak, Ack}), "EBSSF", 0, 1, false},
        Caso{"block always silent", PorClase("B", Nada, true), "EB101", 101 * 11, 100, true},
        Caso{"block silent fifty times, then refused", mudaYLuegoNak, "EB151", 50 * 11, 150, true},
        Caso{"font acknowledged", Guion({}), "DHRRHT", 0, 0, false},
        Caso{"data busy", PorClase("D", Procesando), "DSHRRHT", 0, 0, false, {procesando, status}},
        Caso{"data unknown status", PorClase("D", Nak), "DSHRRHT", 0, 0, false, {nak, status}},
        Caso{"data refused", PorClase("D", Repetir), "DDHRRHT", 0, 1, false, {nak, datos}},
        Caso{"data silent", PorClase("D", Nada), "DDHRRHT", 11, 1, false},
        Caso{"header refused", PorClase("H", Repetir), "DHHRRHT", 0, 1, false, {nak, cabecera}},
        Caso{"header busy", PorClase("H", Procesando), "DHSRRHT", 0, 0, false, {procesando}},
        Caso{"header silent", PorClase("H", Nada), "DHSRRHT", 11, 0, false},
        Caso{"header unknown status: ignored", PorClase("H", Nak), "DHSRRHT", 10, 0, false},
        Caso{"font block refused", PorClase("R", Repetir), "DHRRRHT", 0, 1, false, {nak, bloque}},
        Caso{"font block busy", PorClase("R", Procesando), "DHRSRHT", 0, 0, false, {procesando}},
        Caso{"font block silent", PorClase("R", Nada), "DHRSRHT", 51, 0, false, {repite}},
        Caso{"font block unknown status: ignored", PorClase("R", Nak), "DHRSRHT", 50, 0, false, {repite}},
        Caso{"terminator busy", PorClase("T", Procesando), "DHRRHTS", 0, 0, false, {procesando}},
        Caso{"terminator unknown status", PorClase("T", Nak), "DHRRHTT", 0, 1, false, {nak}},
        Caso{"terminator silent", PorClase("T", Nada), "DHRRHTT", 11, 1, false},
        Caso{"data always refused", PorClase("D", Repetir, true), "D11", 0, 10, true},
        Caso{"data always silent", PorClase("D", Nada, true), "D11", 121, 10, true},
        Caso{"header always refused", PorClase("H", Repetir, true), "DH11", 0, 10, true},
        Caso{"header timeouts poll instead", PorClase("HS", Nada, true), "DHS10", 121, 9, true},
        Caso{"font block always refused", PorClase("R", Repetir, true), "DHR11", 0, 10, true},
        // The terminator's retries do not renew its budget.
        Caso{"terminator always silent", PorClase("T", Nada, true), "DHRRHT11", 121, 10, true},
        Caso{"terminator always unknown", PorClase("T", Nak, true), "DHRRHT11", 0, 10, true},
        Caso{"retries spent before the terminator", terminadorMudo, "DHRRH4T11", 121, 13, true},
        // Sending both, the turn font follows unless the raster failed.
        Caso{"both: raster always refused", PorClase("E", Repetir, true), "+E11", 0, 10, true},
        Caso{"both: font always refused", PorClase("D", Repetir, true), "+EBFD11", 0, 10, true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        Banco b;
        b.escribir(QStringLiteral("Salida00.bin"), Raster00);
        b.escribir(QStringLiteral("DatosRasterTurno.bin"), Font);
        b.guion = c.guion;
        b.latencia = c.latencia;
        const bool todo = c.secuencia[0] == '+';
        if (todo) {
            b.todo.iniciar();
            b.correr();
            EXPECT_TRUE(!b.todo.activo() && b.sink.inicio && b.sink.pitidos == 1);
        } else {
            Enviar(b, c.secuencia[0] == 'D');
        }
        const MensajeVisto m = b.sink.mensajes.value(0);
        const QString fallo = ErrorComunicacion + QStringLiteral("|Error comunicación");
        EXPECT_EQ(std::tuple(b.secuencia(), b.sink.contar(TimeOut), b.enlace.repeticiones(),
                             b.enlace.ErrorEnvio, m.texto + QLatin1Char('|') + m.titulo),
                  std::tuple(Letras(c.secuencia + todo), c.timeouts, c.repeticiones, c.falla,
                             c.falla ? fallo : QStringLiteral("|")));
        qsizetype desde = 0;
        for (const QString& l : c.lineas)
            EXPECT_GE(desde = b.sink.lineas.indexOf(l, desde), 0) << l.toStdString();
        EXPECT_TRUE(c.secuencia[0] != 'D' || b.sink.lineas.last() == QStringLiteral("O -> FIN_ENVIO_FONT"));
        // Loading the port again starts the count of repeats anew.
        ASSERT_TRUE(b.enlace.Cargar(1, false));
        EXPECT_EQ(b.enlace.repeticiones(), 0);
    }
}

TEST(Transferencias, StepsWhenTheFrameHasLeftAndTheReplyIsInOrThePortIsLost) {
    Banco b;
    b.escribir(QStringLiteral("Salida00.bin"), Raster00);
    b.puerto.alEscribir = nullptr; // the test drains and answers by hand
    b.raster.iniciar();
    b.puerto.receive(Banco::Respuesta(Ack)); // in before the frame is reported gone: nothing moves yet
    EXPECT_EQ(b.raster.EstadoRaster, 1);
    b.puerto.drain();
    EXPECT_EQ(b.secuencia(), "EB"); // the first block, at once
    b.puerto.drain();
    b.puerto.receive(Banco::Respuesta(Ack));
    EXPECT_EQ(b.secuencia(), "EBF");
    EXPECT_EQ(b.reloj.ahora, 0);

    // A port that never reports its queue drained holds the line only for a while.
    Banco c;
    c.puerto.alEscribir = nullptr;
    c.raster.iniciar();
    const int64_t tick = AjustesTick::PorDefecto;
    c.reloj.correr([] { return false; }, (Transferencia::TicksMaximosRts - 1) * tick);
    EXPECT_TRUE(c.enlace.rts() && c.sink.lineas.size() == 1);
    c.reloj.correr([] { return false; }, (Transferencia::TicksMaximosRts + 1) * tick);
    EXPECT_FALSE(c.enlace.rts());
    EXPECT_EQ(c.sink.contar(TimeOut), 1);
    // The wait for the reply starts when the frame has left, not when it was written.
    Banco e;
    e.puerto.alEscribir = nullptr;
    e.raster.iniciar();
    e.reloj.ahora = 10;
    e.puerto.drain();
    e.reloj.correr([] { return false; }, 10 + tick - 1);
    EXPECT_EQ(e.sink.contar(TimeOut), 0);
    e.reloj.correr([] { return false; }, 10 + tick);
    EXPECT_EQ(e.sink.contar(TimeOut), 1);

    // A port lost for good ends the transfer and the window with the port's message, once.
    Banco d;
    d.escribir(QStringLiteral("Salida00.bin"), Raster00);
    d.guion = Guion({Ack, std::nullopt});
    d.raster.iniciar();
    d.reloj.correr([&] { return d.puerto.escritos.size() >= 2; }, 1000);
    d.puerto.rechazarApertura = true;
    d.puerto.fail(EventoEncuadre);
    d.puerto.fail(EventoParidad);
    EXPECT_TRUE(!d.raster.RasterActivo && d.enlace.ErrorEnvio && d.enlace.puertoPerdido());
    ASSERT_EQ(d.sink.mensajes.size(), 1);
    EXPECT_EQ(d.sink.mensajes[0].texto, QStringLiteral("Error en el puerto de comunicaciones COM1"));
    EXPECT_EQ(d.sink.cierres, 1);
    EXPECT_EQ(d.sink.intervalo(Reloj::Raster), 0);
}
