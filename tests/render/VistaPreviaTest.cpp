#include "render/VistaPrevia.h"

#include "document/Design.h"
#include "render/ExploracionFuente.h"
#include "render/GenerarSalida.h"
#include "render/Redibujar.h"
#include "render/SalidaRaster.h"
#include "render/Workspace.h"

#include "support/Bytes.h"

#include "support/Tinta.h"
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace quoravex;
using namespace quoravex::pruebas;

using quoravex::pruebas::TintaEn;

namespace {

QImage blanca(int alto) {
    QImage img(384, alto, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    return img;
}

ObjetoTicket campo(int16_t tipo, uint8_t formato) {
    ObjetoTicket o;
    o.EnUso = Verdadero;
    o.Tipo = tipo;
    o.Formato = formato;
    o.Left = 30;
    o.Top = 40;
    o.Height = 40;
    o.FontName = QStringLiteral("DejaVu Sans");
    o.FontSize = 24;
    return o;
}

using Puntos = std::set<std::pair<int, int>>;

Puntos puntosDeCelda(const QByteArray& celda) {
    Puntos p;
    RecorrerCelda(celda, [&](int x, int y) { p.insert({x, y}); });
    return p;
}

// Header (x 10, y -3, height 40, format 2, 16 characters), then "0" with advance 12 and ink in
// cell column 1 of rows 0..2, then the end mark.
const QByteArray FuenteEjemplo =
    Bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10, 0x30, 12,   0,    12,   0,
           0x00, 0x00, 0x01, 0x02, 0x00, 0x40, 0x01, 0x02, 0x00, 0x80, 0x01, 0x02, 0xFF});

} // namespace

TEST(LeerFuente, WholeFileAndDamagedFilesKeepWhatCameBeforeTheDamage) {
    const auto f = LeerFuente(FuenteEjemplo);
    ASSERT_TRUE(f && f->caracteres.size() == 1u);
    EXPECT_EQ(std::tuple(f->x, f->y, f->alto, f->Formato, f->cuenta, f->caracteres[0].codigo,
                         f->caracteres[0].Avance),
              std::tuple(10, -3, 40, 2, 16, ushort('0'), 12));
    EXPECT_EQ(puntosDeCelda(f->caracteres[0].celda), (Puntos{{1, 0}, {1, 1}, {1, 2}}));

    const QByteArray cab = FuenteEjemplo.left(8), reg = FuenteEjemplo.mid(8, 17);
    const struct {
        QByteArray datos;
        int leida; // -1: not read; else 1 when complete, 0 when not
        size_t caracteres;
    } casos[] = {
        {FuenteEjemplo, 1, 1},
        {{}, -1, 0},
        {cab.left(7), -1, 0},
        {cab, 0, 0},
        {cab + Bytes({0xFF}), 1, 0},
        {cab + reg, 0, 1},
        {cab + reg + Bytes({0x31, 5, 0}), 0, 1},
        {cab + reg + Bytes({0x31, 5, 0, 200, 0, 0, 0, 1, 1, 0xFF}), 0, 1}, // cell past the end
        {cab + Bytes({0x31, 5, 0, 5, 0, 0, 0, 3, 1, 1, 0xFF}), 0, 0},      // segment overruns
        {cab + Bytes({0x31, 5, 0, 0, 0, 0xFF}), 1, 1},                     // empty cell
    };
    for (const auto& c : casos) {
        const auto l = LeerFuente(c.datos);
        EXPECT_EQ(l ? std::pair(int(l->completa), l->caracteres.size()) : std::pair(-1, size_t(0)),
                  std::pair(c.leida, c.caracteres))
            << c.datos.toHex().toStdString();
    }
}

TEST(LeerFuente, AnyCutOrDamageOfARealFontIsReadSafely) {
    Surface work3;
    const QByteArray fuente = GenerarFuente(campo(TipoHora, 2), CampoVariable::Hora, work3).bytes;
    const auto entera = LeerFuente(fuente);
    ASSERT_TRUE(entera && entera->completa);
    EXPECT_EQ(entera->caracteres.size(), 14u);
    QImage img = blanca(200);
    std::mt19937 azar(7);
    for (int vuelta = 0; vuelta < 400; ++vuelta) {
        QByteArray danada = fuente.left(vuelta < 100 ? vuelta * fuente.size() / 100 : fuente.size());
        for (int k = 0; vuelta >= 100 && k < 4; ++k)
            danada[qsizetype(azar() % danada.size())] = char(azar() & 0xFF);
        const auto f = LeerFuente(danada);
        if (f) DibujarCampo(img, *f, QStringLiteral("11:59 pm"));
        EXPECT_FALSE(f && vuelta < 100 && f->completa) << "a cut file is never complete, " << vuelta;
    }
}

// The decoded cell of every character puts ink exactly where the generator saw it printed,
// at small and large sizes, plain and bold italic.
TEST(LeerFuente, DecodedCellsMatchThePrintedCharacters) {
    const std::tuple<int16_t, CampoVariable, int, int16_t> casos[] = {
        {TipoTurno, CampoVariable::Turno, 12, 0},
        {TipoTurno, CampoVariable::Turno, 48, 3},
        {TipoHora, CampoVariable::Hora, 24, 0}};
    for (const auto& [tipo, variable, puntos, estilo] : casos) {
        ObjetoTicket o = campo(tipo, 1);
        o.FontSize = static_cast<int16_t>(puntos);
        o.FontStyle = estilo;
        Surface work3;
        const auto f = LeerFuente(GenerarFuente(o, variable, work3).bytes);
        const QString caracteres = QString::fromLatin1(Descripcion(variable).Caracteres);
        ASSERT_TRUE(f && f->completa && f->caracteres.size() == size_t(caracteres.size()));

        PrintCaracterParaFont(work3, o, caracteres);
        const int filaBase = BuscarSubrayado(work3, LadoSuperficieFuente - 1) - 1;
        PrintCaracterParaFont(work3, o, QStringLiteral(" "));
        const int finEspacio = FinSubrayado(work3, filaBase + 1);
        for (int j = 0; j < caracteres.size(); ++j) {
            PrintCaracterParaFont(work3, o, QLatin1Char(' ') + caracteres.at(j));
            const MetricaCaracter m = MedirCaracter(work3, filaBase, finEspacio);
            Puntos impresos;
            for (int y = 0; y <= filaBase; ++y)
                for (int x = 0; x < work3.width(); ++x)
                    if (work3.point(x, y) == 0) impresos.insert({x - m.inicio(finEspacio), y});
            const CaracterFuente& c = f->caracteres[size_t(j)];
            ASSERT_FALSE(impresos.empty());
            EXPECT_EQ(std::tuple(c.codigo, c.Avance, puntosDeCelda(c.celda)),
                      std::tuple(caracteres.at(j).unicode(), m.Avance, impresos))
                << puntos << " pt, style " << estilo << ", " << caracteres.at(j).toLatin1();
        }
    }
}

TEST(VistaPreviaTicket, SampleValuesFollowTheFormat) {
    using C = CampoVariable;
    const struct {
        CampoVariable campo;
        uint8_t formato;
        const char* muestra;
    } casos[] = {
        {C::Turno, 2, "12"},         {C::Turno, 4, "1234"},     {C::Turno, 12, "A123"},
        {C::Fecha, 1, "31/12/09"},   {C::Fecha, 2, "12/31/09"}, {C::Fecha, 3, "31/12/2009"},
        {C::Fecha, 4, "12/31/2009"}, {C::Hora, 2, "11:59 pm"},  {C::Hora, 3, "23:59:59"},
        {C::Hora, 4, "11:59:59 pm"}, {C::Hora, 6, "23.59.59"},  {C::Turno, 99, "12"},
        {C::Hora, 0, "23:59"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(MuestraCampo(c.campo, c.formato), QString::fromLatin1(c.muestra)) << c.muestra;
}

TEST(VistaPreviaTicket, FieldCharactersGoAtThePenAndMissingOnesLeaveTheWidthOfTheColon) {
    // "1" advance 5, ink at cell (0, 0); ":" advance 3, ink at cell (1, 0); field at (10, 4).
    auto f = LeerFuente(
        Bytes({10, 0, 4, 0, 20, 0, 2, 10, '1', 5, 0, 4, 0, 0, 0, 1, 1, ':', 3, 0, 4, 0, 0, 0, 1, 2, 0xFF}));
    ASSERT_TRUE(f && f->completa);
    const struct {
        const char* valor;
        std::vector<int> columnas; // of the ink, all on row 4
    } casos[] = {{"1:1", {10, 16, 18}}, {"1 1", {10, 18}}, {"1.1", {10, 18}}, {"11", {10, 15}}};
    for (const auto& c : casos) {
        QImage img = blanca(20);
        DibujarCampo(img, *f, QString::fromLatin1(c.valor));
        std::vector<int> columnas;
        for (int x = 0; x < img.width(); ++x)
            if (TintaEn(img, QRect(x, 4, 1, 1))) columnas.push_back(x);
        EXPECT_EQ(columnas, c.columnas) << c.valor;
        EXPECT_EQ(TintaEn(img, img.rect()), int(c.columnas.size())) << c.valor;
    }
    // Off the paper nothing is drawn and nothing breaks.
    f->x = 383;
    f->y = -1;
    QImage img = blanca(20);
    DibujarCampo(img, *f, QStringLiteral("1111"));
    EXPECT_EQ(TintaEn(img, img.rect()), 0);
}

TEST(VistaPreviaTicket, EachVariantIsTheCommonPartPlusItsPushButtonAndTheFields) {
    QTemporaryDir dir;
    Design d;
    d.NumPulsadores = 2;
    d.LargoTicket = 450;
    // A line on the common part and one per push-button, a turn and a time.
    for (const NuevoObjeto& n :
         {NuevoObjeto{TipoLinea, {}, 10, 0, 384, 3, {}, 1}, NuevoObjeto{TipoLinea, {}, 100, 0, 384, 3, {}, 2},
          NuevoObjeto{TipoLinea, {}, 200, 0, 384, 3, {}, 4},
          NuevoObjeto{TipoTurno, 4, 300, 50, 100, 30, QStringLiteral("8888"), 1},
          NuevoObjeto{TipoHora, 1, 400, 50, 100, 30, QStringLiteral("23:59"), 1}}) {
        ObjetoTicket& o = d.objeto(d.agregar(n));
        o.FontName = QStringLiteral("DejaVu Sans");
        o.FontSize = 20;
    }
    Workspace ws;
    ws.dimensionarCanvas(d.LargoTicket);
    ASSERT_EQ(GenerarDatosImpresora(d, ws, dir.path(), QString()), QString());

    // The turn's ink is its font drawing the sample at the field's place.
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
    EXPECT_EQ(v.imagen.size(), QSize(384, 501));
    EXPECT_EQ(TintaEn(v.imagen, v.imagen.rect()), 0);
    ASSERT_EQ(v.avisos.size(), 2);
    EXPECT_TRUE(v.avisos[0].startsWith(QStringLiteral("Falta el fichero de salida")))
        << v.avisos[0].toStdString();

    // A raster file with a cut last segment and a font file without its end mark.
    const QString fuente = ArchivoFuente(CampoVariable::Turno, dir.path());
    ASSERT_TRUE(Escribir(NombreArchivoSalida(1, dir.path()), Bytes({0, 0, 0, 1, 1, 0x7C, 0xEF, 0x05, 0x80})));
    ASSERT_TRUE(Escribir(fuente, FuenteEjemplo.chopped(1)));
    v = VistaPrevia(0, 500, dir.path());
    EXPECT_EQ(v.avisos, QStringList{QStringLiteral("El fichero de fuente %1 está dañado o incompleto.")
                                        .arg(QDir::toNativeSeparators(fuente))});
    // Two dots of the raster; "0" of the font is not in "12", so nothing of the field shows.
    EXPECT_EQ(TintaEn(v.imagen, QRect(0, 0, 1, 1)) + TintaEn(v.imagen, QRect(383, 499, 1, 1)), 2);
    EXPECT_EQ(TintaEn(v.imagen, v.imagen.rect()), 2);
}
