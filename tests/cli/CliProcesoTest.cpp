// Runs the quoravex-cli executable on the sample design, as a user or a script would.
#include "Muestra.h"

#include "document/ArchivoDiseno.h"
#include "render/GenerarSalida.h"
#include "render/Redibujar.h"
#include "render/SalidaRaster.h"
#include "render/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace quoravex;

namespace {

struct Resultado {
    int codigo = -1;
    QByteArray out;
    QString err;
};

Resultado cli(const QStringList& argumentos, const QString& carpeta, bool conPlataforma = true) {
    QProcess p;
    p.setWorkingDirectory(carpeta);
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    if (!conPlataforma) entorno.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(entorno);
    p.start(QStringLiteral(QUORAVEX_CLI), argumentos);
    Resultado r;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit) return r;
    r.codigo = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

QStringList ficheros(const QString& carpeta) {
    return QDir(carpeta).entryList(QDir::Files, QDir::Name);
}

// What the program itself writes for "Enviar a Impresora" after "Abrir..." of the design.
QString generarComoElPrograma(const QString& rutaDiseno, const QString& dir) {
    auto d = std::make_unique<Design>();
    const ResultadoArchivo carga = AbrirDiseno(*d, rutaDiseno);
    if (!carga.correcto) return carga.mensaje;
    const QString dirDiseno = QFileInfo(rutaDiseno).absolutePath();
    auto ws = std::make_unique<Workspace>();
    ws->dimensionarCanvas(d->LargoTicket);
    RedibujarTicket(*d, *ws, dirDiseno);
    return GenerarDatosImpresora(*d, *ws, dir, dirDiseno);
}

int tinta(const QImage& img, QRect r) {
    int n = 0;
    r &= img.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += img.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
    return n;
}

// The sample with its header's version changed.
QString disenoDeOtraVersion(const QTemporaryDir& dir) {
    QByteArray datos = leer(muestra::RutaDiseno());
    datos[441] = 2;
    const QString ruta = dir.filePath(QStringLiteral("version2.tck"));
    QFile f(ruta);
    if (f.open(QIODevice::WriteOnly)) f.write(datos);
    return ruta;
}

// The files the program writes for the sample, generated once.
QString muestraGenerada() {
    static QTemporaryDir dir;
    static const bool hecho = generarComoElPrograma(muestra::RutaDiseno(), dir.path()).isEmpty();
    return hecho ? dir.path() : QString();
}

} // namespace

TEST(CliGenerate, WritesExactlyWhatTheProgramWrites) {
    QTemporaryDir trabajo;
    const QString salida = trabajo.filePath(QStringLiteral("salida/nueva"));
    // Run from an empty folder: the picture is found beside the design file.
    const Resultado r = cli(
        {QStringLiteral("generate"), muestra::RutaDiseno(), QStringLiteral("--dir"), salida}, trabajo.path());
    ASSERT_EQ(r.codigo, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    const QString delPrograma = muestraGenerada();
    ASSERT_FALSE(delPrograma.isEmpty());

    const QStringList esperados = {
        QStringLiteral("DatosRasterFecha.bin"), QStringLiteral("DatosRasterHora.bin"),
        QStringLiteral("DatosRasterTurno.bin"), QStringLiteral("Salida00.bin"),
        QStringLiteral("Salida01.bin"),         QStringLiteral("Salida02.bin"),
        QStringLiteral("Salida03.bin")};
    EXPECT_EQ(ficheros(salida), esperados);
    EXPECT_EQ(ficheros(delPrograma), esperados);
    for (const QString& f : esperados)
        EXPECT_EQ(leer(QDir(salida).filePath(f)), leer(QDir(delPrograma).filePath(f))) << f.toStdString();
    EXPECT_EQ(ficheros(trabajo.path()), QStringList()) << "nothing is left in the current directory";

    // The picture made it into the common part: its frame's top row at (160..223, 56).
    QImage lienzo(384, 401, QImage::Format_RGB32);
    lienzo.fill(Qt::white);
    DecodificarRaster(leer(NombreArchivoSalida(1, salida)), [&](int x, int y) {
        if (lienzo.rect().contains(x, y)) lienzo.setPixel(x, y, qRgb(0, 0, 0));
    });
    EXPECT_EQ(tinta(lienzo, QRect(160, 56, 64, 1)), 64);
}

TEST(CliGenerate, CurrentDirectoryByDefaultWithoutADisplayPlatform) {
    // The design alone in one folder, its picture in the current directory.
    QTemporaryDir trabajo, otra;
    const QString diseno = otra.filePath(QStringLiteral("muestra.tck"));
    ASSERT_TRUE(QFile::copy(muestra::RutaDiseno(), diseno));
    ASSERT_TRUE(QFile::copy(muestra::RutaImagen(), trabajo.filePath(QStringLiteral("muestra.bmp"))));
    const Resultado r = cli({QStringLiteral("generate"), diseno}, trabajo.path(), false);
    ASSERT_EQ(r.codigo, 0) << r.err.toStdString();
    EXPECT_EQ(ficheros(trabajo.path()).size(), 8);
    EXPECT_EQ(leer(trabajo.filePath(QStringLiteral("Salida00.bin"))),
              leer(NombreArchivoSalida(1, muestraGenerada())));
}

TEST(CliInfo, HeaderAndEveryRecordAsJson) {
    QTemporaryDir trabajo;
    const Resultado r = cli({QStringLiteral("info"), muestra::RutaDiseno()}, trabajo.path());
    ASSERT_EQ(r.codigo, 0) << r.err.toStdString();
    QJsonParseError error;
    const QJsonObject raiz = QJsonDocument::fromJson(r.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.constData();
    const QJsonObject cabecera = raiz[QStringLiteral("cabecera")].toObject();
    EXPECT_EQ(cabecera[QStringLiteral("Version")].toInt(), 1);
    EXPECT_EQ(cabecera[QStringLiteral("Marcador")].toInt(), 4);
    EXPECT_EQ(cabecera[QStringLiteral("Longitud")].toInt(), 400);
    EXPECT_EQ(cabecera[QStringLiteral("NumPulsadores")].toInt(), 3);
    const QJsonArray registros = raiz[QStringLiteral("registros")].toArray();
    const Design d = muestra::Diseno();
    ASSERT_EQ(registros.size(), 11);
    for (int k = 1; k <= 11; ++k) {
        const QJsonObject o = registros[k - 1].toObject();
        const ObjetoTicket& esperado = d.objeto(k);
        EXPECT_EQ(o[QStringLiteral("posicion")].toInt(), k);
        EXPECT_EQ(o[QStringLiteral("EnUso")].toInt(), -1);
        EXPECT_EQ(o[QStringLiteral("Tipo")].toInt(), esperado.Tipo);
        EXPECT_EQ(o[QStringLiteral("Orden")].toInt(), k);
        EXPECT_EQ(o[QStringLiteral("Left")].toInt(), esperado.Left);
        EXPECT_EQ(o[QStringLiteral("Top")].toInt(), esperado.Top);
        EXPECT_EQ(o[QStringLiteral("Texto")].toString(), esperado.Texto.valor());
        EXPECT_EQ(o[QStringLiteral("FontName")].toString(), esperado.FontName.valor());
        EXPECT_EQ(o[QStringLiteral("Pulsadores")].toInteger(), esperado.Pulsadores);
    }
    EXPECT_EQ(registros[9].toObject()[QStringLiteral("Texto")].toString(), QStringLiteral("Información"));
    EXPECT_EQ(registros[1].toObject()[QStringLiteral("ImagenTrabajo")].toString(),
              QStringLiteral("C:\\Tickets\\muestra.bmp"));
    EXPECT_EQ(registros[4].toObject()[QStringLiteral("Formato")].toInt(), 3);
}

TEST(CliPreview, OnePictureAPerTicketWithInkWhereTheObjectsAre) {
    QTemporaryDir trabajo;
    const QString salida = trabajo.filePath(QStringLiteral("vistas"));
    const Resultado r = cli(
        {QStringLiteral("preview"), muestra::RutaDiseno(), QStringLiteral("--out"), salida}, trabajo.path());
    ASSERT_EQ(r.codigo, 0) << r.err.toStdString();
    const QStringList nombres = {QStringLiteral("ticket-comun.png"), QStringLiteral("ticket-pulsador-01.png"),
                                 QStringLiteral("ticket-pulsador-02.png"),
                                 QStringLiteral("ticket-pulsador-03.png")};
    EXPECT_EQ(ficheros(salida), nombres);
    EXPECT_EQ(ficheros(trabajo.path()), QStringList()) << "the generated files stay in a temporary folder";
    EXPECT_EQ(QString::fromUtf8(r.out).count(QLatin1Char('\n')), 4);

    const QRect textoPulsador(20, 250, 200, 30);
    for (int n = 0; n <= 3; ++n) {
        const QImage img(QDir(salida).filePath(nombres[n]));
        ASSERT_EQ(img.size(), QSize(384, 401)) << n;
        EXPECT_GT(tinta(img, QRect(20, 8, 300, 40)), 100) << "the greeting, " << n;
        EXPECT_EQ(tinta(img, QRect(160, 56, 64, 2)), 128) << "the picture's frame, " << n;
        EXPECT_EQ(tinta(img, QRect(0, 100, 384, 3)), 384 * 3) << "the common line, " << n;
        EXPECT_EQ(tinta(img, QRect(8, 110, 2, 120)), 240) << "the upright line, " << n;
        EXPECT_GT(tinta(img, QRect(120, 120, 200, 60)), 300) << "the turn, " << n;
        EXPECT_GT(tinta(img, QRect(20, 360, 150, 20)), 50) << "the date, " << n;
        EXPECT_GT(tinta(img, QRect(260, 360, 120, 20)), 50) << "the time, " << n;
        EXPECT_EQ(tinta(img, textoPulsador) > 0, n > 0) << "each push-button's text, " << n;
        EXPECT_EQ(tinta(img, QRect(0, 300, 384, 2)), n == 1 || n == 3 ? 768 : 0) << n;
        EXPECT_EQ(tinta(img, QRect(0, 186, 384, 50)), tinta(img, QRect(8, 186, 2, 50)))
            << "blank but the upright, " << n;
    }
    // The three push-button texts differ.
    const QImage caja(QDir(salida).filePath(nombres[1])), farmacia(QDir(salida).filePath(nombres[2]));
    EXPECT_NE(caja.copy(textoPulsador), farmacia.copy(textoPulsador));
}

TEST(CliFailures, SpanishMessageNonZeroExitAndNoFiles) {
    QTemporaryDir trabajo;
    const QString otraVersion = disenoDeOtraVersion(trabajo);
    const QString falta = trabajo.filePath(QStringLiteral("no-existe.tck"));
    const QString salida = trabajo.filePath(QStringLiteral("salida"));
    struct Caso {
        QStringList argumentos;
        int codigo;
        QString mensaje;
    };
    const Caso casos[] = {
        {{QStringLiteral("generate"), otraVersion, QStringLiteral("--dir"), salida},
         1,
         QStringLiteral("Fichero de Version incompatible")},
        {{QStringLiteral("info"), otraVersion}, 1, QStringLiteral("Fichero de Version incompatible")},
        {{QStringLiteral("preview"), otraVersion, QStringLiteral("--out"), salida},
         1,
         QStringLiteral("Fichero de Version incompatible")},
        {{QStringLiteral("generate"), falta, QStringLiteral("--dir"), salida},
         1,
         QStringLiteral("No existe el fichero:\n") + QDir::toNativeSeparators(falta)},
        {{QStringLiteral("info"), falta},
         1,
         QStringLiteral("No existe el fichero:\n") + QDir::toNativeSeparators(falta)},
        {{QStringLiteral("preview"), falta, QStringLiteral("--out"), salida},
         1,
         QStringLiteral("No existe el fichero:\n") + QDir::toNativeSeparators(falta)},
        {{QStringLiteral("preview"), muestra::RutaDiseno()},
         2,
         QStringLiteral("Falta la opción --out con la carpeta de las vistas previas.")},
        {{QStringLiteral("generate"), muestra::RutaDiseno(), QStringLiteral("--dir"), otraVersion},
         1,
         QStringLiteral("No se puede crear la carpeta ") + QDir::toNativeSeparators(otraVersion) +
             QLatin1Char('.')},
        {{QStringLiteral("enviar")}, 2, QStringLiteral("Orden desconocida: enviar")},
    };
    for (const Caso& c : casos) {
        const Resultado r = cli(c.argumentos, trabajo.path());
        const std::string nombre = c.argumentos.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.codigo, c.codigo) << nombre;
        EXPECT_TRUE(r.err.contains(c.mensaje)) << nombre << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << nombre;
    }
    EXPECT_FALSE(QFileInfo::exists(salida)) << "a design that cannot be loaded writes nothing";
}
