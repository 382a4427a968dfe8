#include "link/TransferenciaFont.h"
#include "Banco.h"

#include <QFile>
#include <gtest/gtest.h>
#include <string_view>

using namespace quoravex;
using namespace quoravex::test;

namespace {

const QByteArray Cabecera = Bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10});

// "0" with two segments of one byte (8 record bytes), "1" without ink, then the end.
const QByteArray Ejemplo = Cabecera + Bytes({0x30, 0x0C, 0x00, 0x08, 0x00, 0x00, 0x00, 0x01, 0x02, 0x00, 0x40,
                                             0x01, 0x02, 0x31, 0x0C, 0x00, 0x00, 0x00, 0xFF});

// The kind of a frame: D data, H header, R raster block, T terminator, S status request.
char Clase(const TipoFont& k, const QByteArray& t) {
    const auto cmd = static_cast<uint8_t>(t.at(1));
    return cmd == k.comandoDatos      ? 'D'
           : cmd == k.comandoRaster   ? 'R'
           : cmd == k.comandoCabecera ? (t.at(3) == '\xFF' ? 'T' : 'H')
                                      : 'S';
}

struct BancoFont : Banco {
    explicit BancoFont(const TipoFont& tipo = TipoFont::Turno(), const QByteArray& archivo = Ejemplo)
        : font(enlace, tipo, dir.path()) {
        escribir(tipo.archivo, archivo);
        reloj.ticks[tipo.reloj] = [this] { font.tick(); };
    }
    void enviar(Impresora i = Guion({})) {
        impresora = std::move(i);
        font.iniciar();
        correr([this] { return font.FontActivo; });
    }
    QString secuencia() const {
        QString s;
        for (const QByteArray& t : cuerpos())
            s += QLatin1Char(Clase(font.tipo(), t));
        return s;
    }
    TransferenciaFont font;
};

// The first frame of these kinds gets the status (every one with `siempre`), the rest ACK.
Impresora PorTipo(std::string_view tipos, std::optional<uint8_t> estado, bool siempre = false) {
    auto primera = std::make_shared<bool>(true);
    return [=](const QByteArray& t) -> std::optional<uint8_t> {
        if (tipos.find(Clase(TipoFont::Turno(), t)) == tipos.npos || !(*primera || siempre)) return Ack;
        *primera = false;
        return estado;
    };
}

} // namespace

TEST(TransferenciaFont, WholeTransferFrameByFrame) {
    BancoFont b;
    b.enviar();
    EXPECT_EQ(b.cuerpos(), (QList<QByteArray>{
                               Bytes({0x01, 0x19, 0x08}) + Cabecera,
                               Bytes({0x01, 0x1A, 0x05, 0x30, 0x0C, 0x00, 0x08, 0x00}),
                               Bytes({0x01, 0x1B, 0x04, 0x00, 0x00, 0x01, 0x02}),
                               Bytes({0x01, 0x1B, 0x04, 0x00, 0x40, 0x01, 0x02}),
                               Bytes({0x01, 0x1A, 0x05, 0x31, 0x0C, 0x00, 0x00, 0x00}),
                               Bytes({0x01, 0x1A, 0x01, 0xFF}),
                           }));
    EXPECT_EQ(b.puerto.escritos.last().toHex(' '), QByteArray("01 1a 01 ff d5 ff"));
    const QString ack = QStringLiteral("  R -> ACK"), cabecera = QStringLiteral("O -> ENV_CABECERA_FONT");
    const QString bloque = QStringLiteral("O -> ENV_RASTER_FONT( 7)");
    EXPECT_EQ(b.sink.lineas,
              (QStringList{QStringLiteral("O -> ENV_DATOS_TURNO"), ack, cabecera, ack, bloque, ack, bloque,
                           ack, cabecera, ack, QStringLiteral("O -> ENV_TERMINADOR_FONT"), ack,
                           QStringLiteral("O -> FIN_ENVIO_FONT")}));
    EXPECT_FALSE(b.enlace.ErrorEnvio);
    EXPECT_TRUE(b.sink.mensajes.isEmpty());
    EXPECT_FALSE(b.sink.relojActivo(Reloj::FontTurno));
    EXPECT_EQ(b.sink.barras[1], 100);
}

TEST(TransferenciaFont, TheThreeFonts) {
    const std::tuple<const TipoFont&, int, const char*, Reloj, int> casos[] = {
        {TipoFont::Turno(), 0x19, "TURNO", Reloj::FontTurno, 1},
        {TipoFont::Fecha(), 0x23, "FECHA", Reloj::FontFecha, 2},
        {TipoFont::Hora(), 0x2D, "HORA", Reloj::FontHora, 3},
    };
    for (const auto& [tipo, datos, nombre, reloj, barra] : casos) {
        BancoFont b(tipo);
        b.enviar();
        QByteArray comandos;
        for (const QByteArray& t : b.cuerpos())
            comandos.append(t.at(1));
        EXPECT_EQ(comandos, Bytes({datos, datos + 1, datos + 2, datos + 2, datos + 1, datos + 1})) << nombre;
        EXPECT_EQ(b.sink.lineas.first(), QStringLiteral("O -> ENV_DATOS_") + QLatin1String(nombre));
        EXPECT_EQ(b.sink.barras[barra], 100);
        EXPECT_FALSE(b.sink.relojActivo(reloj));
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
    BancoFont b(TipoFont::Turno(), archivo + Bytes({0x31, 0x0C, 0x00, 0x00, 0x00, 0xFF}));
    b.enviar();
    EXPECT_EQ(b.secuencia(), QStringLiteral("DHRRRRRRRHT"));
    const QList<QByteArray> cuerpos = b.cuerpos();
    EXPECT_EQ(cuerpos[2].left(6), Bytes({0x01, 0x1B, 45, 0x00, 0x00, 42}));
    EXPECT_EQ(cuerpos[2].size(), 48);
    EXPECT_EQ(cuerpos[8], Bytes({0x01, 0x1B, 4, 0x00, 6, 1, 0x86}));
    EXPECT_EQ(b.contar(QStringLiteral("O -> ENV_RASTER_FONT( 48)")), 6);
    EXPECT_FALSE(b.enlace.ErrorEnvio);
}

TEST(TransferenciaFont, RepliesInEachWaitState) {
    const std::optional<uint8_t> Nada;
    const QString nak = QStringLiteral("  R -> NAK"), repite = QStringLiteral("  R -> REPITE");
    const QString procesando = QStringLiteral("  R -> PROCESANDO"), status = QStringLiteral("O -> STATUS?");
    const struct {
        const char* tipo;              // the frame kind whose first copy gets the status
        std::optional<uint8_t> estado; // then ACK for everything
        QString secuencia;
        QStringList lineas; // must appear in this order
        int timeouts;
    } casos[] = {
        {"X", Ack, QStringLiteral("DHRRHT"), {}, 0},
        {"D", Procesando, QStringLiteral("DSHRRHT"), {procesando, status}, 0},
        {"D", Nak, QStringLiteral("DSHRRHT"), {nak, status}, 0},
        {"D", Repetir, QStringLiteral("DDHRRHT"), {nak, QStringLiteral("O -> ENV_DATOS_TURNO")}, 0},
        {"D", Nada, QStringLiteral("DDHRRHT"), {}, 11},
        {"H", Repetir, QStringLiteral("DHHRRHT"), {nak, QStringLiteral("O -> ENV_CABECERA_FONT")}, 0},
        {"H", Procesando, QStringLiteral("DHSRRHT"), {procesando}, 0},
        {"H", Nada, QStringLiteral("DHSRRHT"), {}, 11},
        {"H", Nak, QStringLiteral("DHSRRHT"), {}, 10},
        {"R", Repetir, QStringLiteral("DHRRRHT"), {nak, QStringLiteral("O -> ENV_RASTER_FONT( 7)")}, 0},
        {"R", Procesando, QStringLiteral("DHRSRHT"), {procesando}, 0},
        {"R", Nada, QStringLiteral("DHRSRHT"), {repite}, 51},
        {"R", Nak, QStringLiteral("DHRSRHT"), {repite}, 50},
        {"T", Procesando, QStringLiteral("DHRRHTS"), {procesando}, 0},
        {"T", Nak, QStringLiteral("DHRRHTT"), {nak}, 0},
        {"T", Nada, QStringLiteral("DHRRHTT"), {}, 11},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(testing::Message() << c.tipo << " " << (c.estado ? int(*c.estado) : -1));
        BancoFont b;
        b.enviar(PorTipo(c.tipo, c.estado));
        EXPECT_EQ(b.secuencia(), c.secuencia);
        EXPECT_EQ(b.contar(QStringLiteral("  R -> TIME OUT")), c.timeouts);
        qsizetype desde = 0;
        for (const QString& l : c.lineas) {
            desde = b.sink.lineas.indexOf(l, desde);
            EXPECT_GE(desde, 0) << l.toStdString();
        }
        EXPECT_FALSE(b.enlace.ErrorEnvio);
        EXPECT_EQ(b.sink.lineas.last(), QStringLiteral("O -> FIN_ENVIO_FONT"));
    }
}

TEST(TransferenciaFont, GivesUpAfterTenRetries) {
    const std::optional<uint8_t> Nada;
    const QString T11(11, QLatin1Char('T'));
    const struct {
        const char* tipo;
        std::optional<uint8_t> estado;
        QString secuencia;
    } casos[] = {
        {"D", Repetir, QString(11, QLatin1Char('D'))},
        {"D", Nada, QString(11, QLatin1Char('D'))},
        {"H", Repetir, QStringLiteral("D") + QString(11, QLatin1Char('H'))},
        {"HS", Nada, QStringLiteral("DH") + QString(10, QLatin1Char('S'))}, // header timeouts poll instead
        {"R", Repetir, QStringLiteral("DH") + QString(11, QLatin1Char('R'))},
        // The terminator's retries do not renew its budget.
        {"T", Nada, QStringLiteral("DHRRH") + T11},
        {"T", Nak, QStringLiteral("DHRRH") + T11},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.secuencia.toStdString());
        BancoFont b;
        b.enviar(PorTipo(c.tipo, c.estado, true));
        EXPECT_EQ(b.secuencia(), c.secuencia);
        EXPECT_TRUE(b.enlace.ErrorEnvio);
        ASSERT_EQ(b.sink.mensajes.size(), 1);
        EXPECT_EQ(b.sink.mensajes[0].texto, ErrorComunicacion);
        EXPECT_EQ(b.sink.lineas.last(), QStringLiteral("O -> FIN_ENVIO_FONT"));
        EXPECT_FALSE(b.font.FontActivo);
    }
}

TEST(TransferenciaFont, FilesThatSendNothingOrStop) {
    const QByteArray largo =
        Cabecera + Bytes({0x30, 0x0C, 0x00, 99, 0x00, 0x00, 0x00, 96}) + QByteArray(96, 'x');
    const struct {
        const char* nombre;
        std::optional<QByteArray> archivo;
        QString secuencia;
    } casos[] = {
        {"missing", std::nullopt, QString()},
        {"empty", QByteArray(), QString()},
        {"short header", Cabecera.left(5), QString()},
        {"no terminator byte", Ejemplo.chopped(1), QStringLiteral("DHRRH")},
        {"character header cut", Cabecera + Bytes({0x30, 0x0C}), QStringLiteral("D")},
        {"record cut", Cabecera + Bytes({0x30, 0x0C, 0x00, 0x08, 0x00, 0x00, 0x00, 0x05, 0x01}),
         QStringLiteral("DH")},
        {"record too long for a frame", largo, QStringLiteral("DH")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        BancoFont b(TipoFont::Turno(), c.archivo.value_or(QByteArray()));
        if (!c.archivo) QFile::remove(QDir(b.dir.path()).filePath(TipoFont::Turno().archivo));
        b.enviar();
        EXPECT_EQ(b.secuencia(), c.secuencia);
        const bool error = c.archivo && !c.archivo->isEmpty(); // a missing or empty file is no font
        EXPECT_EQ(b.enlace.ErrorEnvio, error);
        EXPECT_EQ(b.sink.mensajes.size(), error ? 1 : 0);
        EXPECT_EQ(b.sink.mensajes.value(0).texto,
                  error ? QStringLiteral("El archivo DatosRasterTurno.bin está incompleto o dañado")
                        : QString());
        EXPECT_EQ(b.sink.lineas.last(), QStringLiteral("O -> FIN_ENVIO_FONT"));
        EXPECT_FALSE(b.sink.ocupado);
        EXPECT_FALSE(b.sink.relojActivo(Reloj::Intermitencia));
    }
}
