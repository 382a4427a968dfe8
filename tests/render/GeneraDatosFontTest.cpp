#include "render/GeneraDatosFont.h"

#include "document/Design.h"
#include "render/CodificacionRaster.h"
#include "support/Bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
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
        if (o.enUso()) ++d.NumObjetos;
    }
    return d;
}

struct Registro {
    char codigo;
    int avance;
    QByteArray celda;
};

// The character records of a font file; fails the test unless 0xFF ends the file right after them.
std::vector<Registro> registros(const QByteArray& archivo) {
    std::vector<Registro> r;
    qsizetype p = 8;
    auto u16 = [&](qsizetype i) { return uint8_t(archivo[i]) | (uint8_t(archivo[i + 1]) << 8); };
    while (p < archivo.size() && uint8_t(archivo[p]) != 0xFF) {
        if (p + 5 > archivo.size()) break;
        const int n = u16(p + 3);
        r.push_back({archivo[p], u16(p + 1), archivo.mid(p + 5, n)});
        p += 5 + n;
    }
    EXPECT_EQ(p, archivo.size() - 1) << "0xFF must be the last byte";
    return r;
}

} // namespace

TEST(GeneraDatosFont, HeaderInSignAndMagnitude) {
    struct Caso {
        int left, top, alto, formato, cuenta;
        std::optional<QByteArray> esperado;
    };
    const Caso casos[] = {
        {10, -3, 40, 2, 0x10, Bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10})},
        {-300, 0, 1, 0, 11, Bytes({0x2C, 0x81, 0x00, 0x00, 0x01, 0x00, 0x00, 0x0B})},
        {32767, -32767, 32767, 255, 10, Bytes({0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x0A})},
        {32768, 0, 40, 0, 16, std::nullopt},
        {0, -32768, 40, 0, 16, std::nullopt},
        {0, 0, -1, 0, 16, std::nullopt},
    };
    for (const Caso& c : casos) {
        ObjetoTicket o = campo(TipoTurno, c.left, c.top);
        o.Height = c.alto;
        o.Formato = static_cast<uint8_t>(c.formato);
        EXPECT_EQ(CabeceraFuente(o, static_cast<uint8_t>(c.cuenta)), c.esperado) << c.left << "," << c.top;
    }
}

TEST(GeneraDatosFont, FilesOfEachField) {
    const struct {
        CampoVariable campo;
        const char* nombre;
        int cuenta;
        const char* caracteres;
    } casos[] = {
        {CampoVariable::Turno, "DatosRasterTurno.bin", 16, "0123456789ABCDEF"},
        {CampoVariable::Fecha, "DatosRasterFecha.bin", 11, "0123456789/"},
        {CampoVariable::Hora, "DatosRasterHora.bin", 10, "0123456789:apm"},
    };
    QTemporaryDir dir;
    ObjetoTicket turno = campo(TipoTurno, 10, -3);
    turno.Formato = 2;
    const Design d = disenoCon({{1, turno}, {2, campo(TipoFecha, 5, 6)}, {3, campo(TipoHora, 7, 8)}});
    Surface picWork3;
    for (const auto& c : casos) {
        const QString ruta = dir.filePath(QString::fromLatin1(c.nombre));
        const ResultadoFuente r = GenerarArchivoFuente(d, c.campo, picWork3, dir.path());
        ASSERT_TRUE(r.ok && r.escrito) << r.mensaje.toStdString();
        const QByteArray archivo = Leer(ruta);
        ASSERT_GT(archivo.size(), 9);
        EXPECT_EQ(uint8_t(archivo[7]), c.cuenta) << c.nombre;
        QByteArray caracteres;
        for (const auto& reg : registros(archivo)) {
            caracteres.append(reg.codigo);
            EXPECT_GT(reg.avance, 0) << reg.codigo;
        }
        EXPECT_EQ(caracteres, QByteArray(c.caracteres)) << c.nombre;
    }
    EXPECT_EQ(Leer(ArchivoFuente(CampoVariable::Turno, dir.path())).left(8),
              Bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10}));
    EXPECT_EQ(Leer(ArchivoFuente(CampoVariable::Fecha, dir.path())).left(4), Bytes({5, 0, 6, 0}));
}

TEST(GeneraDatosFont, FieldInTheHighestSlotWins) {
    QTemporaryDir dir;
    ObjetoTicket libre = campo(TipoTurno, 99, 99);
    libre.EnUso = Falso;
    const Design d = disenoCon({{2, campo(TipoTurno, 2, 2)},
                                {5, campo(TipoTurno, 5, 50, 12)},
                                {6, campo(TipoFecha, 6, 6)},
                                {7, libre}});
    EXPECT_EQ(SlotCampo(d, CampoVariable::Turno), 5);
    Surface picWork3;
    ASSERT_TRUE(PBFontTurno(d, picWork3, dir.path()).escrito);
    const QByteArray archivo = Leer(ArchivoFuente(CampoVariable::Turno, dir.path()));
    EXPECT_EQ(archivo.left(4), Bytes({5, 0, 50, 0}));
    EXPECT_EQ(archivo, GenerarFuente(d.objeto(5), CampoVariable::Turno, picWork3).bytes);
}

TEST(GeneraDatosFont, NoFieldLeavesNoFile) {
    QTemporaryDir dir;
    const QString ruta = ArchivoFuente(CampoVariable::Fecha, dir.path());
    ASSERT_TRUE(Escribir(ruta, "font of an earlier design"));
    const Design d = disenoCon({{1, campo(TipoTurno)}, {2, campo(TipoHora)}});
    Surface picWork3;
    const ResultadoFuente r = PBFontFecha(d, picWork3, dir.path());
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.escrito);
    EXPECT_FALSE(QFile::exists(ruta));
}

TEST(GeneraDatosFont, ObjectUnderlineAndStrikeOutDoNotReachTheFont) {
    Surface picWork3;
    ObjetoTicket o = campo(TipoTurno, 1, 1, 20, 2);
    const QByteArray normal = GenerarFuente(o, CampoVariable::Turno, picWork3).bytes;
    ASSERT_FALSE(normal.isEmpty());
    for (auto [sub, tach] : {std::pair{1, 0}, {0, 1}, {1, 1}}) {
        o.FontUnderline = static_cast<int16_t>(sub);
        o.FontStrikethru = static_cast<int16_t>(tach);
        EXPECT_EQ(GenerarFuente(o, CampoVariable::Turno, picWork3).bytes, normal) << sub << tach;
    }
}

TEST(GeneraDatosFont, BoundsOfOneCharacter) {
    const QByteArray segmento95 = Bytes({0x00, 0x00, 95}) + QByteArray(95, '\x01');
    const QByteArray segmento96 = Bytes({0x00, 0x00, 96}) + QByteArray(96, '\x01');
    const QByteArray grande(10002, char(0));
    struct Caso {
        int ancho;
        QByteArray celda;
        LimiteFuente esperado;
    };
    const Caso casos[] = {
        {392, segmento95, LimiteFuente::Dentro},        {393, {}, LimiteFuente::Ancho},
        {13, segmento96, LimiteFuente::Segmento},       {13, grande, LimiteFuente::Bytes},
        {13, grande.left(10001), LimiteFuente::Dentro},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(RevisarLimites(c.ancho, c.celda), c.esperado) << c.ancho << " " << c.celda.size();
}

TEST(GeneraDatosFont, RefusalsLeaveNoFile) {
    QTemporaryDir dir;
    const Design d = disenoCon({{1, campo(TipoTurno, 1, 1, 400)}, {2, campo(TipoHora, 40000, 1)}});
    Surface picWork3;
    for (CampoVariable c : {CampoVariable::Turno, CampoVariable::Hora}) {
        const QString ruta = ArchivoFuente(c, dir.path());
        ASSERT_TRUE(Escribir(ruta, "old"));
        const ResultadoFuente r = GenerarArchivoFuente(d, c, picWork3, dir.path());
        EXPECT_FALSE(r.ok || r.escrito);
        EXPECT_TRUE(r.mensaje.startsWith(QStringLiteral("No se puede generar la fuente del campo de ")))
            << r.mensaje.toStdString();
        EXPECT_FALSE(QFile::exists(ruta));
    }
    const QString carpeta = dir.filePath(QStringLiteral("no-existe"));
    const ResultadoFuente r = PBFontTurno(disenoCon({{1, campo(TipoTurno, 1, 1, 10)}}), picWork3, carpeta);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.mensaje.startsWith(QStringLiteral("No se pudo escribir el archivo ")))
        << r.mensaje.toStdString();
}

// Every cell, decoded, is the ink of its character printed after a space on the work
// surface, above the underline; the advance is the character's own.
TEST(GeneraDatosFont, CellsHoldThePrintedGlyph) {
    Surface picWork3, prueba;
    for (int puntos : {12, 48})
        for (int16_t estilo : {0, 3}) {
            const ObjetoTicket o = campo(TipoTurno, 1, 1, puntos, estilo);
            const DatosFuente datos = GenerarFuente(o, CampoVariable::Turno, picWork3);
            ASSERT_TRUE(datos.error.isEmpty()) << datos.error.toStdString();
            const auto regs = registros(datos.bytes);
            ASSERT_EQ(regs.size(), 16u);
            for (const Registro& reg : regs) {
                const QString c(QLatin1Char(reg.codigo));
                SCOPED_TRACE(testing::Message()
                             << puntos << " pt, style " << estilo << ", '" << reg.codigo << "'");
                PrintCaracterParaFont(prueba, o, QLatin1Char(' ') + c);
                EXPECT_EQ(reg.avance, prueba.textWidth(c));

                // Column 1 lies under the space: its only ink is the underline.
                auto negro = [&](int x, int y) { return prueba.point(x, y) == 0; };
                int subrayado = prueba.height() - 1;
                while (subrayado >= 0 && !negro(1, subrayado))
                    --subrayado;
                ASSERT_GT(subrayado, 0);
                while (negro(1, subrayado - 1))
                    --subrayado;

                std::set<std::pair<int, int>> impreso, decodificado;
                for (int y = 0; y < subrayado; ++y)
                    for (int x = 0; x < 400; ++x)
                        if (negro(x, y)) impreso.insert({x, y});
                DecodificarRaster(QByteArray(1, '\0') + reg.celda, [&](int x, int y) {
                    decodificado.insert({x, y});
                });
                ASSERT_FALSE(impreso.empty());
                ASSERT_FALSE(decodificado.empty());
                int minImpreso = 1000, minCelda = 1000;
                for (auto [x, y] : impreso)
                    minImpreso = std::min(minImpreso, x);
                for (auto [x, y] : decodificado)
                    minCelda = std::min(minCelda, x);
                EXPECT_GE(minCelda, 1) << "a cell starts at an ink-free column";
                std::set<std::pair<int, int>> desplazado;
                for (auto [x, y] : decodificado)
                    desplazado.insert({x + minImpreso - minCelda, y});
                EXPECT_EQ(desplazado, impreso);
            }
        }
}
