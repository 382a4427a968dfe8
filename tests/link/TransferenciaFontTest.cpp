#include "link/TransferenciaFont.h"
#include "Banco.h"

#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

namespace {

constexpr uint8_t Ack = 0x06;
constexpr uint8_t Procesando = 0x07;
constexpr uint8_t Repetir = 0x0F;
constexpr uint8_t Otro = 0x15;
const std::optional<uint8_t> Nada;

const QByteArray Cabecera = Bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10});

// "0" with two segments of one byte (8 record bytes), "1" without ink, then the end.
QByteArray ArchivoEjemplo() {
    return Cabecera + Bytes({0x30, 0x0C, 0x00, 0x08, 0x00}) + Bytes({0x00, 0x00, 0x01, 0x02}) +
           Bytes({0x00, 0x40, 0x01, 0x02}) + Bytes({0x31, 0x0C, 0x00, 0x00, 0x00}) + Bytes({0xFF});
}

struct BancoFont : Banco {
    explicit BancoFont(const TipoFont& tipo = TipoFont::Turno()) : font(enlace, tipo, dir.path()) {}
    int correr(Impresora impresora = Guion({})) {
        font.iniciar();
        return Correr(
            *this, font, [this] { return font.FontActivo; }, std::move(impresora));
    }
    // One letter per frame sent: D data, H header, R raster block, T terminator, S status.
    QString secuencia() const {
        QString s;
        for (const QByteArray& t : cuerpos()) {
            const auto cmd = static_cast<uint8_t>(t.at(1));
            const TipoFont& k = font.tipo();
            s += cmd == 0x55                                     ? QLatin1Char('S')
                 : cmd == k.comandoDatos                         ? QLatin1Char('D')
                 : cmd == k.comandoRaster                        ? QLatin1Char('R')
                 : cmd == k.comandoCabecera && t.at(3) == '\xFF' ? QLatin1Char('T')
                 : cmd == k.comandoCabecera                      ? QLatin1Char('H')
                                                                 : QLatin1Char('?');
        }
        return s;
    }
    TransferenciaFont font;
};

// Answers by the kind of frame; kinds not in the list get ACK.
Impresora PorTipo(const TipoFont& tipo, char kind, std::optional<uint8_t> estado) {
    return [tipo, kind, estado](const QByteArray& t) -> std::optional<uint8_t> {
        const auto cmd = static_cast<uint8_t>(t.at(1));
        const char k = cmd == tipo.comandoDatos      ? 'D'
                       : cmd == tipo.comandoRaster   ? 'R'
                       : cmd == tipo.comandoCabecera ? (t.at(3) == '\xFF' ? 'T' : 'H')
                                                     : 'S';
        return k == kind ? estado : std::optional<uint8_t>(Ack);
    };
}

} // namespace

TEST(TransferenciaFont, WholeTransferFrameByFrame) {
    BancoFont b;
    b.escribir(QStringLiteral("DatosRasterTurno.bin"), ArchivoEjemplo());
    b.correr();
    EXPECT_EQ(b.cuerpos(), (QList<QByteArray>{
                               Bytes({0x01, 0x19, 0x08}) + Cabecera,
                               Bytes({0x01, 0x1A, 0x05, 0x30, 0x0C, 0x00, 0x08, 0x00}),
                               Bytes({0x01, 0x1B, 0x04, 0x00, 0x00, 0x01, 0x02}),
                               Bytes({0x01, 0x1B, 0x04, 0x00, 0x40, 0x01, 0x02}),
                               Bytes({0x01, 0x1A, 0x05, 0x31, 0x0C, 0x00, 0x00, 0x00}),
                               Bytes({0x01, 0x1A, 0x01, 0xFF}),
                           }));
    EXPECT_EQ(b.puerto.escritos.last().toHex(' '), QByteArray("01 1a 01 ff d5 ff"));
    const QString ack = QStringLiteral("  R -> ACK");
    EXPECT_EQ(b.sink.lineas, (QStringList{
                                 QStringLiteral("O -> ENV_DATOS_TURNO"),
                                 ack,
                                 QStringLiteral("O -> ENV_CABECERA_FONT"),
                                 ack,
                                 QStringLiteral("O -> ENV_RASTER_FONT( 7)"),
                                 ack,
                                 QStringLiteral("O -> ENV_RASTER_FONT( 7)"),
                                 ack,
                                 QStringLiteral("O -> ENV_CABECERA_FONT"),
                                 ack,
                                 QStringLiteral("O -> ENV_TERMINADOR_FONT"),
                                 ack,
                                 QStringLiteral("O -> FIN_ENVIO_FONT"),
                             }));
    EXPECT_FALSE(b.enlace.ErrorEnvio);
    EXPECT_TRUE(b.sink.mensajes.isEmpty());
    EXPECT_FALSE(b.sink.ocupado);
    EXPECT_FALSE(b.sink.relojActivo(Reloj::FontTurno));
    EXPECT_EQ(b.font.EstadoFont, 0);
    EXPECT_EQ(b.sink.barras[1], 100);
}

TEST(TransferenciaFont, TheThreeFonts) {
    struct Caso {
        const TipoFont& tipo;
        QString archivo;
        QByteArray comandos; // data, header, raster
        QString etiqueta;
        Reloj reloj;
        int barra;
    };
    const Caso casos[] = {
        {TipoFont::Turno(), QStringLiteral("DatosRasterTurno.bin"), Bytes({0x19, 0x1A, 0x1B}),
         QStringLiteral("O -> ENV_DATOS_TURNO"), Reloj::FontTurno, 1},
        {TipoFont::Fecha(), QStringLiteral("DatosRasterFecha.bin"), Bytes({0x23, 0x24, 0x25}),
         QStringLiteral("O -> ENV_DATOS_FECHA"), Reloj::FontFecha, 2},
        {TipoFont::Hora(), QStringLiteral("DatosRasterHora.bin"), Bytes({0x2D, 0x2E, 0x2F}),
         QStringLiteral("O -> ENV_DATOS_HORA"), Reloj::FontHora, 3},
    };
    for (const Caso& c : casos) {
        BancoFont b(c.tipo);
        b.escribir(c.archivo, ArchivoEjemplo());
        b.font.iniciar();
        EXPECT_TRUE(b.sink.relojActivo(c.reloj));
        b.correr();
        const QList<QByteArray> cuerpos = b.cuerpos();
        ASSERT_EQ(cuerpos.size(), 6) << c.archivo.toStdString();
        EXPECT_EQ(cuerpos[0].at(1), c.comandos.at(0));
        EXPECT_EQ(cuerpos[1].at(1), c.comandos.at(1));
        EXPECT_EQ(cuerpos[2].at(1), c.comandos.at(2));
        EXPECT_EQ(cuerpos[5].left(2), Bytes({0x01}) + c.comandos.mid(1, 1));
        EXPECT_EQ(b.sink.lineas.first(), c.etiqueta);
        EXPECT_EQ(b.sink.barras[c.barra], 100);
        EXPECT_FALSE(b.sink.relojActivo(c.reloj));
    }
}

TEST(TransferenciaFont, RecordsAddUpToTheCharacterCount) {
    // f3 = 0x10 and f4 = 0x01: 272 record bytes. Six records of 45 bytes make 270, so a
    // seventh is sent and brings the sum to 274.
    QByteArray archivo = Cabecera + Bytes({0x30, 0x0C, 0x00, 0x10, 0x01});
    for (int i = 0; i < 7; ++i) {
        const int n = i < 6 ? 42 : 1;
        archivo += Bytes({0x00, i, n}) + QByteArray(n, static_cast<char>(0x80 | i));
    }
    archivo += Bytes({0x31, 0x0C, 0x00, 0x00, 0x00, 0xFF});
    BancoFont b;
    b.escribir(QStringLiteral("DatosRasterTurno.bin"), archivo);
    b.correr();
    EXPECT_EQ(b.secuencia(), QStringLiteral("DHRRRRRRRHT"));
    const QList<QByteArray> cuerpos = b.cuerpos();
    EXPECT_EQ(cuerpos[2].left(6), Bytes({0x01, 0x1B, 45, 0x00, 0x00, 42}));
    EXPECT_EQ(cuerpos[2].size(), 48);
    EXPECT_EQ(cuerpos[8], Bytes({0x01, 0x1B, 4, 0x00, 6, 1, 0x86}));
    EXPECT_EQ(b.contar(QStringLiteral("O -> ENV_RASTER_FONT( 48)")), 6);
    EXPECT_EQ(b.contar(QStringLiteral("O -> ENV_RASTER_FONT( 7)")), 1);
    EXPECT_FALSE(b.enlace.ErrorEnvio);
}

TEST(TransferenciaFont, RepliesInEachWaitState) {
    struct Caso {
        const char* nombre;
        char tipo;                     // the frame kind that gets the status
        std::optional<uint8_t> estado; // then ACK for everything else
        QString secuencia;
        QStringList lineas; // must appear in this order
        int timeouts;
    };
    const QString nak = QStringLiteral("  R -> NAK");
    const QString status = QStringLiteral("O -> STATUS?");
    const QString procesando = QStringLiteral("  R -> PROCESANDO");
    const Caso casos[] = {
        {"all ack", 'X', Ack, QStringLiteral("DHRRHT"), {}, 0},
        {"data processing", 'D', Procesando, QStringLiteral("DSHRRHT"), {procesando, status}, 0},
        {"data other status", 'D', Otro, QStringLiteral("DSHRRHT"), {nak, status}, 0},
        {"data 0x0F",
         'D',
         Repetir,
         QStringLiteral("DDHRRHT"),
         {nak, QStringLiteral("O -> ENV_DATOS_TURNO")},
         0},
        {"data silent", 'D', Nada, QStringLiteral("DDHRRHT"), {}, 11},
        {"header 0x0F",
         'H',
         Repetir,
         QStringLiteral("DHHRRHT"),
         {nak, QStringLiteral("O -> ENV_CABECERA_FONT")},
         0},
        {"header processing", 'H', Procesando, QStringLiteral("DHSRRHT"), {procesando}, 0},
        {"header silent", 'H', Nada, QStringLiteral("DHSRRHT"), {}, 11},
        {"header other status", 'H', Otro, QStringLiteral("DHSRRHT"), {}, 10},
        {"block 0x0F",
         'R',
         Repetir,
         QStringLiteral("DHRRRHT"),
         {nak, QStringLiteral("O -> ENV_RASTER_FONT( 7)")},
         0},
        {"block processing", 'R', Procesando, QStringLiteral("DHRSRHT"), {procesando}, 0},
        {"block silent", 'R', Nada, QStringLiteral("DHRSRHT"), {QStringLiteral("  R -> REPITE")}, 51},
        {"block other status", 'R', Otro, QStringLiteral("DHRSRHT"), {QStringLiteral("  R -> REPITE")}, 50},
        {"terminator processing", 'T', Procesando, QStringLiteral("DHRRHTS"), {procesando}, 0},
        {"terminator other status", 'T', Otro, QStringLiteral("DHRRHTT"), {nak}, 0},
        {"terminator silent", 'T', Nada, QStringLiteral("DHRRHTT"), {}, 11},
    };
    for (const Caso& c : casos) {
        BancoFont b;
        b.escribir(QStringLiteral("DatosRasterTurno.bin"), ArchivoEjemplo());
        // Only the first frame of that kind gets the status.
        auto primera = std::make_shared<bool>(true);
        const Impresora base = PorTipo(TipoFont::Turno(), c.tipo, c.estado);
        const Impresora impresora = [primera, base](const QByteArray& t) -> std::optional<uint8_t> {
            const auto r = base(t);
            if (r == std::optional<uint8_t>(Ack) || !*primera) return Ack;
            *primera = false;
            return r;
        };
        b.correr(impresora);
        EXPECT_EQ(b.secuencia(), c.secuencia) << c.nombre;
        EXPECT_EQ(b.contar(QStringLiteral("  R -> TIME OUT")), c.timeouts) << c.nombre;
        qsizetype desde = 0;
        for (const QString& l : c.lineas) {
            desde = b.sink.lineas.indexOf(l, desde);
            EXPECT_GE(desde, 0) << c.nombre << " " << l.toStdString();
        }
        EXPECT_FALSE(b.enlace.ErrorEnvio) << c.nombre;
        EXPECT_EQ(b.sink.lineas.last(), QStringLiteral("O -> FIN_ENVIO_FONT")) << c.nombre;
    }
}

TEST(TransferenciaFont, GivesUpAfterTenRetries) {
    struct Caso {
        const char* nombre;
        char tipo;
        std::optional<uint8_t> estado;
        QString secuencia;
    };
    const Caso casos[] = {
        {"data 0x0F", 'D', Repetir, QString(11, QLatin1Char('D'))},
        {"data silent", 'D', Nada, QString(11, QLatin1Char('D'))},
        {"header 0x0F", 'H', Repetir, QStringLiteral("D") + QString(11, QLatin1Char('H'))},
        {"block 0x0F", 'R', Repetir, QStringLiteral("DH") + QString(11, QLatin1Char('R'))},
        // The terminator's retries do not renew its budget.
        {"terminator silent", 'T', Nada, QStringLiteral("DHRRH") + QString(11, QLatin1Char('T'))},
        {"terminator nak", 'T', Otro, QStringLiteral("DHRRH") + QString(11, QLatin1Char('T'))},
    };
    for (const Caso& c : casos) {
        BancoFont b;
        b.escribir(QStringLiteral("DatosRasterTurno.bin"), ArchivoEjemplo());
        b.correr(PorTipo(TipoFont::Turno(), c.tipo, c.estado));
        EXPECT_EQ(b.secuencia(), c.secuencia) << c.nombre;
        EXPECT_TRUE(b.enlace.ErrorEnvio) << c.nombre;
        ASSERT_EQ(b.sink.mensajes.size(), 1) << c.nombre;
        EXPECT_EQ(b.sink.mensajes[0].texto, QStringLiteral("Error de comunicación con Impresora"));
        EXPECT_EQ(b.sink.mensajes[0].titulo, QStringLiteral("Error comunicación"));
        EXPECT_EQ(b.sink.lineas.last(), QStringLiteral("O -> FIN_ENVIO_FONT")) << c.nombre;
        EXPECT_FALSE(b.font.FontActivo);
    }
    // Header timeouts poll instead of sending the header again, and give up all the same.
    BancoFont b;
    b.escribir(QStringLiteral("DatosRasterTurno.bin"), ArchivoEjemplo());
    b.correr([](const QByteArray& t) { return t.at(1) == 0x19 ? std::optional<uint8_t>(Ack) : Nada; });
    EXPECT_EQ(b.secuencia(), QStringLiteral("DH") + QString(10, QLatin1Char('S')));
    EXPECT_EQ(b.contar(QStringLiteral("  R -> TIME OUT")), 11 * 11);
    EXPECT_TRUE(b.enlace.ErrorEnvio);
}

TEST(TransferenciaFont, FilesThatSendNothingOrStop) {
    struct Caso {
        const char* nombre;
        std::optional<QByteArray> archivo;
        QString secuencia;
        bool error;
    };
    QByteArray largo = Cabecera + Bytes({0x30, 0x0C, 0x00, 99, 0x00, 0x00, 0x00, 96}) + QByteArray(96, 'x');
    const Caso casos[] = {
        {"missing", std::nullopt, QString(), false},
        {"empty", QByteArray(), QString(), false},
        {"short header", Cabecera.left(5), QString(), true},
        {"no terminator byte", ArchivoEjemplo().chopped(1), QStringLiteral("DHRRH"), true},
        {"character header cut", Cabecera + Bytes({0x30, 0x0C}), QStringLiteral("D"), true},
        {"record cut", Cabecera + Bytes({0x30, 0x0C, 0x00, 0x08, 0x00, 0x00, 0x00, 0x05, 0x01}),
         QStringLiteral("DH"), true},
        {"record too long for a frame", largo, QStringLiteral("DH"), true},
    };
    for (const Caso& c : casos) {
        BancoFont b;
        if (c.archivo) b.escribir(QStringLiteral("DatosRasterTurno.bin"), *c.archivo);
        b.correr();
        EXPECT_EQ(b.secuencia(), c.secuencia) << c.nombre;
        EXPECT_EQ(b.enlace.ErrorEnvio, c.error) << c.nombre;
        EXPECT_EQ(b.sink.mensajes.size(), c.error ? 1 : 0) << c.nombre;
        if (c.error) {
            EXPECT_EQ(b.sink.mensajes[0].texto,
                      QStringLiteral("El archivo DatosRasterTurno.bin está incompleto o dañado"));
        }
        EXPECT_EQ(b.sink.lineas.last(), QStringLiteral("O -> FIN_ENVIO_FONT")) << c.nombre;
        EXPECT_FALSE(b.sink.ocupado) << c.nombre;
        EXPECT_FALSE(b.sink.relojActivo(Reloj::Intermitencia)) << c.nombre;
    }
}

TEST(TransferenciaFont, TimerRestartsAndTickSetting) {
    for (const int tick : {0, 16}) {
        FakeSerialPort puerto;
        RecordingSink sink;
        EnlaceImpresora enlace(puerto, sink, LineaEnvio, AjustesTick{tick});
        ASSERT_TRUE(enlace.Cargar(2, false));
        QTemporaryDir dir;
        QFile f(QDir(dir.path()).filePath(QStringLiteral("DatosRasterTurno.bin")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ArchivoEjemplo());
        f.close();
        TransferenciaFont font(enlace, TipoFont::Turno(), dir.path());
        font.iniciar();
        EXPECT_EQ(sink.intervalo(Reloj::FontTurno), tick ? 16 : 1);
        font.tick(); // opens
        font.tick(); // sends the data frame
        EXPECT_EQ(sink.intervalo(Reloj::FontTurno), tick ? 16 : 2);
        puerto.drain();
        font.tick(); // enters the wait
        EXPECT_EQ(sink.intervalo(Reloj::FontTurno), tick ? 16 : 1);
        puerto.receive(Respuesta(Ack));
        EXPECT_EQ(sink.intervalo(Reloj::TOut), tick ? 16 : 2);
    }
}
