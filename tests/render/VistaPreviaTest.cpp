#include "render/VistaPrevia.h"

#include "document/Design.h"
#include "render/GenerarSalida.h"
#include "render/SalidaRaster.h"
#include "render/Workspace.h"
#include "support/Bytes.h"
#include "support/Tinta.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::pruebas;

namespace {

QImage blanca(int alto) {
    QImage img(384, alto, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    return img;
}

// Two push-buttons, 450 dots: a line on the common part and one per push-button, a turn of
// four digits and a time.
Design disenoDePrueba() {
    Design d;
    d.NumPulsadores = 2;
    d.LargoTicket = 450;
    for (const NuevoObjeto& n :
         {NuevoObjeto{TipoLinea, {}, 10, 0, 384, 3, {}, 1}, NuevoObjeto{TipoLinea, {}, 100, 0, 384, 3, {}, 2},
          NuevoObjeto{TipoLinea, {}, 200, 0, 384, 3, {}, 4},
          NuevoObjeto{TipoTurno, 4, 300, 50, 100, 30, QStringLiteral("8888"), 1},
          NuevoObjeto{TipoHora, 1, 400, 50, 100, 30, QStringLiteral("23:59"), 1}}) {
        ObjetoTicket& o = d.objeto(d.agregar(n));
        o.FontName = QStringLiteral("DejaVu Sans");
        o.FontSize = 20;
    }
    return d;
}

} // namespace

TEST(VistaPreviaTicket, FieldCharactersGoAtThePenAndMissingOnesLeaveTheWidthOfTheColon) {
    // "1" advance 5, ink at cell (0, 0); ":" advance 3, ink at cell (1, 0); field at (10, 4). Without
    // ":" a missing character leaves the width of the first one.
    const QByteArray uno = Bytes({10, 0, 4, 0, 20, 0, 2, 10, '1', 5, 0, 4, 0, 0, 0, 1, 1});
    auto f = LeerFuente(uno + Bytes({':', 3, 0, 4, 0, 0, 0, 1, 2, 0xFF}));
    const auto sinDosPuntos = LeerFuente(uno + Bytes({0xFF}));
    ASSERT_TRUE(f && f->completa && sinDosPuntos);
    const std::tuple<const FuenteLeida&, const char*, std::vector<int>> casos[] = { // ink columns, on row 4
        {*f, "1:1", {10, 16, 18}}, {*f, "1 1", {10, 18}}, {*f, "1.1", {10, 18}}, {*f, "11", {10, 15}},
        {*sinDosPuntos, "1 1", {10, 20}}};
    for (const auto& [fuente, valor, columnas] : casos) {
        QImage img = blanca(20);
        DibujarCampo(img, fuente, QString::fromLatin1(valor));
        std::vector<int> tinta;
        for (int x = 0; x < img.width(); ++x)
            if (TintaEn(img, QRect(x, 4, 1, 1))) tinta.push_back(x);
        EXPECT_EQ(std::pair(tinta, TintaEn(img, img.rect())), std::pair(columnas, int(columnas.size())))
            << valor;
    }
    // Off the paper nothing is drawn and nothing breaks.
    f->x = 383;
    f->y = -1;
    QImage img = blanca(20);
    DibujarCampo(img, *f, QStringLiteral("1111"));
    EXPECT_EQ(TintaEn(img, img.rect()), 0);
}

// Generation stops at the first failure with its message: an output folder that is a file fails at the
// raster files; a turn font that cannot be made leaves the raster files and no later font. Once it can,
// every raster file and the fonts of the design's fields are written, no older font survives and the
// user's view comes back. Each preview is the common part, its push-button and the fields' samples.
TEST(VistaPreviaTicket, EachVariantIsTheCommonPartPlusItsPushButtonAndTheFields) {
    QTemporaryDir dir;
    Design d = disenoDePrueba();
    d.VistaActual = 2; // not the last view generated
    Workspace ws;
    ws.dimensionarCanvas(d.LargoTicket);
    ASSERT_TRUE(Escribir(ArchivoFuente(CampoVariable::Fecha, dir.path()), "old"));
    QString error = GenerarDatosImpresora(d, ws, NombreArchivoSalida(1, dir.path()), QString());
    EXPECT_TRUE(error.startsWith(QStringLiteral("No se puede escribir el fichero de salida")))
        << error.toStdString();
    d.objeto(4).Left = 40000;
    error = GenerarDatosImpresora(d, ws, dir.path(), QString());
    EXPECT_TRUE(error.startsWith(QStringLiteral("No se puede generar la fuente del campo de turno")))
        << error.toStdString();
    EXPECT_EQ(std::tuple(QFile::exists(NombreArchivoSalida(3, dir.path())),
                         QFile::exists(ArchivoFuente(CampoVariable::Turno, dir.path())),
                         QFile::exists(ArchivoFuente(CampoVariable::Hora, dir.path()))),
              std::tuple(true, false, false));

    d.objeto(4).Left = 50;
    ASSERT_EQ(GenerarDatosImpresora(d, ws, dir.path(), QString()), QString());
    Surface work3;
    EXPECT_EQ(std::tuple(d.VistaActual, QFile::exists(ArchivoFuente(CampoVariable::Fecha, dir.path())),
                         Leer(ArchivoFuente(CampoVariable::Hora, dir.path()))),
              std::tuple(2u, false, GenerarFuente(d.objeto(5), CampoVariable::Hora, work3).bytes));

    const auto f = LeerFuente(Leer(ArchivoFuente(CampoVariable::Turno, dir.path())));
    ASSERT_TRUE(f);
    QImage soloTurno = blanca(451);
    DibujarCampo(soloTurno, *f, QStringLiteral("1234"));
    for (int n = 0; n <= 2; ++n) {
        const VistaPreviaTicket v = VistaPrevia(n, d.LargoTicket, dir.path());
        EXPECT_TRUE(v.avisos.isEmpty()) << v.avisos.join(QLatin1Char('\n')).toStdString();
        ASSERT_EQ(v.imagen.size(), QSize(384, 451));
        EXPECT_EQ(
            std::tuple(TintaEn(v.imagen, QRect(0, 10, 384, 3)), TintaEn(v.imagen, QRect(0, 100, 384, 3)),
                       TintaEn(v.imagen, QRect(0, 200, 384, 3)),
                       TintaEn(v.imagen, QRect(0, 13, 384, 87)) + TintaEn(v.imagen, QRect(0, 210, 384, 85))),
            std::tuple(1152, n == 1 ? 1152 : 0, n == 2 ? 1152 : 0, 0))
            << n;
        EXPECT_EQ(v.imagen.copy(0, 290, 384, 50), soloTurno.copy(0, 290, 384, 50)) << n;
        EXPECT_GT(TintaEn(v.imagen, QRect(50, 400, 150, 30)), 50) << "the time, " << n;
    }
}

TEST(VistaPreviaTicket, MissingAndDamagedFilesAreReported) {
    QTemporaryDir dir;
    VistaPreviaTicket v = VistaPrevia(1, 500, dir.path());
    EXPECT_EQ(std::tuple(v.imagen.size(), TintaEn(v.imagen, v.imagen.rect()), v.avisos.size()),
              std::tuple(QSize(384, 501), 0, qsizetype(2)));
    EXPECT_TRUE(v.avisos.value(0).startsWith(QStringLiteral("Falta el fichero de salida")))
        << v.avisos.value(0).toStdString();

    // A raster file with a cut last segment and a font file without its end mark.
    const QString fuente = ArchivoFuente(CampoVariable::Turno, dir.path());
    ASSERT_TRUE(Escribir(NombreArchivoSalida(1, dir.path()), Bytes({0, 0, 0, 1, 1, 0x7C, 0xEF, 0x05, 0x80})));
    ASSERT_TRUE(Escribir(fuente, Bytes({10, 0, 3, 0x80, 40, 0, 2, 16, '0', 12, 0, 4, 0, 0, 0, 1, 1})));
    v = VistaPrevia(0, 500, dir.path());
    EXPECT_EQ(v.avisos, QStringList{QStringLiteral("El fichero de fuente %1 está dañado o incompleto.")
                                        .arg(QDir::toNativeSeparators(fuente))});
    // Two dots of the raster; "0" of the font is not in "12", so nothing of the field shows.
    EXPECT_EQ(std::pair(TintaEn(v.imagen, QRect(0, 0, 1, 1)) + TintaEn(v.imagen, QRect(383, 499, 1, 1)),
                        TintaEn(v.imagen, v.imagen.rect())),
              std::pair(2, 2));
}
