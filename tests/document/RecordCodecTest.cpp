#include "document/RecordCodec.h"
#include "document/Texto1252.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quoravex;

namespace {

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

TEST(Texto1252, EncodesAndDecodes) {
    ASSERT_TRUE(Codificacion1252Disponible()) << "Qt lacks the Windows-1252 converter (ICU)";
    EXPECT_EQ(Codificar1252(QStringLiteral("ñá€Ñ")), QByteArray("\xF1\xE1\x80\xD1"));
    EXPECT_EQ(Decodificar1252(QByteArray("\xF1\xE1\x80\x9F")), QStringLiteral("ñá€Ÿ"));
    // Unrepresentable characters become "?"; a surrogate pair is one character.
    EXPECT_EQ(Codificar1252(QStringLiteral("aΩ😀b") + QChar(0xD800)), QByteArray("a??b?"));
    QByteArray todos;
    for (int b = 0; b < 256; ++b)
        todos.append(static_cast<char>(b));
    EXPECT_EQ(Codificar1252(Decodificar1252(todos)), todos);
}

TEST(RecordCodec, HeaderOfA500DotDesignWithFourButtons) {
    CabeceraArchivo c;
    c.Longitud = 500;
    c.NumPulsadores = 4;
    Registro esperado{};
    esperado[441] = 0x01; // version
    esperado[443] = 0x04; // marker
    esperado[445] = 0xF4; // 500
    esperado[446] = 0x01;
    esperado[447] = 0x04;
    EXPECT_EQ(CodificarCabecera(c), esperado);
    EXPECT_EQ(DecodificarCabecera(esperado), c);
}

TEST(RecordCodec, FieldsAtTheirOffsets) {
    const Registro r = CodificarRegistro(objetoCompleto());
    const std::pair<int, std::vector<uint8_t>> filas[] = {
        {0, {0xFF, 0xFF}},                                          // EnUso
        {2, {0x02, 0x01}},                                          // Pendiente
        {4, {0x03, 0x00, 0x0B}},                                    // Tipo, Formato
        {7, {0xFD, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01}},      // Top, Left
        {15, {0x7E, 0x01, 0x00, 0x00, 0x78, 0x00, 0x00, 0x00}},     // Width, Height
        {23, {0x07, 0x00, 'A', '8', '8', ' '}},                     // Orden, Texto
        {122, {' ', ' ', ' ', 'D', 'e', 'j'}},                      // end of Texto, FontName
        {202, {' ', ' ', ' ', 0x1E, 0x00, 0x03, 0x00}},             // end of FontName, FontSize, FontStyle
        {209, {0x01, 0x00, 0xFF, 0xFF}},                            // FontUnderline, FontStrikethru
        {213, {0x05, 0x00, 0x00, 0x00, 0xFA, 0xFF, 0xFF, 0xFF}},    // CurrentX, CurrentY
        {221, {0x70, 0x11, 0x01, 0x00, 0x29, 0x00, 0x00, 0x00}},    // TextWidth, TextHeight
        {229, {'C', ':', '\\'}},                                    // ImagenTrabajo
        {329, {'/', 'h', 'o'}},                                     // ImagenOrigen
        {426, {' ', ' ', ' ', 0xC8, 0x00, 0xFE, 0xFF, 0x2C, 0x01}}, // AnchoImagen, LineaX, LineaY
        {435, {0x00, 0x00, 0x00, 0x00, 0x0A, 0x00}},                // reserved, Grosor
        {441, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},          // header-only fields
        {448, {0x45, 0x23, 0x01, 0x80}},                            // Pulsadores
    };
    for (const auto& [offset, bytes] : filas)
        EXPECT_EQ(std::vector<uint8_t>(r.begin() + offset, r.begin() + offset + bytes.size()), bytes)
            << "offset " << offset;
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
}

TEST(RecordCodec, AnyBytesDecodeAndNulReadsAsPadding) {
    Registro r{};
    EXPECT_EQ(DecodificarRegistro(r).Texto.bruto(), QString(100, QLatin1Char(' ')));
    for (int i = 0; i < LongitudRegistro; ++i)
        r[static_cast<size_t>(i)] = static_cast<uint8_t>(0x80 + i % 128);
    r[30] = 0;
    const ObjetoTicket o = DecodificarRegistro(r);
    EXPECT_EQ(o.Texto.bruto().at(0), QChar(0x2122)); // byte 0x99 at offset 25 is "™"
    Registro esperado = r;
    esperado[30] = ' ';
    EXPECT_EQ(CodificarRegistro(o), esperado);
}
