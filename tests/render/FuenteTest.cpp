#include "render/GeneraDatosFont.h"
#include "render/LecturaFuente.h"
#include "render/VistaPrevia.h"

#include "document/Design.h"
#include "render/GenerarSalida.h"
#include "render/SalidaRaster.h"
#include "render/Workspace.h"
#include "support/Bytes.h"
#include "support/Tinta.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace quoravex;
using namespace quoravex::pruebas;

namespace {

ObjetoTicket campo(int16_t tipo, int left = 10, int top = 20, int puntos = 30, int16_t estilo = 0) {
    ObjetoTicket o;
    o.EnUso = Verdadero;
    o.Tipo = tipo;
    o.Formato = 1;
    o.Left = left;
    o.Top = top;
    o.Height = 40;
    o.FontName = QStringLiteral("DejaVu Sans");
    o.FontSize = static_cast<int16_t>(puntos);
    o.FontStyle = estilo;
    return o;
}

Design disenoCon(std::initializer_list<std::pair<int, ObjetoTicket>> objetos) {
    Design d;
    for (const auto& [slot, o] : objetos) {
        d.objeto(slot) = o;
        d.IdxObjMasAlto = static_cast<int16_t>(std::max<int>(d.IdxObjMasAlto, slot));
        d.NumObjetos = static_cast<int16_t>(d.NumObjetos + (o.enUso() ? 1 : 0));
    }
    return d;
}

// The light cyan work surface with black rectangles on it.
Surface superficie(std::initializer_list<QRect> tinta) {
    Surface s(LadoSuperficieFuente, LadoSuperficieFuente);
    s.setBackColor(FondoSuperficieFuente);
    s.clear();
    for (const QRect& r : tinta)
        s.fillRect(r, ColorNegro);
    return s;
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

QImage blanca(int alto) {
    QImage img(384, alto, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    return img;
}

} // namespace

// A space 10 pixels wide (its underline ends at column 9), then a character of advance 12.
// Ink left of the space's end widens the cell to the left; ink right of the underline's end
// that touches it widens it to the right, ink beyond a free column does not.
TEST(ExploracionFuente, CellEdgesFromTheUnderlineAndTheInk) {
    const std::tuple<const char*, Surface, MetricaCaracter, int> casos[] = {
        {"no overhang", superficie({QRect(0, 30, 22, 2), QRect(11, 2, 10, 28)}), {12, 13, 0}, 9},
        {"overhang",
         superficie({QRect(0, 30, 22, 1), QRect(7, 2, 14, 4), QRect(22, 8, 2, 1), QRect(25, 8, 1, 1)}),
         {12, 18, 3}, 6}};
    for (const auto& [nombre, s, metrica, inicio] : casos) {
        const MetricaCaracter m = MedirCaracter(s, 29, 9);
        EXPECT_TRUE(m == metrica && m.inicio(9) == inicio)
            << nombre << ": " << m.Avance << " " << m.AnchoCelda << " " << m.Desborde;
    }
    for (auto [ancho, numBytes] : {std::pair{1, 2}, {8, 2}, {10, 3}, {16, 3}, {392, 50}, {393, 51}})
        EXPECT_EQ(BytesPorFilaCelda(ancho), numBytes) << ancho;

    // Cell column 1 of a cell starting at column 9, rows 0..2; nothing without a base row.
    const Surface s = superficie({QRect(10, 0, 1, 3)});
    EXPECT_EQ(CodificarCelda(s, 9, 13, 29), FuenteEjemplo.mid(13, 12));
    EXPECT_TRUE(CodificarCelda(s, 9, 13, -1).isEmpty());
    // Ink at cell columns 3, 35 and 75 of one row: three zeros stay inside a segment, a fourth closes it.
    const Surface t =
        superficie({QRect(0, 3, 1, 1), QRect(12, 3, 1, 1), QRect(44, 3, 1, 1), QRect(84, 3, 1, 1)});
    EXPECT_EQ(CodificarCelda(t, 9, 16, 3), Bytes({0x00, 0xC0, 0x01, 0x08}));
    EXPECT_EQ(CodificarCelda(t, 9, 80, 3),
              Bytes({0x00, 0xC0, 0x05, 0x08, 0x00, 0x00, 0x00, 0x08, 0x00, 0xC9, 0x01, 0x08}));
}

TEST(GeneraDatosFont, HeaderInSignAndMagnitude) {
    const std::tuple<int, int, int, int, int, std::optional<QByteArray>> casos[] = {
        {10, -3, 40, 2, 0x10, Bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10})},
        {-300, 0, 1, 0, 11, Bytes({0x2C, 0x81, 0x00, 0x00, 0x01, 0x00, 0x00, 0x0B})},
        {32767, -32767, 32767, 255, 10, Bytes({0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x0A})},
        {32768, 0, 40, 0, 16, std::nullopt}, {0, -32768, 40, 0, 16, std::nullopt}, {0, 0, -1, 0, 16, {}}};
    for (const auto& [left, top, alto, formato, cuenta, esperado] : casos) {
        ObjetoTicket o = campo(TipoTurno, left, top);
        o.Height = alto;
        o.Formato = static_cast<uint8_t>(formato);
        EXPECT_EQ(CabeceraFuente(o, static_cast<uint8_t>(cuenta)), esperado) << left << "," << top;
    }
}

// One file per field, from the field in the highest slot: its header, a record per character
// whose cell decodes to exactly the ink the generator saw printed (small and large sizes, plain
// and bold italic), then 0xFF. No field, no file, and an old file of an earlier design goes too;
// a folder that cannot take the file is an error.
TEST(GeneraDatosFont, FilesOfEachFieldHoldThePrintedCharacters) {
    ObjetoTicket turno = campo(TipoTurno, 10, -3, 48, 3), fecha = campo(TipoFecha, 5, 6, 12),
                 hora = campo(TipoHora, 7, 8, 24), libre = campo(TipoHora);
    turno.Formato = 2;
    libre.EnUso = Falso;
    const Design d = disenoCon({{1, campo(TipoTurno, 2, 2)}, {4, turno}, {2, fecha}, {3, hora}, {7, libre}});
    const std::tuple<CampoVariable, const ObjetoTicket&, const char*, const char*, QByteArray> casos[] = {
        {CampoVariable::Turno, turno, "DatosRasterTurno.bin", "0123456789ABCDEF",
         Bytes({10, 0, 3, 0x80, 40, 0, 2, 16})},
        {CampoVariable::Fecha, fecha, "DatosRasterFecha.bin", "0123456789/", Bytes({5, 0, 6, 0, 40, 0, 1, 11})},
        {CampoVariable::Hora, hora, "DatosRasterHora.bin", "0123456789:apm",
         Bytes({7, 0, 8, 0, 40, 0, 1, 10})}};
    QTemporaryDir dir;
    Surface work3;
    for (const auto& [variable, o, nombre, juego, cabecera] : casos) {
        const ResultadoFuente r = GenerarArchivoFuente(d, variable, work3, dir.path());
        ASSERT_TRUE(r.ok && r.escrito) << r.mensaje.toStdString();
        const QByteArray archivo = Leer(dir.filePath(QString::fromLatin1(nombre)));
        const auto f = LeerFuente(archivo);
        const QString caracteres = QString::fromLatin1(juego);
        ASSERT_TRUE(f && f->completa && f->caracteres.size() == size_t(caracteres.size())) << nombre;

        PrintCaracterParaFont(work3, o, caracteres);
        const int filaBase = BuscarSubrayado(work3, LadoSuperficieFuente - 1) - 1;
        PrintCaracterParaFont(work3, o, QStringLiteral(" "));
        const int finEspacio = FinSubrayado(work3, filaBase + 1);
        qsizetype largo = 8 + 1;
        for (int j = 0; j < caracteres.size(); ++j) {
            PrintCaracterParaFont(work3, o, QLatin1Char(' ') + caracteres.at(j));
            const MetricaCaracter m = MedirCaracter(work3, filaBase, finEspacio);
            Puntos impresos;
            for (int y = 0; y <= filaBase; ++y)
                for (int x = 0; x < work3.width(); ++x)
                    if (work3.point(x, y) == 0) impresos.insert({x - m.inicio(finEspacio), y});
            const CaracterFuente& c = f->caracteres[size_t(j)];
            EXPECT_EQ(std::tuple(c.codigo, c.Avance, puntosDeCelda(c.celda)),
                      std::tuple(caracteres.at(j).unicode(), m.Avance, impresos))
                << nombre << " " << caracteres.at(j).toLatin1();
            largo += 5 + c.celda.size();
        }
        EXPECT_EQ(std::pair(archivo.left(8), archivo.size()), std::pair(cabecera, largo)) << nombre;
    }
    ASSERT_TRUE(Escribir(ArchivoFuente(CampoVariable::Fecha, dir.path()), "old"));
    const ResultadoFuente r = PBFontFecha(disenoCon({{1, turno}}), work3, dir.path());
    EXPECT_EQ(std::tuple(r.ok, r.escrito, QFile::exists(ArchivoFuente(CampoVariable::Fecha, dir.path()))),
              std::tuple(true, false, false));
    const ResultadoFuente sinCarpeta = PBFontTurno(d, work3, dir.filePath(QStringLiteral("no-existe")));
    EXPECT_TRUE(!sinCarpeta.ok &&
                sinCarpeta.mensaje.startsWith(QStringLiteral("No se pudo escribir el archivo ")))
        << sinCarpeta.mensaje.toStdString();
    // The object's underline and strike-through do not reach the font; its italic does.
    ObjetoTicket o = campo(TipoTurno, 1, 1, 20, 2);
    const QByteArray negrita = GenerarFuente(o, CampoVariable::Turno, work3).bytes;
    o.FontUnderline = o.FontStrikethru = 1;
    EXPECT_EQ(GenerarFuente(o, CampoVariable::Turno, work3).bytes, negrita);
    o.FontStyle = 3;
    EXPECT_NE(GenerarFuente(o, CampoVariable::Turno, work3).bytes, negrita);
}

TEST(GeneraDatosFont, BoundsOfOneCharacter) {
    const QByteArray grande(10002, char(0));
    const std::tuple<int, QByteArray, LimiteFuente> casos[] = {
        {392, Bytes({0x00, 0x00, 95}) + QByteArray(95, '\x01'), LimiteFuente::Dentro},
        {13, Bytes({0x00, 0x00, 96}) + QByteArray(96, '\x01'), LimiteFuente::Segmento},
        {393, {}, LimiteFuente::Ancho}, {13, grande, LimiteFuente::Bytes},
        {13, grande.left(10001), LimiteFuente::Dentro}};
    for (const auto& [ancho, celda, esperado] : casos)
        EXPECT_EQ(RevisarLimites(ancho, celda), esperado) << ancho << " " << celda.size();
}

// Damaged files keep the records read before the damage.
TEST(LeerFuente, WholeFileAndDamagedFiles) {
    const auto f = LeerFuente(FuenteEjemplo);
    ASSERT_TRUE(f && f->caracteres.size() == 1u);
    EXPECT_EQ(std::tuple(f->x, f->y, f->alto, f->Formato, f->cuenta, f->caracteres[0].codigo,
                         f->caracteres[0].Avance, puntosDeCelda(f->caracteres[0].celda)),
              std::tuple(10, -3, 40, 2, 16, ushort('0'), 12, Puntos{{1, 0}, {1, 1}, {1, 2}}));

    const QByteArray cab = FuenteEjemplo.left(8), reg = FuenteEjemplo.mid(8, 17);
    const std::tuple<QByteArray, int, size_t> casos[] = { // read: -1 not, 1 complete, 0 not complete
        {FuenteEjemplo, 1, 1}, {{}, -1, 0}, {cab.left(7), -1, 0}, {cab, 0, 0}, {cab + Bytes({0xFF}), 1, 0},
        {cab + reg, 0, 1}, {cab + reg + Bytes({0x31, 5, 0}), 0, 1},
        {cab + reg + Bytes({0x31, 5, 0, 200, 0, 0, 0, 1, 1, 0xFF}), 0, 1}, // cell past the end
        {cab + Bytes({0x31, 5, 0, 5, 0, 0, 0, 3, 1, 1, 0xFF}), 0, 0},      // segment overruns
        {cab + Bytes({0x31, 5, 0, 0, 0, 0xFF}), 1, 1}                      // empty cell
    };
    for (const auto& [datos, leida, caracteres] : casos) {
        const auto l = LeerFuente(datos);
        EXPECT_EQ(l ? std::pair(int(l->completa), l->caracteres.size()) : std::pair(-1, size_t(0)),
                  std::pair(leida, caracteres))
            << datos.toHex().toStdString();
    }

    Surface work3; // any cut or damage of a real font is read safely
    const QByteArray fuente = GenerarFuente(campo(TipoHora, 30, 40, 24), CampoVariable::Hora, work3).bytes;
    std::mt19937 azar(7);
    for (int vuelta = 0; vuelta < 400; ++vuelta) {
        QByteArray danada = fuente.left(vuelta < 100 ? vuelta * fuente.size() / 100 : fuente.size());
        for (int k = 0; vuelta >= 100 && k < 4; ++k)
            danada[qsizetype(azar() % danada.size())] = char(azar() & 0xFF);
        const auto l = LeerFuente(danada);
        QImage img(384, 200, QImage::Format_RGB32);
        if (l) DibujarCampo(img, *l, QStringLiteral("11:59 pm"));
        EXPECT_FALSE(l && vuelta < 100 && l->completa) << "a cut file is never complete, " << vuelta;
    }
}

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

// With no files, the preview is a blank ticket with the missing files reported. Generation stops at
// the first failure with its message: an output folder that is a file fails at the raster files; a
// turn font that cannot be made leaves the raster files and no later font. Once it can, every raster
// file and the fonts of the design's fields are written, no older font survives and the user's view
// comes back. Each preview shows the fields' samples (its lines: the command line's preview).
// Damaged files are reported and what can be read of them is drawn.
TEST(VistaPreviaTicket, EachVariantIsTheCommonPartPlusItsPushButtonAndTheFields) {
    QTemporaryDir dir;
    VistaPreviaTicket v = VistaPrevia(1, 500, dir.path());
    EXPECT_EQ(std::tuple(v.imagen.size(), TintaEn(v.imagen, v.imagen.rect()), v.avisos.size()),
              std::tuple(QSize(384, 501), 0, qsizetype(2)));
    EXPECT_TRUE(v.avisos.value(0).startsWith(QStringLiteral("Falta el fichero de salida")))
        << v.avisos.value(0).toStdString();

    // Two push-buttons, 450 dots: a line on the common part and one per push-button, a turn of
    // four digits and a time.
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

    const QString fuente = ArchivoFuente(CampoVariable::Turno, dir.path());
    const auto f = LeerFuente(Leer(fuente));
    ASSERT_TRUE(f);
    QImage soloTurno = blanca(451);
    DibujarCampo(soloTurno, *f, QStringLiteral("1234"));
    for (int n = 0; n <= 2; ++n) {
        v = VistaPrevia(n, d.LargoTicket, dir.path());
        EXPECT_EQ(v.imagen.copy(0, 290, 384, 50), soloTurno.copy(0, 290, 384, 50)) << n;
        EXPECT_GT(TintaEn(v.imagen, QRect(50, 400, 150, 30)), 50) << "the time, " << n;
    }

    // A raster file with a cut last segment and a font file without its end mark.
    ASSERT_TRUE(QFile::remove(ArchivoFuente(CampoVariable::Hora, dir.path())));
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
