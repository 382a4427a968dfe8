#include "link/Trama.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>

using namespace quoravex;
using quoravex::pruebas::Bytes;

TEST(Trama, CrcTableAndCheckValue) {
    EXPECT_EQ(TablaCrc16(1), 0x1189);
    EXPECT_EQ(Crc16(QByteArrayView("123456789")), 0x6F91);
    // n limits the bytes; a negative n takes them all.
    EXPECT_EQ(Crc16(QByteArrayView("123456789xyz"), 9), 0x6F91);
    EXPECT_EQ(Crc16(QByteArrayView("123456789"), -1), 0x6F91);
    EXPECT_EQ(Crc16(QByteArrayView(""), 0), 0xFFFF);
}

TEST(Trama, FramesOnTheWire) {
    const struct {
        const char* nombre;
        QByteArray cuerpo, esperado;
    } casos[] = {
        {"status request", Bytes({0x01, 0x55, 0x00}), Bytes({0x01, 0x55, 0x00, 0xA0, 0xCE})},
        {"erase, length 500, model 1", Bytes({0x01, 0x5A, 0x06, 0x5A, 0xA5, 0xF4, 0x01, 0x01, 0x00}),
         Bytes({0x01, 0x5A, 0x06, 0x5A, 0xA5, 0xF4, 0x01, 0x01, 0x00, 0x4E, 0xA0})},
        {"turn font terminator", Bytes({0x01, 0x1A, 0x01, 0xFF}),
         Bytes({0x01, 0x1A, 0x01, 0xFF, 0xD5, 0xFF})},
    };
    for (const auto& c : casos)
        EXPECT_EQ(ConstruirTrama(c.cuerpo, static_cast<int>(c.cuerpo.size())).toHex(' '),
                  c.esperado.toHex(' '))
            << c.nombre;
}

TEST(Trama, LengthLimits) {
    QByteArray lleno(LargoBufTX, '\x5A');
    const QByteArray trama = ConstruirTrama(lleno, LargoBufTX);
    ASSERT_EQ(trama.size(), 103);
    const uint16_t crc = Crc16(lleno);
    EXPECT_EQ(static_cast<uint8_t>(trama.at(101)), crc & 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(trama.at(102)), crc >> 8);
    EXPECT_TRUE(ConstruirTrama(lleno, 0).isEmpty());
    EXPECT_TRUE(ConstruirTrama(lleno, 102).isEmpty()); // more than there is
    EXPECT_TRUE(ConstruirTrama(QByteArray(300, 'a'), 256).isEmpty());
}

TEST(Trama, ReplyStatusIsTheFourthByte) {
    EXPECT_FALSE(EstadoDeRespuesta(QByteArray()).has_value());
    EXPECT_FALSE(EstadoDeRespuesta(Bytes({0x01, 0x55, 0x06})).has_value());
    EXPECT_EQ(EstadoDeRespuesta(Bytes({0x01, 0x55, 0x01, 0x06})), 0x06);
}
