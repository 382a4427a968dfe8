#include "render/GeneraDatosFont.h"
#include "render/LecturaFuente.h"
#include "render/VistaPrevia.h"

#include "document/Design.h"
#include "support/Bytes.h"

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
// and bold italic), then 0xFF. No field, no file, and an old file of an earlier design goes too.
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
    // The object's underline and strike-through do not reach the font; its italic does.
    ObjetoTicket o = campo(TipoTurno, 1, 1, 20, 2);
    const QByteArray negrita = GenerarFuente(o, CampoVariable::Turno, work3).bytes;
    o.FontUnderline = o.FontStrikethru = 1;
    EXPECT_EQ(GenerarFuente(o, CampoVariable::Turno, work3).bytes, negrita);
    o.FontStyle = 3;
    EXPECT_NE(GenerarFuente(o, CampoVariable::Turno, work3).bytes, negrita);
}

TEST(GeneraDatosFont, BoundsOfOneCharacterAndRefusals) {
    const QByteArray grande(10002, char(0));
    const std::tuple<int, QByteArray, LimiteFuente> casos[] = {
        {392, Bytes({0x00, 0x00, 95}) + QByteArray(95, '\x01'), LimiteFuente::Dentro},
        {13, Bytes({0x00, 0x00, 96}) + QByteArray(96, '\x01'), LimiteFuente::Segmento},
        {393, {}, LimiteFuente::Ancho}, {13, grande, LimiteFuente::Bytes},
        {13, grande.left(10001), LimiteFuente::Dentro}};
    for (const auto& [ancho, celda, esperado] : casos)
        EXPECT_EQ(RevisarLimites(ancho, celda), esperado) << ancho << " " << celda.size();

    // A folder that cannot take the file.
    QTemporaryDir dir;
    Surface picWork3;
    const ResultadoFuente r =
        PBFontTurno(disenoCon({{1, campo(TipoTurno)}}), picWork3, dir.filePath(QStringLiteral("no-existe")));
    EXPECT_TRUE(!r.ok && r.mensaje.startsWith(QStringLiteral("No se pudo escribir el archivo ")))
        << r.mensaje.toStdString();
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
