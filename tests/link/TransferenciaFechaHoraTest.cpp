#include "link/TransferenciaFechaHora.h"
#include "Banco.h"

#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

TEST(TransferenciaFechaHora, FrameOfOneReading) {
    const struct {
        QDateTime momento;
        QByteArray cuerpo;
    } casos[] = {
        {QDateTime(QDate(2009, 6, 2), QTime(7, 5, 18)),
         Bytes({0x00, 0x51, 0x0F, 2, 0, 0, 9, 0, 6, 3, 0, 2, 0, 7, 0, 5, 1, 8})},
        {QDateTime(QDate(2023, 1, 1), QTime(0, 0, 0)), // a Sunday
         Bytes({0x00, 0x51, 0x0F, 2, 0, 2, 3, 0, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0})},
        {QDateTime(QDate(2026, 12, 5), QTime(23, 59, 59)), // a Saturday
         Bytes({0x00, 0x51, 0x0F, 2, 0, 2, 6, 1, 2, 7, 0, 5, 2, 3, 5, 9, 5, 9})},
    };
    for (const auto& c : casos)
        EXPECT_EQ(TramaFechaHora(c.momento).toHex(' '), c.cuerpo.toHex(' '))
            << c.momento.toString().toStdString();
    // A year of fewer than four digits is sent as 2009.
    EXPECT_EQ(TramaFechaHora(QDateTime(QDate(999, 3, 10), QTime(12, 30, 0))).mid(3, 4), Bytes({2, 0, 0, 9}));
}

TEST(TransferenciaFechaHora, SendsOnceAndCloses) {
    FakeSerialPort puerto;
    RecordingSink sink;
    EnlaceImpresora enlace(puerto, sink, LineaFechaHora);
    ASSERT_TRUE(enlace.Cargar(2, false));
    EXPECT_EQ(puerto.linea.texto(), QStringLiteral("1200,n,8,2"));
    int lecturas = 0;
    TransferenciaFechaHora fecha(enlace, [&] {
        ++lecturas;
        return QDateTime(QDate(2009, 6, 2), QTime(7, 5, 18));
    });
    enlace.RespuestaRX = "viejo";
    fecha.iniciar();
    EXPECT_EQ(sink.intervalo(Reloj::FechaHora), 1);
    fecha.tick();
    ASSERT_EQ(puerto.escritos.size(), 1);
    EXPECT_EQ(puerto.escritos[0].toHex(' '),
              QByteArray("00 51 0f 02 00 00 09 00 06 03 00 02 00 07 00 05 01 08 3d 86"));
    EXPECT_EQ(lecturas, 1);
    EXPECT_TRUE(enlace.RespuestaRX.isEmpty());
    EXPECT_EQ(sink.intervalo(Reloj::FechaHora), 500);
    // RTS is not waited for: the next tick closes.
    EXPECT_TRUE(enlace.rts());
    fecha.tick();
    EXPECT_FALSE(puerto.isOpen());
    EXPECT_EQ(sink.cierres, 1);
    EXPECT_FALSE(fecha.FechaHoraActivo);
    fecha.tick();
    EXPECT_EQ(puerto.escritos.size(), 1);
}
