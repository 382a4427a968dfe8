// Runs the quoravex-cli executable on the sample design, as a user or a script would.
#include "InfoDiseno.h"
#include "Muestra.h"
#include "TablaPuertos.h"

#include "document/ArchivoDiseno.h"
#include "render/GenerarSalida.h"
#include "render/Redibujar.h"
#include "render/SalidaRaster.h"
#include "render/Workspace.h"

#include "support/Bytes.h"

#include "support/Tinta.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSerialPortInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace quoravex;
using namespace quoravex::pruebas;

using quoravex::pruebas::TintaEn;

namespace {

struct Resultado {
    int codigo = -1;
    QByteArray out;
    QString err;
};

Resultado correr(const QStringList& argumentos, const QString& carpeta, bool conPlataforma = true) {
    QProcess p;
    p.setWorkingDirectory(carpeta);
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    if (!conPlataforma) entorno.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(entorno);
    p.start(QStringLiteral(QUORAVEX_CLI), argumentos);
    Resultado r;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit) return r;
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

QStringList ficheros(const QString& carpeta) {
    return QDir(carpeta).entryList(QDir::Files, QDir::Name);
}

} // namespace

TEST(CliGenerate, WritesExactlyWhatTheProgramWrites) {
    QTemporaryDir trabajo, otra;
    const QString salida = trabajo.filePath(QStringLiteral("salida/nueva"));
    // Run from an empty folder: the picture is found beside the design file.
    Resultado r = correr({QStringLiteral("generate"), muestra::RutaDiseno(), QStringLiteral("--dir"), salida},
                         trabajo.path());
    ASSERT_EQ(r.codigo, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    // What the program itself writes for "Enviar a Impresora" after "Abrir..." of the sample.
    QTemporaryDir programa;
    const QString delPrograma = programa.path(), dirDiseno = QFileInfo(muestra::RutaDiseno()).absolutePath();
    auto d = std::make_unique<Design>();
    auto ws = std::make_unique<Workspace>();
    ASSERT_TRUE(AbrirDiseno(*d, muestra::RutaDiseno()).correcto);
    ws->dimensionarCanvas(d->LargoTicket);
    RedibujarTicket(*d, *ws, dirDiseno);
    ASSERT_EQ(GenerarDatosImpresora(*d, *ws, delPrograma, dirDiseno), QString());
    const QStringList esperados = ficheros(delPrograma);
    EXPECT_EQ(esperados.size(), 7)
        << "the raster files of the common part and three push-buttons, three fonts";
    EXPECT_EQ(ficheros(salida), esperados);
    for (const QString& f : esperados)
        EXPECT_EQ(Leer(QDir(salida).filePath(f)), Leer(QDir(delPrograma).filePath(f))) << f.toStdString();
    EXPECT_EQ(ficheros(trabajo.path()), QStringList()) << "nothing is left in the current directory";

    // Without --dir and without a display platform: the design alone in another folder, its
    // picture in the current directory, the files written there.
    const QString diseno = otra.filePath(QStringLiteral("muestra.tck"));
    ASSERT_TRUE(QFile::copy(muestra::RutaDiseno(), diseno));
    ASSERT_TRUE(QFile::copy(muestra::RutaImagen(), trabajo.filePath(QStringLiteral("muestra.bmp"))));
    r = correr({QStringLiteral("generate"), diseno}, trabajo.path(), false);
    ASSERT_EQ(r.codigo, 0) << r.err.toStdString();
    EXPECT_EQ(ficheros(trabajo.path()).size(), 8);
    EXPECT_EQ(Leer(trabajo.filePath(QStringLiteral("Salida00.bin"))),
              Leer(NombreArchivoSalida(1, delPrograma)));
}

TEST(CliInfo, HeaderAndEveryRecordAsJson) {
    QTemporaryDir trabajo;
    const Resultado r = correr({QStringLiteral("info"), muestra::RutaDiseno()}, trabajo.path());
    ASSERT_EQ(r.codigo, 0) << r.err.toStdString();
    QJsonParseError error;
    const QJsonObject raiz = QJsonDocument::fromJson(r.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.constData();
    EXPECT_EQ(raiz[QStringLiteral("cabecera")].toObject()[QStringLiteral("Longitud")].toInt(), 400);
    const QJsonArray registros = raiz[QStringLiteral("registros")].toArray();
    ASSERT_EQ(registros.size(), 11);
    EXPECT_EQ(registros[9].toObject()[QStringLiteral("Texto")].toString(), QStringLiteral("Información"));
    EXPECT_EQ(registros[1].toObject()[QStringLiteral("ImagenTrabajo")].toString(),
              QStringLiteral("C:\\Tickets\\muestra.bmp"));
    // Every field as the in-process function gives it.
    const QByteArray datos = Leer(muestra::RutaDiseno());
    EXPECT_EQ(r.out, cli::InfoDisenoJson(datos, muestra::RutaDiseno(), datos.size()));
}

TEST(CliPreview, OnePictureAPerTicketWithInkWhereTheObjectsAre) {
    QTemporaryDir trabajo;
    const QString salida = trabajo.filePath(QStringLiteral("vistas"));
    const Resultado r = correr(
        {QStringLiteral("preview"), muestra::RutaDiseno(), QStringLiteral("--out"), salida}, trabajo.path());
    ASSERT_EQ(r.codigo, 0) << r.err.toStdString();
    const QStringList nombres = {QStringLiteral("ticket-comun.png"), QStringLiteral("ticket-pulsador-01.png"),
                                 QStringLiteral("ticket-pulsador-02.png"),
                                 QStringLiteral("ticket-pulsador-03.png")};
    EXPECT_EQ(ficheros(salida), nombres);
    EXPECT_EQ(ficheros(trabajo.path()), QStringList()) << "the generated files stay in a temporary folder";
    EXPECT_EQ(QString::fromUtf8(r.out).count(QLatin1Char('\n')), 4);

    const QRect textoPulsador(20, 250, 200, 30);
    QList<QImage> textos;
    for (int n = 0; n <= 3; ++n) {
        const QImage img(QDir(salida).filePath(nombres[n]));
        ASSERT_EQ(img.size(), QSize(384, 401)) << n;
        // The picture's frame, the common line, the upright line, the push-button line on 1 and 3.
        EXPECT_EQ(std::tuple(TintaEn(img, QRect(160, 56, 64, 2)), TintaEn(img, QRect(0, 100, 384, 3)),
                             TintaEn(img, QRect(8, 110, 2, 120)), TintaEn(img, QRect(0, 300, 384, 2))),
                  std::tuple(128, 1152, 240, n == 1 || n == 3 ? 768 : 0))
            << n;
        // The greeting, the turn, the date and the time.
        for (const QRect campo : {QRect(20, 8, 300, 40), QRect(120, 120, 200, 60), QRect(20, 360, 150, 20),
                                  QRect(260, 360, 120, 20)})
            EXPECT_GT(TintaEn(img, campo), 50) << n;
        EXPECT_EQ(TintaEn(img, QRect(0, 186, 384, 50)), TintaEn(img, QRect(8, 186, 2, 50)))
            << "blank but the upright";
        EXPECT_EQ(TintaEn(img, textoPulsador) > 0, n > 0) << "each push-button's text, " << n;
        textos << img.copy(textoPulsador);
    }
    EXPECT_NE(textos[1], textos[2]);
    EXPECT_NE(textos[2], textos[3]);
}

TEST(CliFailures, SpanishMessageNonZeroExitAndNoFiles) {
    QTemporaryDir trabajo;
    // The sample with its header's version changed.
    QByteArray datos = Leer(muestra::RutaDiseno());
    datos[441] = 2;
    const QString otra = trabajo.filePath(QStringLiteral("version2.tck"));
    ASSERT_TRUE(Escribir(otra, datos));
    const QString falta = trabajo.filePath(QStringLiteral("no-existe.tck"));
    const QString salida = trabajo.filePath(QStringLiteral("salida"));
    const QString version = QStringLiteral("Fichero de Version incompatible");
    const QString noExiste = QStringLiteral("No existe el fichero:\n") + QDir::toNativeSeparators(falta);
    const QString generate = QStringLiteral("generate"), preview = QStringLiteral("preview"),
                  info = QStringLiteral("info"), dir = QStringLiteral("--dir"), out = QStringLiteral("--out");
    const struct {
        QStringList argumentos;
        int codigo;
        QString mensaje;
    } casos[] = {
        {{generate, otra, dir, salida}, 1, version},
        {{preview, otra, out, salida}, 1, version},
        {{info, falta}, 1, noExiste},
        {{generate, falta, dir, salida}, 1, noExiste},
        {{generate, muestra::RutaDiseno(), dir, otra},
         1,
         QStringLiteral("No se puede crear la carpeta ") + QDir::toNativeSeparators(otra) + QLatin1Char('.')},
        {{QStringLiteral("enviar")}, 2, QStringLiteral("Orden desconocida: enviar")},
    };
    for (const auto& c : casos) {
        const Resultado r = correr(c.argumentos, trabajo.path());
        EXPECT_EQ(std::tuple(r.codigo, r.err.contains(c.mensaje), r.out),
                  std::tuple(c.codigo, true, QByteArray()))
            << c.argumentos.join(QLatin1Char(' ')).toStdString() << "\n"
            << r.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(salida)) << "a design that cannot be loaded writes nothing";
}

// Whatever serial ports this machine has (none in CI): the ones Qt Serial Port sees, exit 0.
TEST(CliPuertos, ThePortsPresentAsJsonAndAsATable) {
    QTemporaryDir dir;
    QStringList presentes;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        presentes << info.systemLocation();
    presentes.sort();

    const Resultado json = correr({QStringLiteral("puertos"), QStringLiteral("--json")}, dir.path());
    ASSERT_EQ(json.codigo, 0) << json.err.toStdString();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out.constData();
    ASSERT_TRUE(doc.isArray()) << json.out.constData();
    const QStringList campos = {QStringLiteral("descripcion"), QStringLiteral("dispositivo"),
                                QStringLiteral("estable"),     QStringLiteral("fabricante"),
                                QStringLiteral("nombre"),      QStringLiteral("numeroSerie"),
                                QStringLiteral("usb")};
    QStringList vistos;
    for (const QJsonValue& v : doc.array()) {
        const QJsonObject o = v.toObject();
        EXPECT_EQ(o.keys(), campos) << json.out.constData();
        for (const QString& campo : campos)
            EXPECT_TRUE(o.value(campo).isString()) << campo.toStdString();
        vistos << o.value(QStringLiteral("dispositivo")).toString();
    }
    vistos.sort();
    EXPECT_EQ(vistos, presentes);

    const Resultado tabla = correr({QStringLiteral("puertos")}, dir.path());
    ASSERT_EQ(tabla.codigo, 0) << tabla.err.toStdString();
    const QStringList lineas = QString::fromUtf8(tabla.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (presentes.isEmpty())
        EXPECT_EQ(lineas, QStringList{QStringLiteral("No se ha detectado ningún puerto serie.")});
    else
        EXPECT_EQ(lineas.size(), presentes.size() + 1) << tabla.out.constData();

    // The table's layout, on a list of its own: aligned columns, "-" for what is not known.
    const QList<PuertoDetectado> falsos = {{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("ttyUSB0"),
                                            QStringLiteral("FT232R USB UART"), QStringLiteral("FTDI"),
                                            QStringLiteral("A1"), QStringLiteral("0403:6001"),
                                            QStringLiteral("/dev/serial/by-id/u")},
                                           {QStringLiteral("/dev/ttyS0"), QStringLiteral("ttyS0")}};
    EXPECT_EQ(cli::TablaPuertos(falsos).toStdString(),
              "Dispositivo   Nombre estable       Descripción      Fabricante  N.º de serie  USB\n"
              "/dev/ttyUSB0  /dev/serial/by-id/u  FT232R USB UART  FTDI        A1            0403:6001\n"
              "/dev/ttyS0    -                    -                -           -             -\n");
}
