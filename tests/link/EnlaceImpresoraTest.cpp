#include "Banco.h"
#include "link/AjustesTick.h"

#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

TEST(EnlaceImpresora, LoadOpensThePortOrSaysWhy) {
    struct Caso {
        const char* nombre;
        bool otraInstancia;
        bool rechazar;
        bool aceptaLineas;
        bool cargado;
        QString texto;
        QString titulo;
    };
    const Caso casos[] = {
        {"opens", false, false, true, true, {}, {}},
        {"device refuses RTS and DTR", false, false, false, true, {}, {}},
        {"second instance", true, false, true, false, QStringLiteral("Programa ya en Ejecución"),
         QStringLiteral("Error de inicio de ejecución")},
        {"port refused", false, true, true, false, QStringLiteral("No se puede abrir el puerto COM3"),
         QStringLiteral("Error critico")},
    };
    for (const Caso& c : casos) {
        FakeSerialPort puerto;
        puerto.rechazarApertura = c.rechazar;
        puerto.aceptaLineas = c.aceptaLineas;
        RecordingSink sink;
        EnlaceImpresora enlace(puerto, sink, LineaEnvio);
        EXPECT_EQ(enlace.Cargar(3, c.otraInstancia), c.cargado) << c.nombre;
        EXPECT_EQ(puerto.isOpen(), c.cargado) << c.nombre;
        if (c.cargado) {
            EXPECT_TRUE(sink.mensajes.isEmpty()) << c.nombre;
            EXPECT_EQ(puerto.numero, 3);
            EXPECT_EQ(puerto.linea.texto(), QStringLiteral("19200,n,8,2"));
            EXPECT_EQ(puerto.dtr, c.aceptaLineas);
            EXPECT_FALSE(enlace.rts());
            EXPECT_EQ(sink.barras, (std::map<int, int>{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
            // The frame still goes out and RTS is followed by the program.
            enlace.SendMsgBinario(Bytes({0x01, 0x55, 0x00}), 3);
            EXPECT_EQ(puerto.escritos.size(), 1);
            EXPECT_TRUE(enlace.rts());
            EXPECT_TRUE(puerto.rtsPedido);
            puerto.drain();
            EXPECT_FALSE(enlace.rts());
            EXPECT_FALSE(puerto.rtsPedido);
        } else {
            ASSERT_EQ(sink.mensajes.size(), 1) << c.nombre;
            EXPECT_EQ(sink.mensajes[0].texto, c.texto);
            EXPECT_EQ(sink.mensajes[0].titulo, c.titulo);
        }
        enlace.CerrarPuerto();
        EXPECT_FALSE(puerto.isOpen());
    }
}

TEST(EnlaceImpresora, SendingRaisesRtsUntilTheQueueDrains) {
    Banco b;
    ASSERT_TRUE(b.cargado);
    b.enlace.BufRX = "resto";
    QByteArray lleno(LargoBufTX, '\x33');
    const uint16_t crc = b.enlace.SendMsgBinario(lleno, LargoBufTX);
    ASSERT_EQ(b.puerto.escritos.size(), 1);
    EXPECT_EQ(b.puerto.escritos[0].size(), 103);
    EXPECT_EQ(crc, Crc16(lleno));
    EXPECT_TRUE(b.enlace.BufRX.isEmpty());
    EXPECT_TRUE(b.enlace.rts());

    // A drained report with bytes still queued leaves RTS on.
    b.puerto.salida = "x";
    emit b.puerto.drained();
    EXPECT_TRUE(b.enlace.rts());
    b.puerto.drain();
    EXPECT_FALSE(b.enlace.rts());

    // ID_send_string writes the first n characters.
    b.enlace.ID_send_string(QByteArrayView("abcdef"), 4);
    EXPECT_EQ(b.puerto.escritos.last(), QByteArray("abcd"));

    // A write the port refuses leaves nothing to wait for.
    b.puerto.drain();
    b.puerto.rechazarEscritura = true;
    b.enlace.SendMsgBinario(Bytes({0x01, 0x55, 0x00}), 3);
    EXPECT_FALSE(b.enlace.rts());
}

TEST(EnlaceImpresora, ARepliesIsWhatArrivedBeforeThePause) {
    Banco b;
    b.puerto.receive(Bytes({0x01, 0x55}));
    EXPECT_EQ(b.sink.intervalo(Reloj::TOut), 2);
    b.puerto.receive(Bytes({0x01, 0x06, 0xAA}));
    EXPECT_TRUE(b.enlace.RespuestaRX.isEmpty());
    b.enlace.tickTOut();
    EXPECT_EQ(b.enlace.RespuestaRX, Bytes({0x01, 0x55, 0x01, 0x06, 0xAA})); // joined
    EXPECT_TRUE(b.enlace.BufRX.isEmpty());
    b.enlace.tickTOut(); // nothing new: the reply stays
    EXPECT_EQ(b.enlace.RespuestaRX.size(), 5);
    b.puerto.receive(Bytes({0x09}));
    b.enlace.tickTOut();
    EXPECT_EQ(b.enlace.RespuestaRX, Bytes({0x09})); // a new reply replaces the old one
}

TEST(EnlaceImpresora, PortErrorEventsReopenThePort) {
    struct Caso {
        int codigo;
        bool reabre;
    };
    const Caso casos[] = {{1001, true}, {1004, true}, {1006, true}, {1008, true}, {1009, true},
                          {1010, true}, {1011, true}, {1, false},   {2, false},   {1002, false}};
    for (const Caso& c : casos) {
        Banco b;
        b.enlace.SendMsgBinario(Bytes({0x01, 0x55, 0x00}), 3);
        const int aperturas = b.puerto.aperturas;
        b.puerto.fail(c.codigo);
        EXPECT_EQ(b.puerto.aperturas - aperturas, c.reabre ? 1 : 0) << c.codigo;
        EXPECT_EQ(b.enlace.rts(), !c.reabre) << c.codigo;
        EXPECT_TRUE(b.puerto.isOpen());
        EXPECT_EQ(EsErrorPuerto(c.codigo), c.reabre);
        EXPECT_TRUE(b.sink.mensajes.isEmpty());
        EXPECT_FALSE(b.enlace.puertoPerdido());
    }
    EXPECT_EQ(DescripcionEventoPuerto(1004), QStringLiteral("Error de transmisión (encuadre)"));
    EXPECT_EQ(DescripcionEventoPuerto(1011), QStringLiteral("Error inesperado al recuperar DCB"));

    Banco b;
    b.puerto.rechazarApertura = true;
    b.puerto.fail(EventoParidad);
    EXPECT_TRUE(b.enlace.puertoPerdido());
    EXPECT_TRUE(b.enlace.ErrorEnvio);
    ASSERT_EQ(b.sink.mensajes.size(), 1);
    EXPECT_EQ(b.sink.mensajes[0].texto, QStringLiteral("Error en el puerto de comunicaciones COM1"));
    EXPECT_EQ(b.sink.mensajes[0].titulo, QStringLiteral("Error critico"));
    EXPECT_EQ(b.sink.cierres, 1);
    b.puerto.fail(EventoParidad); // no second message
    EXPECT_EQ(b.sink.mensajes.size(), 1);
}

TEST(EnlaceImpresora, ProgressBars) {
    Banco b;
    struct Paso {
        int64_t maximo;
        int64_t valor;
        int porcentaje;
    };
    const Paso pasos[] = {
        {200, 50, 25}, {200, 199, 99}, {100, 29, 29},
        {3, 1, 33},    {3, 3, 100},    {10, 11, 100}, // above 100 leaves the bar as it was
        {0, 5, 100},                                  // no maximum: unchanged
    };
    for (const Paso& p : pasos) {
        b.enlace.fijarMaximoBarra(2, p.maximo);
        b.enlace.ActualizarBarra(2, p.valor);
        EXPECT_EQ(b.sink.barras[2], p.porcentaje) << p.maximo << " " << p.valor;
        EXPECT_EQ(b.enlace.barra(2).porcentaje, p.porcentaje);
        EXPECT_EQ(b.enlace.barra(2).valor, p.valor);
    }
    b.enlace.IniciarBarra(2);
    EXPECT_EQ(b.sink.barras[2], 0);
    EXPECT_EQ(b.enlace.barra(2).valor, 0);
}

TEST(EnlaceImpresora, ActivityIndicator) {
    Banco b;
    b.enlace.iniciarIntermitencia();
    EXPECT_EQ(b.sink.intervalo(Reloj::Intermitencia), 500);
    b.enlace.tickIntermitencia();
    EXPECT_TRUE(b.sink.indicadorAzul);
    b.enlace.tickIntermitencia();
    EXPECT_FALSE(b.sink.indicadorAzul);
    b.enlace.tickIntermitencia();
    b.enlace.detenerIntermitencia();
    EXPECT_FALSE(b.sink.indicadorAzul);
    EXPECT_FALSE(b.sink.relojActivo(Reloj::Intermitencia));
}

TEST(EnlaceImpresora, SettingsFromText) {
    struct Caso {
        QString texto;
        std::optional<ConfiguracionLinea> linea;
    };
    const Caso casos[] = {
        {QStringLiteral("19200,n,8,2"), LineaEnvio},
        {QStringLiteral("1200,n,8,2"), LineaFechaHora},
        {QStringLiteral("9600,E,7,1"), ConfiguracionLinea{9600, 'e', 7, 1}},
        {QStringLiteral("9600,x,8,1"), std::nullopt},
        {QStringLiteral("9600,n,9,1"), std::nullopt},
        {QStringLiteral("9600,n,8"), std::nullopt},
        {QStringLiteral("abc,n,8,2"), std::nullopt},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(ConfiguracionLinea::desdeTexto(c.texto), c.linea) << c.texto.toStdString();
    EXPECT_EQ(LineaFechaHora.texto(), QStringLiteral("1200,n,8,2"));
}

TEST(EnlaceImpresora, TickSetting) {
    struct Caso {
        QStringList argumentos;
        QString entorno;
        int ms;
    };
    const Caso casos[] = {
        {{}, {}, 0},
        {{}, QStringLiteral("16"), 16},
        {{QStringLiteral("--tick-ms=8")}, QStringLiteral("16"), 8},
        {{QStringLiteral("--tick-ms=0")}, QStringLiteral("16"), 16},
        {{QStringLiteral("COM3")}, QStringLiteral("abc"), 0},
        {{}, QStringLiteral("5000"), 0},
    };
    for (const Caso& c : casos) {
        const AjustesTick a = AjustesTick::desde(c.argumentos, c.entorno);
        EXPECT_EQ(a.intervaloMs, c.ms) << c.entorno.toStdString();
        EXPECT_EQ(a.intervalo(2), c.ms ? c.ms : 2);
    }
}
