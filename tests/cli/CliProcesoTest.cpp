// The sample design, and the quoravex-cli executable run on it as a user or a script would:
// generate with fields and missing pictures, info, preview, and codes read back by an
// independent decoder, zbarimg.
#include "InfoDiseno.h"

#include "document/ArchivoDiseno.h"
#include "document/Design.h"
#include "document/RecordCodec.h"
#include "render/ImagenObjeto.h"
#include "support/Bytes.h"
#include "support/Tinta.h"

#include <QCryptographicHash>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// The sample design of tests/data (muestra.tck and its picture muestra.bmp), built here
// object by object so that a reader can see what the committed files hold; and the
// command-line tool run as a process.
namespace muestra {

using namespace quoravex;

inline const QString RutaDiseno = QStringLiteral(QUORAVEX_DATOS_PRUEBA "/muestra.tck");
inline const QString RutaImagen = QStringLiteral(QUORAVEX_DATOS_PRUEBA "/muestra.bmp");

// 64 x 32: a black frame two dots wide and both diagonals, on white.
inline QImage Imagen() {
    QImage img(64, 32, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    for (const QRect r : {QRect(0, 0, 64, 2), QRect(0, 30, 64, 2), QRect(0, 0, 2, 32), QRect(62, 0, 2, 32)})
        p.fillRect(r, Qt::black);
    p.end();
    for (int x = 0; x < 64; ++x) {
        img.setPixel(x, x / 2, qRgb(0, 0, 0));
        img.setPixel(x, 31 - x / 2, qRgb(0, 0, 0));
    }
    return img;
}

// 400 dots long, three push-buttons (bits 1 to 3 of an object's push-buttons; bit 0 is the
// common part, printed on every ticket).
inline Design Diseno() {
    const struct {
        int16_t tipo;
        QRect r;
        uint32_t pulsadores;
        const char* texto;
        int16_t puntos, estilo;
        uint8_t formato;
    } objetos[] = {
        {TipoTextoFijo, {20, 8, 300, 40}, 1, "Bienvenido", 22, 2, 0},
        {TipoImagen, {160, 56, 64, 32}, 1, "", 0, 0, 0},
        {TipoLinea, {0, 100, 384, 3}, 1, "", 0, 0, 0},
        {TipoLinea, {8, 110, 2, 120}, 1, "", 0, 0, 0},
        {TipoTurno, {120, 120, 130, 60}, 1, "888", 36, 2, 3},
        {TipoFecha, {20, 360, 150, 20}, 1, "31/12/2099", 12, 0, 3},
        {TipoHora, {260, 360, 100, 20}, 1, "11:59 pm", 12, 0, 2},
        // One text per push-button at the same place, and a line on push-buttons 1 and 3.
        {TipoTextoFijo, {20, 250, 200, 30}, 2, "Caja", 18, 0, 0},
        {TipoTextoFijo, {20, 250, 200, 30}, 4, "Farmacia", 18, 0, 0},
        {TipoTextoFijo, {20, 250, 200, 30}, 8, "Información", 18, 0, 0},
        {TipoLinea, {0, 300, 384, 2}, 2 | 8, "", 0, 0, 0},
    };
    Design d;
    d.LargoTicket = 400;
    d.NumPulsadores = 3;
    for (const auto& x : objetos) {
        ObjetoTicket& o = d.objeto(
            d.agregar({x.tipo, x.formato ? std::optional(x.formato) : std::nullopt, x.r.top(), x.r.left(),
                       x.r.width(), x.r.height(), QString::fromUtf8(x.texto), x.pulsadores}));
        o.Pendiente = Falso; // confirmed, as every saved object is
        if (x.puntos > 0) {
            o.FontName = QStringLiteral("DejaVu Sans");
            o.FontSize = x.puntos;
            o.FontStyle = x.estilo;
        }
        if (x.tipo == TipoLinea) {
            o.LineaX = static_cast<int16_t>(x.r.left());
            o.LineaY = static_cast<int16_t>(x.r.top());
            o.Grosor = static_cast<int16_t>(std::min(x.r.width(), x.r.height()));
        }
        if (x.tipo == TipoImagen) {
            // Stored with the Windows paths it had where it was made; found beside the design.
            o.AnchoImagen = 64;
            o.ImagenTrabajo = QStringLiteral("C:\\Tickets\\muestra.bmp");
            o.ImagenOrigen = QStringLiteral("C:\\Tickets\\logo.png");
        }
    }
    d.TicketModificado = Falso;
    return d;
}

struct Salida {
    int codigo = -1; // -1: it did not end normally
    QByteArray out;
    QString err;
};

// quoravex-cli, or another program, run in the folder as a script would: without a display.
inline Salida Correr(const QStringList& argumentos, const QString& carpeta,
                     const QString& programa = QStringLiteral(QUORAVEX_CLI)) {
    QProcess p;
    p.setWorkingDirectory(carpeta);
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.remove(QStringLiteral("QT_QPA_PLATFORM"));
    // Its own runtime folder: no note about a missing one on standard error.
    entorno.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                   QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    p.setProcessEnvironment(entorno);
    p.start(programa, argumentos);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit) return {};
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace muestra

using namespace quoravex;
using namespace quoravex::pruebas;
using muestra::Correr;
using muestra::Salida;

namespace {

// The files generated for the sample design, by name: the rasters as the program wrote them
// before fields existed, and the turn, date and time fonts.
const QStringList SalidasMuestra = {
    QStringLiteral("DatosRasterFecha.bin b62d88e05ffae7ac101f0cb0a70fa0fb15562cee98ebbdfe326f9a4da5f5289b"),
    QStringLiteral("DatosRasterHora.bin 1ae79971d59826c42ba2207f5270223799f76c18ed4b443ff9a1ca2a91ecd59d"),
    QStringLiteral("DatosRasterTurno.bin b59668e9cce3de3c2e204b0770fc4c6aef6498c425222770adace44c0277e891"),
    QStringLiteral("Salida00.bin 3dc944fdcf215099158a3aadc700a9ed620b9dd513f262061f81b6da1c3bf068"),
    QStringLiteral("Salida01.bin 8824866db532c6ab1f244be75f286820d0c9220c3e987553667b832f24e089ac"),
    QStringLiteral("Salida02.bin 06691397a83af4713f93b3f88ff286c2fbb2f65208a7648103c6cf39ac4037e9"),
    QStringLiteral("Salida03.bin bce72fc743236f3741c1c4fafa918cf1c51b42eb980f58246ac734d811eb9438")};

// Every generated file in the folder with its digest.
QStringList Resumenes(const QString& dir) {
    QStringList r;
    for (const QString& f : QDir(dir).entryList({QStringLiteral("*.bin")}, QDir::Files, QDir::Name)) {
        const QByteArray bytes = Leer(QDir(dir).filePath(f));
        r << f + QLatin1Char(' ') +
                 QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    }
    return r;
}

// What zbarimg reads in the picture, without the line end it adds.
std::string Descodificar(const QString& zbarimg, const QString& imagen) {
    const Salida s = Correr({QStringLiteral("--raw"), QStringLiteral("-q"), imagen},
                            QFileInfo(imagen).absolutePath(), zbarimg);
    const QString texto = QString::fromUtf8(s.out).chopped(s.out.endsWith('\n') ? 1 : 0);
    return (s.codigo == 0 ? texto : QStringLiteral("(zbarimg: %1) %2").arg(s.codigo).arg(s.err))
        .toStdString();
}

} // namespace

// The committed sample equals the design built above and loads back as it. After
// changing it there, run this test once with QUORAVEX_REGENERAR_MUESTRA=1 to write the files again.
TEST(Muestra, CommittedFilesAreTheDesignBuiltHere) {
    const Design d = muestra::Diseno();
    const QByteArray datos = CodificarDiseno(d);
    ASSERT_EQ(datos.size(), 12 * 452) << "the header and eleven objects";
    if (qEnvironmentVariableIntValue("QUORAVEX_REGENERAR_MUESTRA") == 1) {
        ASSERT_TRUE(Escribir(muestra::RutaDiseno, datos) &&
                    GuardarImagenTrabajo(muestra::Imagen(), muestra::RutaImagen));
    }
    EXPECT_EQ(Leer(muestra::RutaDiseno), datos);
    const std::optional<QImage> imagen = CargarImagen(muestra::RutaImagen);
    ASSERT_TRUE(imagen);
    EXPECT_EQ(imagen->convertToFormat(QImage::Format_RGB32), muestra::Imagen());

    Design cargado;
    ASSERT_TRUE(CargarDiseno(cargado, datos).correcto);
    EXPECT_EQ(std::tuple(cargado.LargoTicket, cargado.NumPulsadores, cargado.NumObjetos),
              std::tuple(d.LargoTicket, d.NumPulsadores, 11));
    for (int i = 1; i <= 11; ++i)
        EXPECT_EQ(cargado.objeto(i), d.objeto(i)) << i;
}

// Every record in order, texts without their padding, and what is left over after the last
// whole record; records beyond the limit are counted, not shown.
TEST(CliInfo, HeaderAndEveryRecordAsJsonInRecordOrder) {
    CabeceraArchivo cabecera;
    cabecera.Longitud = 321;
    cabecera.NumPulsadores = 2;
    ObjetoTicket o;
    o.EnUso = Verdadero;
    o.Texto = QStringLiteral("  \"Año\"\\");
    o.Pulsadores = 0x1FFFF;
    o.Left = -7;
    QByteArray datos;
    for (const Registro& r : {CodificarCabecera(cabecera), Registro{}, CodificarRegistro(o)})
        datos.append(reinterpret_cast<const char*>(r.data()), r.size());
    QTemporaryDir trabajo;
    const QString ruta = trabajo.filePath(QStringLiteral("b.tck"));
    ASSERT_TRUE(Escribir(ruta, datos + "xyz"));
    auto en = [](const QJsonValue& v, const char* nombre) {
        return v.toObject().value(QLatin1String(nombre));
    };

    const Salida s = Correr({QStringLiteral("info"), ruta}, trabajo.path());
    ASSERT_EQ(s.codigo, 0) << s.err.toStdString();
    const QJsonObject raiz = QJsonDocument::fromJson(s.out).object();
    const QJsonValue cab = raiz[QStringLiteral("cabecera")];
    const QJsonArray registros = raiz[QStringLiteral("registros")].toArray();
    ASSERT_EQ(registros.size(), 2);
    const QJsonValue r = registros[1];
    EXPECT_EQ(std::tuple(en(raiz, "fichero").toString(), en(raiz, "longitud").toInt(),
                         en(raiz, "bytesSobrantes").toInt(), en(raiz, "registrosOmitidos").toInt(),
                         en(cab, "Version").toInt(), en(cab, "Marcador").toInt(), en(cab, "Longitud").toInt(),
                         en(cab, "NumPulsadores").toInt()),
              std::tuple(ruta, 3 * 452 + 3, 3, 0, 1, 4, 321, 2))
        << s.out.constData();
    EXPECT_EQ(
        std::tuple(en(registros[0], "posicion").toInt(), en(registros[0], "EnUso").toInt(),
                   en(r, "posicion").toInt(), en(r, "EnUso").toInt(), en(r, "Texto").toString(),
                   en(r, "Left").toInt(), en(r, "Pulsadores").toInt(), r.toObject().size()),
        std::tuple(1, 0, 2, -1, QStringLiteral("\"Año\"\\"), -7, 0x1FFFF, 33)); // posicion and 32 fields
    // The fields in record order, the header's last.
    EXPECT_TRUE(s.out.indexOf("\"EnUso\"") < s.out.indexOf("\"Pendiente\"") &&
                s.out.indexOf("\"Grosor\"") < s.out.indexOf("\"Version\"") &&
                s.out.indexOf("\"NumPulsadores\"") < s.out.indexOf("\"Pulsadores\""));

    const qint64 largo = qint64(cli::RegistrosMaximosInfo + 6) * 452;
    const QJsonObject g =
        QJsonDocument::fromJson(cli::InfoDisenoJson(datos.left(452), QStringLiteral("g"), largo)).object();
    EXPECT_EQ(std::pair(en(g, "registros").toArray().size(), en(g, "registrosOmitidos").toInt()),
              std::pair(qsizetype(0), cli::RegistrosMaximosInfo + 5));
}

// One picture per ticket, with ink where the sample's objects are and nowhere else.
TEST(CliPreview, OnePictureAPerTicketWithInkWhereTheObjectsAre) {
    QTemporaryDir trabajo;
    const QString salida = trabajo.filePath(QStringLiteral("vistas"));
    const Salida r = Correr({QStringLiteral("preview"), muestra::RutaDiseno, QStringLiteral("--out"), salida},
                            trabajo.path());
    ASSERT_EQ(r.codigo, 0) << r.err.toStdString();
    const QStringList nombres = {QStringLiteral("ticket-comun.png"), QStringLiteral("ticket-pulsador-01.png"),
                                 QStringLiteral("ticket-pulsador-02.png"),
                                 QStringLiteral("ticket-pulsador-03.png")};
    EXPECT_EQ(std::tuple(QDir(salida).entryList(QDir::Files), QDir(trabajo.path()).entryList(QDir::Files),
                         r.out.count('\n')),
              std::tuple(nombres, QStringList(), 4));
    for (int n = 0; n <= 3; ++n) {
        const QImage img(QDir(salida).filePath(nombres[n]));
        ASSERT_EQ(img.size(), QSize(384, 401)) << n;
        // The picture's frame, the common line, the upright line, the push-button line on 1
        // and 3, blank below the turn but for the upright, each push-button's text, the greeting.
        EXPECT_EQ(std::tuple(TintaEn(img, QRect(160, 56, 64, 2)), TintaEn(img, QRect(0, 100, 384, 3)),
                             TintaEn(img, QRect(8, 110, 2, 120)), TintaEn(img, QRect(0, 300, 384, 2)),
                             TintaEn(img, QRect(0, 186, 384, 50)), TintaEn(img, QRect(20, 250, 200, 30)) > 0,
                             TintaEn(img, QRect(20, 8, 300, 40)) > 50),
                  std::tuple(128, 1152, 240, n == 1 || n == 3 ? 768 : 0, TintaEn(img, QRect(8, 186, 2, 50)),
                             n > 0, true))
            << n;
    }
}

// The sample, whose picture lies beside it as MUESTRA.BMP, keeps the bytes it had before fields
// existed; missing pictures and values stop before anything is written.
TEST(CliCampos, SampleKeepsItsBytesAndMissingPicturesAndValuesStopFirst) {
    QTemporaryDir tmp;
    const QDir d(tmp.path());
    // The sample without its picture, and with a text of fields added.
    const QString sinImagen = d.filePath(QStringLiteral("sin-imagen.tck")),
                  copia = d.filePath(QStringLiteral("m/muestra.tck"));
    ASSERT_TRUE(QFile::copy(muestra::RutaDiseno, sinImagen) && d.mkpath(QStringLiteral("m")) &&
                QFile::copy(muestra::RutaDiseno, copia) &&
                QFile::copy(muestra::RutaImagen, d.filePath(QStringLiteral("m/MUESTRA.BMP"))));
    Design campos = muestra::Diseno();
    NuevoObjeto n;
    n.Texto = QStringLiteral("{sucursal} ({tel})");
    n.Top = 70;
    campos.objeto(campos.agregar(n)).FontName = QStringLiteral("DejaVu Sans");
    campos.objeto(campos.NumObjetos).FontSize = 10;
    campos.objeto(campos.NumObjetos).Pendiente = Falso;
    const QString conCampos = d.filePath(QStringLiteral("campos/campos.tck"));
    ASSERT_TRUE(d.mkpath(QStringLiteral("campos")));
    ASSERT_TRUE(QFile::copy(muestra::RutaImagen, d.filePath(QStringLiteral("campos/muestra.bmp"))));
    ASSERT_TRUE(GuardarDisenoComo(campos, conCampos).correcto);
    const QString valores = d.filePath(QStringLiteral("valores.csv"));
    ASSERT_TRUE(Escribir(valores, "tel;sucursal\n91 555 01 02;Peñíscola\n"));
    const QString valoresMal = d.filePath(QStringLiteral("mal.csv"));
    ASSERT_TRUE(Escribir(valoresMal, "tel;sucursal\n91;A\n92;B\n"));
    QByteArray datos = Leer(muestra::RutaDiseno);
    datos[441] = 2; // the header's version
    const QString version2 = d.filePath(QStringLiteral("version2.tck"));
    ASSERT_TRUE(Escribir(version2, datos));

    const QString faltan = QStringLiteral("No se encuentran estas imágenes del diseño; sus objetos se ven en "
                                          "blanco:\nC:\\Tickets\\muestra.bmp\n");
    const QString salida = d.filePath(QStringLiteral("salida/nueva"));
    const QString generate = QStringLiteral("generate"), dir = QStringLiteral("--dir"),
                  valor = QStringLiteral("--valor");
    const QString sucursal = QStringLiteral("sucursal=Peñíscola"), tel = QStringLiteral("tel=91 555 01 02");
    const struct {
        QStringList argumentos;
        int codigo;
        QString mensaje; // what standard error holds
        bool escribe;
    } casos[] = {
        {{generate, copia, dir, salida}, 0, QString(), true},
        {{generate, version2, dir, salida}, 1, QStringLiteral("Fichero de Version incompatible\n"), false},
        {{generate, sinImagen, dir, salida},
         1,
         faltan + QStringLiteral("No se ha generado ni enviado nada. Para "
                                 "seguir sin esas imágenes, use --imagenes-ausentes.\n"),
         false},
        {{generate, conCampos, dir, salida, valor, sucursal},
         1,
         QStringLiteral("Falta el valor del campo {tel}\n"),
         false},
        {{generate, conCampos, dir, salida, valor, sucursal, valor, QStringLiteral("tel=")},
         1,
         QStringLiteral("Falta el valor del campo {tel}\n"),
         false},
        {{generate, conCampos, dir, salida, valor, QStringLiteral("sucursal=Łódź"), valor, tel},
         1,
         QStringLiteral("El valor del campo {sucursal} tiene un carácter que un texto no puede imprimir: "
                        "\"Ł\" (U+0141)\n"),
         false},
        {{generate, conCampos, dir, salida, valor, QStringLiteral("sin igual")},
         2,
         QStringLiteral(
             "--valor necesita NOMBRE=VALOR, con un nombre de letras, dígitos, _ y -: sin igual\n"),
         false},
        {{generate, conCampos, dir, salida, valor, QStringLiteral("mi campo=1")},
         2,
         QStringLiteral(
             "--valor necesita NOMBRE=VALOR, con un nombre de letras, dígitos, _ y -: mi campo=1\n"),
         false},
        {{generate, conCampos, dir, salida, QStringLiteral("--valores"), valoresMal},
         1,
         QStringLiteral(
             "El fichero de valores %1 no se puede usar: línea 3: lleva una sola fila de valores bajo la "
             "cabecera; para dar valores a cada impresora use --ports-from.\n")
             .arg(QDir::toNativeSeparators(valoresMal)),
         false},
        {{QStringLiteral("preview"), sinImagen, QStringLiteral("--out"), salida}, 0, faltan, true},
        {{generate, sinImagen, dir, salida, QStringLiteral("--imagenes-ausentes")}, 0, faltan, true},
        {{generate, conCampos, dir, salida, valor, sucursal, valor, tel, valor,
          QStringLiteral("ciudad=Madrid")},
         0,
         QStringLiteral("Aviso: el diseño no tiene el campo {ciudad}; su valor no se usa.\n"),
         true},
    };
    for (const auto& c : casos) {
        QDir(salida).removeRecursively();
        const Salida r = Correr(c.argumentos, tmp.path());
        EXPECT_EQ(std::tuple(r.codigo, r.err.toStdString(), QFileInfo::exists(salida)),
                  std::tuple(c.codigo, c.mensaje.toStdString(), c.escribe))
            << c.argumentos.join(QLatin1Char(' ')).toStdString();
        if (c.argumentos[1] == copia) EXPECT_EQ(Resumenes(salida), SalidasMuestra);
    }

    // Without --dir, the design alone in its folder: its picture is found in the current one.
    const QString trabajo = d.filePath(QStringLiteral("trabajo"));
    ASSERT_TRUE(d.mkpath(trabajo) &&
                QFile::copy(muestra::RutaImagen, QDir(trabajo).filePath(QStringLiteral("muestra.bmp"))));
    EXPECT_EQ(Correr({generate, sinImagen}, trabajo).err, QString());
    EXPECT_EQ(Resumenes(trabajo), SalidasMuestra);

    // The same values from a file give the same bytes; and they differ from another office's.
    const QString conFichero = d.filePath(QStringLiteral("fichero"));
    const QString otra = d.filePath(QStringLiteral("otra"));
    ASSERT_EQ(Correr({generate, conCampos, dir, conFichero, QStringLiteral("--valores"), valores}, tmp.path())
                  .codigo,
              0);
    ASSERT_EQ(Correr({generate, conCampos, dir, otra, valor, QStringLiteral("sucursal=Teruel"), valor, tel},
                     tmp.path())
                  .codigo,
              0);
    EXPECT_EQ(Resumenes(conFichero), Resumenes(salida));
    QStringList deOtra = Resumenes(otra), deSalida = Resumenes(salida);
    EXPECT_NE(deOtra.takeAt(3), deSalida.takeAt(3)) << "Salida00.bin";
    EXPECT_EQ(deOtra, deSalida) << "the text is in the common part only";
}

TEST(CodigoZbar, WhatTheCommandWritesAndTheTicketPreviewShowsReadsBackAsWritten) {
    // Installed by scripts/bootstrap (zbar-tools); without it the test fails.
    const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    ASSERT_FALSE(zbarimg.isEmpty()) << "zbarimg not found: run scripts/bootstrap";

    QString url =
        QStringLiteral("https://turnos.example.org/cita?oficina=centro&servicio=caja&turno=A042&ref=");
    while (url.size() < 200)
        url += QString::number(url.size() % 10);
    const QString acentos = QStringLiteral("Turno nº 5 — atención");
    const struct {
        const char* tipo;
        QString datos;
        const char* opciones; // separated by "|"
        QString leido;        // what a reader gets
    } casos[] = {
        {"qr", url, "", url},
        {"qr", acentos, "", acentos},
        {"qr", QStringLiteral("Caja 3"), "--nivel|H|--version|4|--modulo|3", QStringLiteral("Caja 3")},
        {"code128", QStringLiteral("Turno A-042"), "", QStringLiteral("Turno A-042")},
        {"code128", QStringLiteral("A-42"), "--modulo|3|--sin-texto", QStringLiteral("A-42")},
        {"ean13", QStringLiteral("590123412345"), "", QStringLiteral("5901234123457")},
        {"ean13", QStringLiteral("4006381333931"), "--sin-texto", QStringLiteral("4006381333931")},
        {"code39", QStringLiteral("TURNO-42"), "", QStringLiteral("TURNO-42")},
    };

    QTemporaryDir carpeta;
    int n = 0;
    for (const auto& c : casos) {
        const std::string caso = std::to_string(++n) + " " + c.tipo;
        // The command's bitmap.
        const QString bmp = carpeta.filePath(QStringLiteral("codigo%1.bmp").arg(n));
        const Salida s = Correr(
            QStringList{QStringLiteral("codigo"), QStringLiteral("--tipo"), QString::fromLatin1(c.tipo),
                        QStringLiteral("--datos"), c.datos, QStringLiteral("--out"), bmp} +
                QString::fromLatin1(c.opciones).split(QLatin1Char('|'), Qt::SkipEmptyParts),
            carpeta.path());
        ASSERT_EQ(s.codigo, 0) << caso << ": " << s.err.toStdString();
        const QImage imagen(bmp);
        ASSERT_EQ(imagen.depth(), 1) << caso;
        const int w = imagen.width(), h = imagen.height();
        EXPECT_EQ(QString::fromUtf8(s.out),
                  QStringLiteral("%1: %2 x %3 puntos\n").arg(QDir::toNativeSeparators(bmp)).arg(w).arg(h))
            << caso;
        EXPECT_EQ(Descodificar(zbarimg, bmp), c.leido.toStdString()) << caso;

        // The same bitmap as a picture object drawn 1:1 on a ticket, saved, then previewed.
        ASSERT_LE(w, 384) << caso;
        ASSERT_LE(bmp.size(), LongitudRuta) << caso;
        auto d = std::make_unique<Design>();
        d->LargoTicket = static_cast<int16_t>(h + 40);
        const QRect donde((384 - w) / 2, 20, w, h);
        ObjetoTicket& o =
            d->objeto(d->agregar({TipoImagen, std::nullopt, donde.top(), donde.left(), w, h, {}, 1}));
        o.Pendiente = Falso;
        o.AnchoImagen = static_cast<int16_t>(w);
        o.ImagenTrabajo = bmp;
        const QString diseno = carpeta.filePath(QStringLiteral("ticket%1.tck").arg(n));
        ASSERT_TRUE(GuardarDisenoComo(*d, diseno).correcto) << caso;
        const QString vistas = carpeta.filePath(QStringLiteral("vistas%1").arg(n));
        const Salida v =
            Correr({QStringLiteral("preview"), diseno, QStringLiteral("--out"), vistas}, carpeta.path());
        ASSERT_EQ(v.codigo, 0) << caso << ": " << v.err.toStdString();
        const QString png = QDir(vistas).filePath(QStringLiteral("ticket-comun.png"));
        const QImage vista = QImage(png).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(vista.copy(donde), imagen.convertToFormat(QImage::Format_RGB32)) << caso << ": drawn 1:1";
        EXPECT_EQ(Descodificar(zbarimg, png), c.leido.toStdString()) << caso;
    }
}
