#include "document/RecordCodec.h"
#include "document/Texto1252.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>

#include <vector>

using namespace quoravex;

namespace {

std::vector<uint8_t> bytesEn(const Registro& r, int desde, int cuantos) {
    return {r.begin() + desde, r.begin() + desde + cuantos};
}

ObjetoTicket objetoCompleto() {
    ObjetoTicket o;
    o.EnUso = Verdadero;
    o.Pendiente = 0x0102;
    o.Tipo = TipoTurno;
    o.Formato = 11;
    o.Top = -3;
    o.Left = 0x01020304;
    o.Width = 382;
    o.Height = 120;
    o.Orden = 7;
    o.Texto = QStringLiteral("A88");
    o.FontName = QStringLiteral("DejaVu Sans");
    o.FontSize = 30;
    o.FontStyle = 3;
    o.FontUnderline = 1;
    o.FontStrikethru = -1;
    o.CurrentX = 5;
    o.CurrentY = -6;
    o.TextWidth = 70000;
    o.TextHeight = 41;
    o.ImagenTrabajo = QStringLiteral("C:\\Tickets\\Imagen3.bmp");
    o.ImagenOrigen = QStringLiteral("/home/x/logo.png");
    o.AnchoImagen = 200;
    o.LineaX = -2;
    o.LineaY = 300;
    o.Grosor = 10;
    o.Pulsadores = 0x80012345;
    return o;
}

} // namespace

// Without the converter, bytes 0x80..0x9F would be read as Latin-1 controls.
TEST(Texto1252, ConverterIsAvailable) {
    ASSERT_TRUE(QStringEncoder("windows-1252").isValid()) << "Qt lacks the Windows-1252 encoder (ICU)";
    ASSERT_TRUE(QStringDecoder("windows-1252").isValid()) << "Qt lacks the Windows-1252 decoder (ICU)";
    ASSERT_TRUE(Codificacion1252Disponible());
}

TEST(Texto1252, EncodesAndDecodes) {
    EXPECT_EQ(Codificar1252(QStringLiteral("ñá€Ñ")), QByteArray("\xF1\xE1\x80\xD1"));
    EXPECT_EQ(Decodificar1252(QByteArray("\xF1\xE1\x80\x9F")), QStringLiteral("ñá€Ÿ"));
    // Unrepresentable characters become "?"; a surrogate pair is one character.
    EXPECT_EQ(Codificar1252(QStringLiteral("aΩ😀b") + QChar(0xD800)), QByteArray("a??b?"));
    EXPECT_EQ(Codificar1252(QString(QChar(0x1A))), QByteArray("\x1A"));
    QByteArray todos;
    for (int b = 0; b < 256; ++b)
        todos.append(static_cast<char>(b));
    EXPECT_EQ(Codificar1252(Decodificar1252(todos)), todos);
}

TEST(RecordCodec, HeaderOfA500DotDesignWithFourButtons) {
    CabeceraArchivo c;
    c.Longitud = 500;
    c.NumPulsadores = 4;
    const Registro r = CodificarCabecera(c);
    for (int i = 0; i < LongitudRegistro; ++i) {
        uint8_t esperado = 0;
        switch (i) {
        case 441:
            esperado = 0x01;
            break;
        case 443:
            esperado = 0x04;
            break;
        case 445:
            esperado = 0xF4;
            break;
        case 446:
            esperado = 0x01;
            break;
        case 447:
            esperado = 0x04;
            break;
        }
        EXPECT_EQ(r[static_cast<size_t>(i)], esperado) << "byte " << i;
    }
    EXPECT_EQ(DecodificarCabecera(r), c);
}

TEST(RecordCodec, FieldsAtTheirOffsets) {
    const Registro r = CodificarRegistro(objetoCompleto());
    struct Fila {
        int offset;
        std::vector<uint8_t> bytes;
    };
    const Fila filas[] = {
        {0, {0xFF, 0xFF}},                                 // EnUso
        {2, {0x02, 0x01}},                                 // Pendiente
        {4, {0x03, 0x00}},                                 // Tipo
        {6, {0x0B}},                                       // Formato
        {7, {0xFD, 0xFF, 0xFF, 0xFF}},                     // Top
        {11, {0x04, 0x03, 0x02, 0x01}},                    // Left
        {15, {0x7E, 0x01, 0x00, 0x00}},                    // Width
        {19, {0x78, 0x00, 0x00, 0x00}},                    // Height
        {23, {0x07, 0x00}},                                // Orden
        {25, {'A', '8', '8', ' ', ' '}},                   // Texto
        {122, {' ', ' ', ' '}},                            // end of Texto
        {125, {'D', 'e', 'j'}},                            // FontName
        {202, {' ', ' ', ' '}},                            // end of FontName
        {205, {0x1E, 0x00}},                               // FontSize
        {207, {0x03, 0x00}},                               // FontStyle
        {209, {0x01, 0x00}},                               // FontUnderline
        {211, {0xFF, 0xFF}},                               // FontStrikethru
        {213, {0x05, 0x00, 0x00, 0x00}},                   // CurrentX
        {217, {0xFA, 0xFF, 0xFF, 0xFF}},                   // CurrentY
        {221, {0x70, 0x11, 0x01, 0x00}},                   // TextWidth
        {225, {0x29, 0x00, 0x00, 0x00}},                   // TextHeight
        {229, {'C', ':', '\\'}},                           // ImagenTrabajo
        {329, {'/', 'h', 'o'}},                            // ImagenOrigen
        {426, {' ', ' ', ' '}},                            // end of ImagenOrigen
        {429, {0xC8, 0x00}},                               // AnchoImagen
        {431, {0xFE, 0xFF}},                               // LineaX
        {433, {0x2C, 0x01}},                               // LineaY
        {435, {0x00, 0x00, 0x00, 0x00}},                   // reserved
        {439, {0x0A, 0x00}},                               // Grosor
        {441, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}}, // header-only fields
        {448, {0x45, 0x23, 0x01, 0x80}},                   // Pulsadores
    };
    for (const Fila& f : filas)
        EXPECT_EQ(bytesEn(r, f.offset, static_cast<int>(f.bytes.size())), f.bytes) << "offset " << f.offset;
}

TEST(RecordCodec, DecodesWhatItEncodes) {
    ObjetoTicket o = objetoCompleto();
    o.Texto = QStringLiteral("Señal de turno: 5 € · ¿Qué? Á");
    o.FontName = QString(90, QLatin1Char('x')); // cut to 80 on assignment
    o.Version = 1;
    o.Marcador = 4;
    o.Longitud = -2;
    o.NumPulsadores = 200;
    EXPECT_EQ(DecodificarRegistro(CodificarRegistro(o)), o);

    ObjetoTicket fuera = o;
    fuera.Texto = QStringLiteral("Ω 😀 ñ");
    EXPECT_EQ(DecodificarRegistro(CodificarRegistro(fuera)).Texto.valor(), QStringLiteral("? ? ñ"));
}

TEST(RecordCodec, AnyBytesDecodeAndNulReadsAsPadding) {
    Registro r{};
    EXPECT_EQ(DecodificarRegistro(r).Texto.valor(), QString());
    EXPECT_EQ(DecodificarRegistro(r).Texto.bruto().size(), 100);
    for (int i = 0; i < LongitudRegistro; ++i)
        r[static_cast<size_t>(i)] = static_cast<uint8_t>(0x80 + i % 128);
    r[30] = 0;
    const ObjetoTicket o = DecodificarRegistro(r);
    EXPECT_EQ(o.Texto.bruto().at(5), QLatin1Char(' '));
    EXPECT_EQ(o.Texto.bruto().at(0), QChar(0x2122)); // byte 0x99 at offset 25 is "™"
    Registro esperado = r;
    esperado[30] = ' ';
    EXPECT_EQ(CodificarRegistro(o), esperado);
}
