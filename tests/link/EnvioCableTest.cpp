#include "ParPuertos.h"
#include "RecordingSink.h"
#include "RelojFalso.h"
#include "document/Design.h"
#include "link/EnviarTodo.h"
#include "link/ImpresoraVirtual.h"
#include "link/TransferenciaFont.h"
#include "link/TransferenciaRaster.h"
#include "support/Bytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;
using quoravex::pruebas::Bytes;

namespace {

// The transfer window and the printer on the two ends of one cable.
struct Mesa {
    Mesa() {
        design.NumPulsadores = 2;
        design.ModeloTeclado = 1;
        design.LargoTicket = 320;
        escribir(QStringLiteral("Salida00.bin"),
                 Bytes({0x00, 0x00, 0x03, 0x02, 0x81, 0x18, 0x01, 0x40, 0x01, 0x3C}));
        escribir(QStringLiteral("Salida01.bin"), Bytes({0x01}));
        escribir(QStringLiteral("Salida02.bin"), Bytes({0x02, 0x10, 0x00, 48}) + QByteArray(48, '\x55'));
        escribir(QStringLiteral("DatosRasterTurno.bin"),
                 Bytes({0x0A, 0x00, 0x03, 0x80, 0x28, 0x00, 0x02, 0x10, 0x30, 0x0C, 0x00, 0x08, 0x00, 0x00,
                        0x00, 0x01, 0x02, 0x00, 0x40, 0x01, 0x02, 0x31, 0x0C, 0x00, 0x00, 0x00, 0xFF}));
        sink.falso = &reloj;
        reloj.ticks[Reloj::TOut] = [this] { enlace.tickTOut(); };
        reloj.ticks[Reloj::Raster] = [this] { raster.tick(); };
        reloj.ticks[Reloj::FontTurno] = [this] { turno.tick(); };
        cable(par.pc);
        cable(par.impresora);
        cargado = enlace.Cargar(1, false);
    }
    void escribir(const QString& nombre, const QByteArray& datos) {
        pruebas::Escribir(QDir(dir.path()).filePath(nombre), datos);
        archivos[nombre] = datos;
    }
    // The window's timers and the cable, until the send-all sequence ends.
    void enviarTodo() {
        todo.iniciar();
        reloj.correr([this] { return !todo.activo(); }, 3600 * 1000);
    }
    // What one end writes crosses the cable at once, `trozo` bytes at a time.
    void cable(PuertoEnlazado& extremo) {
        extremo.alEscribir = [this, &extremo](const QByteArray&) {
            reloj.programar(reloj.ahora, [&extremo] {
                while (extremo.entregar()) {
                }
            });
        };
    }

    RelojFalso reloj;
    QTemporaryDir dir;
    std::map<QString, QByteArray> archivos;
    ParPuertos par;
    RecordingSink sink;
    Design design;
    EnlaceImpresora enlace{par.pc, sink, LineaEnvio};
    ImpresoraVirtual impresora{par.impresora};
    TransferenciaRaster raster{enlace, design, dir.path()};
    TransferenciaFont turno{enlace, TipoFont::Turno(), dir.path()};
    EnviarTodo todo{enlace, raster, turno};
    bool cargado = false;
};

} // namespace

TEST(EnvioCable, ReceivesTheDesignDespiteFaults) {
    const QString nak = QStringLiteral("  R -> NAK"), timeOut = QStringLiteral("  R -> TIME OUT");
    const struct {
        const char* nombre;
        FallosImpresora fallos;
        qsizetype trozo;
        QString linea; // the log line the fault shows, and how often
        int veces;
    } casos[] = {
        {"clean line", {}, 1 << 20, nak, 0},
        {"one byte at a time", {}, 1, timeOut, 0},
        {"noise", {.ruido = 4}, 7, nak, 4},
        {"refusals", {.rechazo = 3}, 1 << 20, nak, 3},
        {"busy", {.procesando = 5}, 1 << 20, QStringLiteral("  R -> PROCESANDO"), 5},
        // The first three frames are the erase frame, whose wait logs ten timeouts each time.
        {"lost answers", {.respuestaCorta = 3}, 1 << 20, timeOut, 3 * 10},
        {"silence", {.silencio = 3}, 1 << 20, timeOut, 3 * 10},
        // Four unknown statuses: NAKs for the erase and the first blocks.
        {"unknown status", {.otroEstado = 4}, 1 << 20, nak, 4},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        Mesa m;
        ASSERT_TRUE(m.cargado);
        m.impresora.fallos = c.fallos;
        m.par.pc.trozo = c.trozo;
        m.par.impresora.trozo = c.trozo;
        m.enviarTodo();
        EXPECT_FALSE(m.todo.activo());
        EXPECT_FALSE(m.enlace.ErrorEnvio);
        EXPECT_TRUE(m.sink.mensajes.isEmpty());
        EXPECT_EQ(m.impresora.largoTicket, 320);
        EXPECT_EQ(m.impresora.codigoTeclado, 0x11);
        ASSERT_EQ(m.impresora.rasters.size(), 3u);
        for (int k = 0; k < 3; ++k) {
            EXPECT_TRUE(m.impresora.rasters[k].completo) << k;
            EXPECT_EQ(m.impresora.rasters[k].archivo(), m.archivos[TransferenciaRaster::NombreArchivo(k)])
                << k;
        }
        ASSERT_EQ(m.impresora.fonts.count(0), 1u);
        EXPECT_TRUE(m.impresora.fonts[0].completa);
        EXPECT_EQ(m.impresora.fonts[0].archivo(), m.archivos[QStringLiteral("DatosRasterTurno.bin")]);
        EXPECT_EQ(m.impresora.tramasDanadas, c.fallos.ruido);
        EXPECT_EQ(m.sink.lineas.count(c.linea), c.veces);
    }
}

TEST(EnvioCable, DeadPrinterIsAFailure) {
    Mesa m;
    m.impresora.fallos.silencio = 1000000;
    m.enviarTodo();
    EXPECT_TRUE(m.enlace.ErrorEnvio);
    ASSERT_EQ(m.sink.mensajes.size(), 1);
    EXPECT_EQ(m.sink.mensajes[0].texto, QStringLiteral("Error de comunicación con Impresora"));
    EXPECT_EQ(m.impresora.borrados, 0);
    EXPECT_TRUE(m.impresora.fonts.empty());
}
