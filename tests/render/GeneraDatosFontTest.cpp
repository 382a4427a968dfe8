#include "render/GeneraDatosFont.h"

#include "document/Design.h"
#include "render/CodificacionRaster.h"
#include "support/Bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    while (p + 5 <= archivo.size() && uint8_t(archivo[p]) != 0xFF) {
        r.push_back({archivo[p], u16(p + 1), archivo.mid(p + 5, u16(p + 3))});
        p += 5 + u16(p + 3);
    }
    EXPECT_EQ(p, archivo.size() - 1) << "0xFF must be the last byte";
    return r;
}

} // namespace

TEST(GeneraDatosFont, HeaderInSignAndMagnitude) {
    const struct {
        int left, top, alto, formato, cuenta;
        std::optional<QByteArray> esperado;
    } casos[] = {
        {10, -3, 40, 2, 0x10, Bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10})},
        {-300, 0, 1, 0, 11, Bytes({0x2C, 0x81, 0x00, 0x00, 0x01, 0x00, 0x00, 0x0B})},
        {32767, -32767, 32767, 255, 10, Bytes({0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x0A})},
        {32768, 0, 40, 0, 16, std::nullopt},
        {0, -32768, 40, 0, 16, std::nullopt},
        {0, 0, -1, 0, 16, std::nullopt},
    };
    for (const auto& c : casos) {
        ObjetoTicket o = campo(TipoTurno, c.left, c.top);
        o.Height = c.alto;
        o.Formato = static_cast<uint8_t>(c.formato);
        EXPECT_EQ(CabeceraFuente(o, static_cast<uint8_t>(c.cuenta)), c.esperado) << c.left << "," << c.top;
    }
}

// One file per field, from the field in the highest slot; no field, no file.
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
    ObjetoTicket turno = campo(TipoTurno, 10, -3), libre = campo(TipoHora);
    turno.Formato = 2;
    libre.EnUso = Falso;
    const Design d = disenoCon({{1, campo(TipoTurno, 2, 2)},
                                {4, turno},
                                {2, campo(TipoFecha, 5, 6)},
                                {3, campo(TipoHora, 7, 8)},
                                {7, libre}});
    Surface picWork3;
    for (const auto& c : casos) {
        const ResultadoFuente r = GenerarArchivoFuente(d, c.campo, picWork3, dir.path());
        ASSERT_TRUE(r.ok && r.escrito) << r.mensaje.toStdString();
        const QByteArray archivo = Leer(dir.filePath(QString::fromLatin1(c.nombre)));
        ASSERT_GT(archivo.size(), 9);
        EXPECT_EQ(uint8_t(archivo[7]), c.cuenta) << c.nombre;
        QByteArray caracteres;
        for (const auto& reg : registros(archivo))
            caracteres.append(reg.codigo);
        EXPECT_EQ(caracteres, QByteArray(c.caracteres)) << c.nombre;
        EXPECT_EQ(archivo, GenerarFuente(d.objeto(SlotCampo(d, c.campo)), c.campo, picWork3).bytes);
    }
    EXPECT_EQ(SlotCampo(d, CampoVariable::Turno), 4);
    EXPECT_EQ(Leer(ArchivoFuente(CampoVariable::Turno, dir.path())).left(8),
              Bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10}));
    EXPECT_EQ(Leer(ArchivoFuente(CampoVariable::Hora, dir.path())).left(4), Bytes({7, 0, 8, 0}));

    const QString fecha = ArchivoFuente(CampoVariable::Fecha, dir.path());
    const ResultadoFuente r = PBFontFecha(disenoCon({{1, turno}}), picWork3, dir.path());
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.escrito);
    EXPECT_FALSE(QFile::exists(fecha)); // the old file of an earlier design went too
}

TEST(GeneraDatosFont, ObjectUnderlineAndStrikeOutDoNotReachTheFont) {
    Surface picWork3;
    ObjetoTicket o = campo(TipoTurno, 1, 1, 20, 2);
    const QByteArray normal = GenerarFuente(o, CampoVariable::Turno, picWork3).bytes;
    ASSERT_FALSE(normal.isEmpty());
    o.FontUnderline = o.FontStrikethru = 1;
    EXPECT_EQ(GenerarFuente(o, CampoVariable::Turno, picWork3).bytes, normal);
}

TEST(GeneraDatosFont, BoundsOfOneCharacterAndRefusals) {
    const QByteArray grande(10002, char(0));
    const std::tuple<int, QByteArray, LimiteFuente> casos[] = {
        {392, Bytes({0x00, 0x00, 95}) + QByteArray(95, '\x01'), LimiteFuente::Dentro},
        {393, {}, LimiteFuente::Ancho},
        {13, Bytes({0x00, 0x00, 96}) + QByteArray(96, '\x01'), LimiteFuente::Segmento},
        {13, grande, LimiteFuente::Bytes},
        {13, grande.left(10001), LimiteFuente::Dentro},
    };
    for (const auto& [ancho, celda, esperado] : casos)
        EXPECT_EQ(RevisarLimites(ancho, celda), esperado) << ancho << " " << celda.size();

    // A font beyond the printer, or a folder that cannot take the file, leaves no file.
    QTemporaryDir dir;
    Surface picWork3;
    const QString ruta = ArchivoFuente(CampoVariable::Turno, dir.path());
    ASSERT_TRUE(Escribir(ruta, "old"));
    ResultadoFuente r = PBFontTurno(disenoCon({{1, campo(TipoTurno, 1, 1, 400)}}), picWork3, dir.path());
    EXPECT_FALSE(r.ok || r.escrito);
    EXPECT_TRUE(r.mensaje.startsWith(QStringLiteral("No se puede generar la fuente del campo de ")));
    EXPECT_FALSE(QFile::exists(ruta));
    r = PBFontTurno(disenoCon({{1, campo(TipoTurno)}}), picWork3, dir.filePath(QStringLiteral("no-existe")));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.mensaje.startsWith(QStringLiteral("No se pudo escribir el archivo ")))
        << r.mensaje.toStdString();
}
