#include "render/VistaPrevia.h"

#include "document/Design.h"
#include "render/ExploracionFuente.h"
#include "render/GenerarSalida.h"
#include "render/Redibujar.h"
#include "render/SalidaRaster.h"
#include "render/Workspace.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace quoravex;

namespace {

QByteArray bytes(std::initializer_list<int> v) {
    QByteArray b;
    for (int x : v)
        b.append(static_cast<char>(x));
    return b;
}

bool negro(const QImage& img, int x, int y) {
    return img.pixel(x, y) == qRgb(0, 0, 0);
}

int tintaEn(const QImage& img, QRect r) {
    int n = 0;
    r &= img.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += negro(img, x, y) ? 1 : 0;
    return n;
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

// Header of the example field (x 10, y -3, height 40, format 2, 16 characters), then "0"
// with advance 12 and ink in cell column 1 of rows 0..2.
const QByteArray FuenteEjemplo =
    bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10, 0x30, 12,   0,    12,   0,
           0x00, 0x00, 0x01, 0x02, 0x00, 0x40, 0x01, 0x02, 0x00, 0x80, 0x01, 0x02, 0xFF});

} // namespace

TEST(LeerFuente, HeaderRecordsAndEndMark) {
    const auto f = LeerFuente(FuenteEjemplo);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->x, 10);
    EXPECT_EQ(f->y, -3);
    EXPECT_EQ(f->alto, 40);
    EXPECT_EQ(f->Formato, 2);
    EXPECT_EQ(f->cuenta, 16);
    EXPECT_TRUE(f->completa);
    ASSERT_EQ(f->caracteres.size(), 1u);
    EXPECT_EQ(f->caracteres[0].codigo, '0');
    EXPECT_EQ(f->caracteres[0].Avance, 12);
    EXPECT_EQ(puntosDeCelda(f->caracteres[0].celda), (Puntos{{1, 0}, {1, 1}, {1, 2}}));
    EXPECT_EQ(f->buscar(QLatin1Char('0')), &f->caracteres[0]);
    EXPECT_EQ(f->buscar(QLatin1Char('1')), nullptr);
    EXPECT_EQ(f->buscar(QChar(0x130)), nullptr);
}

TEST(LeerFuente, DamagedFilesKeepWhatCameBeforeTheDamage) {
    struct Caso {
        const char* nombre;
        QByteArray datos;
        bool lee;
        bool completa;
        size_t caracteres;
    };
    const QByteArray cabecera = FuenteEjemplo.left(8);
    const QByteArray registro = FuenteEjemplo.mid(8, 17);
    const Caso casos[] = {
        {"empty", {}, false, false, 0},
        {"header cut", cabecera.left(7), false, false, 0},
        {"header alone", cabecera, true, false, 0},
        {"end mark at once", cabecera + bytes({0xFF}), true, true, 0},
        {"no end mark", cabecera + registro, true, false, 1},
        {"record header cut", cabecera + registro + bytes({0x31, 5, 0}), true, false, 1},
        {"cell longer than the file", cabecera + registro + bytes({0x31, 5, 0, 200, 0, 0, 0, 1, 1, 0xFF}),
         true, false, 1},
        // N = 5 bytes whose segment claims 3 data bytes but holds 2.
        {"segment overruns its record", cabecera + bytes({0x31, 5, 0, 5, 0, 0, 0, 3, 1, 1, 0xFF}), true,
         false, 0},
        {"empty cell", cabecera + bytes({0x31, 5, 0, 0, 0, 0xFF}), true, true, 1},
    };
    for (const Caso& c : casos) {
        const auto f = LeerFuente(c.datos);
        ASSERT_EQ(f.has_value(), c.lee) << c.nombre;
        if (!f) continue;
        EXPECT_EQ(f->completa, c.completa) << c.nombre;
        EXPECT_EQ(f->caracteres.size(), c.caracteres) << c.nombre;
    }
}

TEST(LeerFuente, AnyCutOrDamageOfARealFontIsReadSafely) {
    Surface work3;
    const DatosFuente fuente = GenerarFuente(campo(TipoHora, 2), CampoVariable::Hora, work3);
    ASSERT_TRUE(fuente.error.isEmpty());
    const auto entera = LeerFuente(fuente.bytes);
    ASSERT_TRUE(entera && entera->completa);
    EXPECT_EQ(entera->caracteres.size(), 14u) << "all records, whatever the count byte says";

    QImage img(384, 200, QImage::Format_RGB32);
    for (qsizetype n = 0; n < fuente.bytes.size(); n += 7) {
        const auto f = LeerFuente(fuente.bytes.left(n));
        if (f) {
            EXPECT_FALSE(f->completa) << n;
            DibujarCampo(img, *f, QStringLiteral("11:59 pm"));
        }
    }
    std::mt19937 azar(7);
    for (int vuelta = 0; vuelta < 300; ++vuelta) {
        QByteArray danada = fuente.bytes;
        for (int k = 0; k < 4; ++k)
            danada[qsizetype(azar() % danada.size())] = char(azar() & 0xFF);
        if (const auto f = LeerFuente(danada)) DibujarCampo(img, *f, QStringLiteral("11:59 pm"));
    }
}

// The decoded cell of every character puts ink exactly where the generator saw it printed.
TEST(LeerFuente, DecodedCellsMatchThePrintedCharacters) {
    for (const auto& [tipo, campoVariable] :
         {std::pair{TipoTurno, CampoVariable::Turno}, std::pair{TipoHora, CampoVariable::Hora}}) {
        const ObjetoTicket o = campo(tipo, 1);
        Surface work3;
        const DatosFuente datos = GenerarFuente(o, campoVariable, work3);
        ASSERT_TRUE(datos.error.isEmpty());
        const auto f = LeerFuente(datos.bytes);
        ASSERT_TRUE(f && f->completa);
        const QString caracteres = QString::fromLatin1(Descripcion(campoVariable).Caracteres);
        ASSERT_EQ(f->caracteres.size(), size_t(caracteres.size()));

        PrintCaracterParaFont(work3, o, caracteres);
        const int filaBase = BuscarSubrayado(work3, LadoSuperficieFuente - 1) - 1;
        PrintCaracterParaFont(work3, o, QStringLiteral(" "));
        const int finEspacio = FinSubrayado(work3, filaBase + 1);
        for (int j = 0; j < caracteres.size(); ++j) {
            PrintCaracterParaFont(work3, o, QLatin1Char(' ') + caracteres.at(j));
            const MetricaCaracter m = MedirCaracter(work3, filaBase, finEspacio);
            const int x0 = m.inicio(finEspacio);
            Puntos impresos;
            for (int y = 0; y <= filaBase; ++y)
                for (int x = 0; x < work3.width(); ++x)
                    if (work3.point(x, y) == 0) impresos.insert({x - x0, y});
            const CaracterFuente& c = f->caracteres[size_t(j)];
            EXPECT_EQ(c.codigo, caracteres.at(j).unicode());
            EXPECT_EQ(c.Avance, m.Avance);
            EXPECT_FALSE(impresos.empty());
            EXPECT_EQ(puntosDeCelda(c.celda), impresos) << caracteres.at(j).toLatin1();
        }
    }
}

TEST(VistaPreviaTicket, SampleValuesFollowTheFormat) {
    struct Caso {
        CampoVariable campo;
        uint8_t formato;
        const char* muestra;
    };
    const Caso casos[] = {
        {CampoVariable::Turno, 2, "12"},         {CampoVariable::Turno, 3, "123"},
        {CampoVariable::Turno, 4, "1234"},       {CampoVariable::Turno, 10, "A1"},
        {CampoVariable::Turno, 11, "A12"},       {CampoVariable::Turno, 12, "A123"},
        {CampoVariable::Fecha, 1, "31/12/09"},   {CampoVariable::Fecha, 2, "12/31/09"},
        {CampoVariable::Fecha, 3, "31/12/2009"}, {CampoVariable::Fecha, 4, "12/31/2009"},
        {CampoVariable::Hora, 1, "23:59"},       {CampoVariable::Hora, 2, "11:59 pm"},
        {CampoVariable::Hora, 3, "23:59:59"},    {CampoVariable::Hora, 4, "11:59:59 pm"},
        {CampoVariable::Hora, 5, "23.59"},       {CampoVariable::Hora, 6, "23.59.59"},
        {CampoVariable::Turno, 99, "12"},        {CampoVariable::Hora, 0, "23:59"},
    };
    for (const Caso& c : casos) {
        const QString m = MuestraCampo(c.campo, c.formato);
        EXPECT_EQ(m, QString::fromLatin1(c.muestra)) << c.muestra;
        // Only the space and the dot lie outside the field's character set.
        const QString juego = QString::fromLatin1(Descripcion(c.campo).Caracteres);
        for (const QChar ch : m)
            EXPECT_TRUE(juego.contains(ch) || ch == QLatin1Char(' ') || ch == QLatin1Char('.')) << c.muestra;
    }
}

TEST(VistaPreviaTicket, FieldCharactersGoAtThePenAndMissingOnesLeaveTheWidthOfTheColon) {
    // "1" advance 5, ink at cell (0, 0); ":" advance 3, ink at cell (1, 0); field at (10, 4).
    const QByteArray datos =
        bytes({10, 0, 4, 0, 20, 0, 2, 10, '1', 5, 0, 4, 0, 0, 0, 1, 1, ':', 3, 0, 4, 0, 0, 0, 1, 2, 0xFF});
    const auto f = LeerFuente(datos);
    ASSERT_TRUE(f && f->completa);
    struct Caso {
        const char* valor;
        std::vector<int> columnas; // of the ink on row 4
    };
    const Caso casos[] = {{"1:1", {10, 16, 18}}, {"1 1", {10, 18}}, {"1.1", {10, 18}}, {"11", {10, 15}}};
    for (const Caso& c : casos) {
        QImage img(384, 20, QImage::Format_RGB32);
        img.fill(qRgb(255, 255, 255));
        DibujarCampo(img, *f, QString::fromLatin1(c.valor));
        std::vector<int> columnas;
        for (int x = 0; x < img.width(); ++x)
            if (negro(img, x, 4)) columnas.push_back(x);
        EXPECT_EQ(columnas, c.columnas) << c.valor;
        EXPECT_EQ(tintaEn(img, img.rect()), int(c.columnas.size())) << c.valor;
    }
    // Off the paper nothing is drawn and nothing breaks.
    FuenteLeida fuera = *f;
    fuera.x = 383;
    fuera.y = -1;
    QImage img(384, 20, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    DibujarCampo(img, fuera, QStringLiteral("1111"));
    EXPECT_EQ(tintaEn(img, img.rect()), 0);
}

TEST(VistaPreviaTicket, EachVariantIsTheCommonPartPlusItsPushButtonAndTheFields) {
    QTemporaryDir dir;
    Design d;
    d.NumPulsadores = 2;
    d.LargoTicket = 450;
    auto agregar = [&](int16_t tipo, QRect r, uint32_t pulsadores, const QString& texto, uint8_t formato) {
        NuevoObjeto n;
        n.Tipo = tipo;
        n.Left = r.left();
        n.Top = r.top();
        n.Width = r.width();
        n.Height = r.height();
        n.Pulsadores = pulsadores;
        n.Texto = texto;
        if (formato) n.Formato = formato;
        const int i = d.agregar(n);
        d.objeto(i).FontName = QStringLiteral("DejaVu Sans");
        d.objeto(i).FontSize = 20;
    };
    agregar(TipoLinea, QRect(0, 10, 384, 3), 1, {}, 0);
    agregar(TipoLinea, QRect(0, 100, 384, 3), 2, {}, 0);
    agregar(TipoLinea, QRect(0, 200, 384, 3), 4, {}, 0);
    agregar(TipoTurno, QRect(50, 300, 100, 30), 1, QStringLiteral("8888"), 4);
    agregar(TipoHora, QRect(50, 400, 100, 30), 1, QStringLiteral("23:59"), 1);
    Workspace ws;
    ws.dimensionarCanvas(d.LargoTicket);
    ASSERT_EQ(GenerarDatosImpresora(d, ws, dir.path(), QString()), QString());

    for (int n = 0; n <= 2; ++n) {
        const VistaPreviaTicket v = VistaPrevia(n, d.LargoTicket, dir.path());
        EXPECT_TRUE(v.avisos.isEmpty()) << v.avisos.join(QLatin1Char('\n')).toStdString();
        ASSERT_EQ(v.imagen.size(), QSize(384, 451));
        EXPECT_EQ(tintaEn(v.imagen, QRect(0, 10, 384, 3)), 384 * 3) << n;
        EXPECT_EQ(tintaEn(v.imagen, QRect(0, 100, 384, 3)), n == 1 ? 384 * 3 : 0) << n;
        EXPECT_EQ(tintaEn(v.imagen, QRect(0, 200, 384, 3)), n == 2 ? 384 * 3 : 0) << n;
        EXPECT_GT(tintaEn(v.imagen, QRect(50, 300, 150, 30)), 50) << "the turn, " << n;
        EXPECT_GT(tintaEn(v.imagen, QRect(50, 400, 150, 30)), 50) << "the time, " << n;
        // Nothing else is inked.
        EXPECT_EQ(tintaEn(v.imagen, QRect(0, 13, 384, 87)) + tintaEn(v.imagen, QRect(0, 210, 384, 85)), 0)
            << n;
    }

    // The turn's ink is its font drawing the sample at the field's place.
    QFile turno(ArchivoFuente(CampoVariable::Turno, dir.path()));
    ASSERT_TRUE(turno.open(QIODevice::ReadOnly));
    const auto f = LeerFuente(turno.readAll());
    ASSERT_TRUE(f);
    EXPECT_EQ(f->x, 50);
    EXPECT_EQ(f->y, 300);
    QImage soloTurno(384, 451, QImage::Format_RGB32);
    soloTurno.fill(qRgb(255, 255, 255));
    DibujarCampo(soloTurno, *f, QStringLiteral("1234"));
    const QImage v0 = VistaPrevia(0, d.LargoTicket, dir.path()).imagen;
    EXPECT_EQ(v0.copy(0, 290, 384, 50), soloTurno.copy(0, 290, 384, 50));
}

TEST(VistaPreviaTicket, MissingAndDamagedFilesAreReported) {
    QTemporaryDir dir;
    VistaPreviaTicket v = VistaPrevia(1, 500, dir.path());
    EXPECT_EQ(v.imagen.size(), QSize(384, 501));
    EXPECT_EQ(tintaEn(v.imagen, v.imagen.rect()), 0);
    ASSERT_EQ(v.avisos.size(), 2);
    EXPECT_TRUE(v.avisos[0].startsWith(QStringLiteral("Falta el fichero de salida")))
        << v.avisos[0].toStdString();

    // A raster file with a cut last segment and a font file without its end mark.
    QFile raster(NombreArchivoSalida(1, dir.path()));
    ASSERT_TRUE(raster.open(QIODevice::WriteOnly));
    raster.write(bytes({0x00, 0x00, 0x00, 0x01, 0x01, 0x7C, 0xEF, 0x05, 0x80}));
    raster.close();
    QFile fuente(ArchivoFuente(CampoVariable::Turno, dir.path()));
    ASSERT_TRUE(fuente.open(QIODevice::WriteOnly));
    fuente.write(FuenteEjemplo.left(FuenteEjemplo.size() - 1));
    fuente.close();
    v = VistaPrevia(0, 500, dir.path());
    EXPECT_TRUE(negro(v.imagen, 0, 0));
    EXPECT_TRUE(negro(v.imagen, 383, 499));
    EXPECT_EQ(
        v.avisos,
        QStringList{QStringLiteral("El fichero de fuente %1 está dañado o incompleto.")
                        .arg(QDir::toNativeSeparators(ArchivoFuente(CampoVariable::Turno, dir.path())))});
    // What was read of the font is drawn: "0" is not in "12", so nothing of the field shows.
    EXPECT_EQ(tintaEn(v.imagen, v.imagen.rect()), 2);
}
