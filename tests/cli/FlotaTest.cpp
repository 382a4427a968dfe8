// The fleet runner in this process, on ports in memory: printers that take everything, one
// that refuses a frame first, one that never answers, ports that cannot be opened and one
// lost in the middle. What the command line makes of it is tested end to end (RedTest).
#include "link/SerialPort.h"
#include "link/Trama.h"
#include "platform/FlotaEnvio.h"
#include "support/DisenoEjemplo.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>

using namespace quoravex;

namespace {

enum class Modo { Responde, NakPrimera, Mudo, Rechaza, RechazaSinMotivo, SePierde, SeCorta };

// Ports open at the same time, the most seen, and every frame written to each port.
struct Registro {
    int abiertos = 0, maximo = 0;
    std::map<QString, QList<QByteArray>> escritos;
};

// A port whose printer answers at once, refuses the first frame, never answers, is lost after
// the first frame or as the finished session closes it; or a port that cannot be opened.
class PuertoFalso : public SerialPort {
public:
    PuertoFalso(Modo modo, Registro& r, const QString& nombre)
        : mModo(modo), mR(r), mEscritos(r.escritos[nombre]) {}
    ~PuertoFalso() override { close(); }

    bool open(int, const ConfiguracionLinea&) override {
        if (mModo == Modo::Rechaza)
            mError = QStringLiteral("No se puede conectar con 127.0.0.1:7001: conexión rechazada");
        if (mModo == Modo::Rechaza || mModo == Modo::RechazaSinMotivo || mPerdido) return false;
        if (!mAbierto) mR.maximo = std::max(mR.maximo, ++mR.abiertos);
        return mAbierto = true;
    }
    void close() override {
        if (mAbierto) --mR.abiertos;
        if (std::exchange(mAbierto, false) && mModo == Modo::SeCorta) perder();
    }
    bool isOpen() const override { return mAbierto; }
    bool write(const QByteArray& bytes) override {
        if (!mAbierto) return false;
        mEscritos << bytes;
        QTimer::singleShot(0, this, [this] {
            emit drained();
            if (mModo == Modo::SePierde) {
                perder();
            } else if (mModo != Modo::Mudo) {
                const char estado = mModo == Modo::NakPrimera && mEscritos.size() == 1 ? 0x15 : 0x06;
                mEntrada = ConstruirTrama(QByteArray("\x01\x55\x01", 3) + estado, 4);
                emit received();
            }
        });
        return true;
    }
    QByteArray readAll() override { return std::exchange(mEntrada, {}); }
    qint64 bytesAvailable() const override { return mEntrada.size(); }
    qint64 bytesToWrite() const override { return 0; }
    bool setRts(bool) override { return true; }
    bool setDtr(bool) override { return true; }
    QString ultimoError() const override { return mError; }

private:
    void perder() {
        mPerdido = true;
        mError = QStringLiteral("Se ha perdido la conexión con 10.0.0.9:7001");
        emit errorEvent(EventoDcb);
    }

    Modo mModo;
    Registro& mR;
    QList<QByteArray>& mEscritos;
    bool mAbierto = false, mPerdido = false;
    QByteArray mEntrada;
    QString mError;
};

} // namespace

TEST(Flota, EveryPrinterEndsOnItsOwnAtMostNAtOnceAndFailuresSayWhy) {
    QTemporaryDir dir;
    Design design;
    ASSERT_TRUE(test::EscribirDisenoEjemplo(design, dir.path(), 2, 10, false));
    const QString comunicacion = QStringLiteral("Error de comunicación con Impresora");
    const struct {
        const char* puerto;
        Modo modo;
        QString error; // empty: correct
        int repeticiones;
    } casos[] = {
        {"ok1", Modo::Responde, {}, 0},
        {"/dev/ok 2", Modo::Responde, {}, 0},
        {"rechazado", Modo::Rechaza,
         QStringLiteral("No se puede conectar con 127.0.0.1:7001: conexión rechazada"), 0},
        {"sin-motivo", Modo::RechazaSinMotivo, QStringLiteral("No se puede abrir el puerto sin-motivo"), 0},
        {"mudo", Modo::Mudo, comunicacion, 10}, // the erase frame, 11 times
        {"perdido", Modo::SePierde, QStringLiteral("Se ha perdido la conexión con 10.0.0.9:7001"), 0},
        {"cortado", Modo::SeCorta, QStringLiteral("Se ha perdido la conexión con 10.0.0.9:7001"), 0},
        {"nak", Modo::NakPrimera, {}, 1},
        {"ok3", Modo::Responde, {}, 0},
    };
    Registro registro;
    QStringList terminados, fallidos;
    OpcionesFlota o;
    for (const auto& c : casos)
        o.puertos << QString::fromUtf8(c.puerto);
    o.carpeta = dir.path();
    o.ajustes = AjustesTick{1};
    o.paralelo = 2;
    o.crearPuerto = [&](const QString& nombre) {
        return std::make_unique<PuertoFalso>(casos[o.puertos.indexOf(nombre)].modo, registro, nombre);
    };
    o.alTerminar = [&](const ResultadoImpresora& r) { terminados << r.puerto; };
    const ResultadoFlota r = EnviarDisenoFlota(design, o);

    EXPECT_EQ(std::tuple(registro.maximo, registro.abiertos, terminados.size()), std::tuple(2, 0, 9));
    ASSERT_EQ(r.impresoras.size(), 9);
    for (qsizetype i = 0; i < r.impresoras.size(); ++i) {
        const auto& c = casos[i];
        const ResultadoImpresora& ri = r.impresoras[i];
        SCOPED_TRACE(c.puerto);
        EXPECT_EQ(std::tuple(ri.puerto, ri.envio.ok, ri.envio.error, ri.envio.repeticiones),
                  std::tuple(QString::fromUtf8(c.puerto), c.error.isEmpty(), c.error, c.repeticiones));
        const QString linea = LineaResultado(ri);
        if (!c.error.isEmpty()) {
            fallidos << ri.puerto;
            EXPECT_EQ(linea, ri.puerto + QStringLiteral(": ") + c.error);
            continue;
        }
        const QString patron =
            QStringLiteral("^%1: correcto \\(\\d+\\.\\d s, %2\\)$")
                .arg(QRegularExpression::escape(ri.puerto),
                     c.repeticiones == 1 ? QStringLiteral("1 repetición") : QStringLiteral("0 repeticiones"));
        EXPECT_TRUE(QRegularExpression(patron).match(linea).hasMatch()) << linea.toStdString();
        // Every good printer received the same frames; a refused one got its frame again.
        EXPECT_EQ(registro.escritos[ri.puerto].mid(c.repeticiones), registro.escritos[QStringLiteral("ok1")]);
    }
    EXPECT_GT(registro.escritos[QStringLiteral("ok1")].size(), 5);
    EXPECT_EQ(std::pair(r.fallidos(), r.ok()), std::pair(fallidos, false));
}

TEST(Flota, LogFileNamesAreSafeAndDistinct) {
    // Ports and their log files, separated by "|".
    const std::pair<const char*, const char*> casos[] = {
        {"/dev/ttyUSB0", "dev_ttyUSB0.log"},
        {"rfc2217://10.0.0.5:7001", "rfc2217_10.0.0.5_7001.log"},
        {"/dev/a/b|/dev/a_b|/DEV/A_B", "dev_a_b.log|dev_a_b-2.log|DEV_A_B-3.log"},
        {"..|-x|ñ", "puerto_...log|puerto_-x.log|puerto_.log"},
    };
    for (const auto& [puertos, nombres] : casos) {
        QStringList acortados;
        const QStringList vistos =
            NombresRegistro(QString::fromUtf8(puertos).split(QLatin1Char('|')), &acortados);
        EXPECT_EQ(std::pair(vistos.join(QLatin1Char('|')), acortados),
                  std::pair(QString::fromUtf8(nombres), QStringList()))
            << puertos;
    }
    // Names too long for a file are cut and told apart by a digest of the whole name.
    const QString largo = QStringLiteral("socket://") + QString(300, QLatin1Char('h'));
    const QStringList puertos{largo + QStringLiteral(":1"), largo + QStringLiteral(":2"),
                              QStringLiteral("/dev/x")};
    QStringList acortados;
    const QStringList nombres = NombresRegistro(puertos, &acortados);
    EXPECT_EQ(
        std::tuple(nombres[0].size(), nombres[1].size(), nombres[0] == nombres[1], nombres[2], acortados),
        std::tuple(204, 204, false, QStringLiteral("dev_x.log"), puertos.first(2)));
}
