#include "document/RecordCodec.h"
#include "document/ArchivoDiseno.h"
#include "document/Texto1252.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quoravex;

// A 500-dot design with four push-buttons and one object with every field set, as saved.
TEST(RecordCodec, DesignFileBytesAtTheirOffsets) {
    ASSERT_TRUE(Codificacion1252Disponible()) << "Qt lacks the Windows-1252 converter (ICU)";
    Design d;
    d.NumPulsadores = 4;
    // Any non-zero EnUso is in use, stored as -1; the header-only fields are never stored in an object.
    // Texts are Windows-1252: a character outside it is "?", a surrogate pair being one character.
    // clang-format off
    ObjetoTicket o{.EnUso = 1, .Pendiente = 0x0102, .Tipo = TipoTurno, .Formato = 11, .Top = -3, .Left = 0x01020304,
        .Width = 382, .Height = 120, .Orden = 1, .Texto = QStringLiteral("Añ€Ω😀b") + QChar(0xD800),
        .FontName = QStringLiteral("DejaVu Sans"), .FontSize = 30, .FontStyle = 3, .FontUnderline = 1,
        .FontStrikethru = -1, .CurrentX = 5, .CurrentY = -6, .TextWidth = 70000, .TextHeight = 41,
        .ImagenTrabajo = QStringLiteral("C:\\Tickets\\Imagen3.bmp"), .ImagenOrigen = QStringLiteral("/home/x/logo.png"),
        .AnchoImagen = 200, .LineaX = -2, .LineaY = 300, .Reservado2 = 0x0506, .Grosor = 10, .Version = 9,
        .Marcador = 9, .Longitud = 9, .NumPulsadores = 9, .Pulsadores = 0x80012345};
    // clang-format on
    d.agregar(NuevoObjeto{});
    d.objeto(1) = o;
    const QByteArray datos = CodificarDiseno(d);
    ASSERT_EQ(datos.size(), 2 * LongitudRegistro);
    constexpr int R = LongitudRegistro;
    const std::pair<int, std::vector<uint8_t>> filas[] = {
        {0, std::vector<uint8_t>(441, 0)},                                // the header is zeros but for
        {441, {0x01, 0x00, 0x04, 0x00, 0xF4, 0x01, 0x04, 0, 0, 0, 0}},    // version, marker, 500, 4 buttons
        {R + 0, {0xFF, 0xFF, 0x02, 0x01, 0x03, 0x00, 0x0B}},              // EnUso, Pendiente, Tipo, Formato
        {R + 7, {0xFD, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01}},        // Top, Left
        {R + 15, {0x7E, 0x01, 0x00, 0x00, 0x78, 0x00, 0x00, 0x00}},       // Width, Height
        {R + 23, {0x01, 0x00, 'A', 0xF1, 0x80, '?', '?', 'b', '?', ' '}}, // Orden, Texto
        {R + 122, {' ', ' ', ' ', 'D', 'e', 'j'}},                        // end of Texto, FontName
        {R + 202, {' ', ' ', ' ', 0x1E, 0x00, 0x03, 0x00}},          // end of FontName, FontSize, FontStyle
        {R + 209, {0x01, 0x00, 0xFF, 0xFF}},                         // FontUnderline, FontStrikethru
        {R + 213, {0x05, 0x00, 0x00, 0x00, 0xFA, 0xFF, 0xFF, 0xFF}}, // CurrentX, CurrentY
        {R + 221, {0x70, 0x11, 0x01, 0x00, 0x29, 0x00, 0x00, 0x00}}, // TextWidth, TextHeight
        {R + 229, {'C', ':', '\\'}},                                 // ImagenTrabajo
        {R + 329, {'/', 'h', 'o'}},                                  // ImagenOrigen
        {R + 426, {' ', ' ', ' ', 0xC8, 0x00, 0xFE, 0xFF, 0x2C, 0x01}}, // AnchoImagen, LineaX, LineaY
        {R + 435, {0x00, 0x00, 0x06, 0x05, 0x0A, 0x00}},                // reserved, Grosor
        {R + 441, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},          // header-only fields
        {R + 448, {0x45, 0x23, 0x01, 0x80}},                            // Pulsadores
    };
    for (const auto& [offset, bytes] : filas)
        EXPECT_EQ(std::vector<uint8_t>(datos.begin() + offset, datos.begin() + offset + bytes.size()), bytes)
            << "offset " << offset;

    // Every field decodes as it was encoded, header-only fields included; texts are cut to their width.
    o.Texto = QStringLiteral("Señal de turno: 5 € · ¿Qué? Á");
    o.FontName = QString(90, QLatin1Char('x'));
    EXPECT_EQ(o.FontName.bruto(), QString(80, QLatin1Char('x')));
    EXPECT_EQ(DecodificarRegistro(CodificarRegistro(o)), o);
    const CabeceraArchivo c{2, -3, 0x1FF, 200};
    EXPECT_EQ(DecodificarCabecera(CodificarCabecera(c)), c);
}

// Any bytes decode and encode back the same, but for a NUL in a text, which reads as padding.
TEST(RecordCodec, AnyBytesDecodeAndNulReadsAsPadding) {
    Registro r{};
    EXPECT_EQ(DecodificarRegistro(r).Texto.bruto(), QString(100, QLatin1Char(' ')));
    for (int i = 0; i < LongitudRegistro; ++i)
        r[static_cast<size_t>(i)] =
            static_cast<uint8_t>(0x80 + i % 128); // the texts hold every byte above 0x7F
    r[30] = 0;
    const ObjetoTicket o = DecodificarRegistro(r);
    EXPECT_EQ(o.Texto.bruto().at(0), QChar(0x2122)); // byte 0x99 at offset 25 is "™"
    Registro esperado = r;
    esperado[30] = ' ';
    EXPECT_EQ(CodificarRegistro(o), esperado);
}
