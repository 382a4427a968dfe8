#include "document/Configuracion.h"
#include "document/Numeros.h"
#include "support/Bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quoravex;

TEST(Numeros, ReadsTheLeadingNumberAndRoundsHalfToEven) {
    const std::pair<const char*, double> leidos[] = {
        {"300", 300}, {"12abc", 12}, {"2.5", 2.5},     {"", 0},       {"abc", 0},   {"   7", 7},
        {"-4", -4},   {"+3x", 3},    {".5", 0.5},      {"1e3", 1000}, {"1e", 1},    {"1.2.3", 1.2},
        {"3 4", 3},   {"\t5", 0},    {"70000", 70000}, {"-", 0},      {"1e999", 0}, {"0x10", 0},
    };
    for (const auto& [texto, valor] : leidos)
        EXPECT_DOUBLE_EQ(LeerNumero(QString::fromLatin1(texto)), valor) << texto;
    const std::pair<double, std::optional<int>> redondeos[] = {
        {2.5, 2}, {3.5, 4}, {-0.5, 0}, {144.5, 144}, {2.4999, 2}, {-2.5, -2}, {1e300, std::nullopt}};
    for (auto [v, r] : redondeos)
        EXPECT_EQ(RedondeoPar(v), r) << v;
    // A 16-bit value: 32767.5 rounds to 32768, which does not fit.
    const std::pair<double, std::optional<int16_t>> enteros[] = {
        {32767, 32767}, {32767.5, std::nullopt}, {-32768, -32768}, {70000, std::nullopt}};
    for (auto [v, r] : enteros)
        EXPECT_EQ(EnteroDe16(v), r) << v;
}

// A port is the number after the first upper-case "COM" of a "Comunication
// Port" line, halves to even, 0 when not a number, ignored when missing; a
// model 1..3 or a tick of 1..1000 ms follows the
// "=" of its line; a device names COM1..COM9. Keys are case-sensitive, and a
// line is of one key only.
TEST(Configuracion, LineRules) {
    const struct {
        const char* linea;
        int puerto, modelo, tick = 0, com = 0;
        const char* dispositivo = nullptr;
        int autoguardado = 60;
    } casos[] = {
        // clang-format off
        {"Comunication Port = COM 7", 7, 1},     {"xx Comunication Port: COM2.5", 2, 1},
        {"Comunication Port=COMabc", 0, 1},      {"Comunication Port=COM12", 12, 1},
        {"Comunication Port=COM", 1, 1},         {"Comunication Port=com3", 1, 1},
        {"comunication port Keyboard Model=2", 1, 2}, {"Comunication Port=COM5 Keyboard Model=3", 5, 1},
        {"Keyboard Model = 3", 1, 3}, {"Keyboard Model=4", 1, 1}, {"Keyboard Model 2", 1, 1},
        {"Keyboard Model=2.5", 1, 2}, {"keyboard model=2", 1, 1},
        {"Tick ms=20", 1, 1, 20}, {"Tick ms = 1000", 1, 1, 1000}, {"Tick ms=0", 1, 1}, {"Tick ms=5000", 1, 1},
        {"tick ms=20", 1, 1},
        {"Device COM3 = rfc2217://10.0.0.5:2001", 1, 1, 0, 3, "rfc2217://10.0.0.5:2001"},
        {"Device COM9=/dev/ttyUSB1", 1, 1, 0, 9, "/dev/ttyUSB1"},
        {"Device COM0 = /dev/ttyUSB1", 1, 1},    {"Device COM2 =", 1, 1},
        {"Autoguardado s=30", 1, 1, 0, 0, nullptr, 30}, {"Autoguardado s = 0", 1, 1, 0, 0, nullptr, 0},
        {"Autoguardado s=3600", 1, 1, 0, 0, nullptr, 3600},
        {"Autoguardado s=3601", 1, 1, 0, 0, nullptr, 60}, // outside 0..3600: ignored
        {"Autoguardado s=-5", 1, 1, 0, 0, nullptr, 60},
        // clang-format on
    };
    for (const auto& c : casos) {
        Configuracion cfg;
        LeerLineaConfiguracion(QString::fromLatin1(c.linea), cfg);
        QMap<int, QString> dispositivos;
        if (c.dispositivo) dispositivos.insert(c.com, QString::fromLatin1(c.dispositivo));
        EXPECT_EQ(std::tuple(int(cfg.PuertoCom), int(cfg.ModeloTeclado), int(cfg.TickMs), cfg.Dispositivos,
                             cfg.AutoguardadoS),
                  std::tuple(c.puerto, c.modelo, c.tick, dispositivos, c.autoguardado))
            << c.linea;
    }
    // The environment wins over the file with a valid value only.
    for (const auto& [entorno, segundos] : {std::pair{"", 30}, {"x", 30}, {"4000", 30}, {" 7 ", 7}}) {
        Configuracion cfg;
        cfg.AutoguardadoS = 30;
        LeerEntornoAutoguardado(QString::fromLatin1(entorno), cfg);
        EXPECT_EQ(cfg.AutoguardadoS, segundos) << entorno;
    }
}

TEST(Configuracion, FileLastLineWinsAndGarbageIsHarmless) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("Morvane.cfg"));
    QByteArray contenido("Comunication Port=COM2\r\nKeyboard Model=3\r\n");
    contenido += QByteArray(100000, 'x') + "Comunication Port=COM8\n"; // one very long line: dropped
    contenido += QByteArray("\x00\xff\xfe\x80 Keyboard Model=2\n", 22);
    contenido += "Comunication Port=COM6"; // last line without a newline
    ASSERT_TRUE(pruebas::Escribir(ruta, contenido));
    Configuracion cfg, sinArchivo;
    LeerArchivoConfiguracion(ruta, cfg);
    LeerArchivoConfiguracion(dir.filePath(QStringLiteral("no-existe.cfg")), sinArchivo);
    EXPECT_EQ(std::tuple(cfg.PuertoCom, cfg.ModeloTeclado, sinArchivo.PuertoCom, sinArchivo.ModeloTeclado),
              std::tuple(6, 2, 1, 1));
}

TEST(Configuracion, CommandLine) {
    const std::pair<const char*, int> puertos[] = {{"COM4", 4}, {"", 5},     {"COM", 5},  {"-x COM 2", 2},
                                                   {"COMx", 0}, {"com4", 5}, {"ABCD", 5}, {"COM4COM6", 4}};
    for (const auto& [linea, puerto] : puertos) {
        Configuracion cfg;
        cfg.PuertoCom = 5; // as the configuration file left it
        LeerLineaComandos(QString::fromLatin1(linea), cfg);
        EXPECT_EQ(cfg.PuertoCom, puerto) << linea;
    }
    // A design file among the arguments is taken out of the command line, and so
    // is the working folder, named or the user's own; neither is read as a port.
    const struct {
        const char *argumentos, *linea, *archivo, *carpeta;
        bool usuario = false;
    } argumentos[] = {
        // clang-format off
        {"COM 3", "COM 3", "", ""}, {"COM4 sucursal.tck", "COM4", "sucursal.tck", ""},
        {"/datos/COMPRAS/caja.TCK", "", "/datos/COMPRAS/caja.TCK", ""},
        {"a.tck --tick-ms=5 b.tck", "--tick-ms=5", "b.tck", ""},
        {"--carpeta-trabajo /srv/COM9 COM2", "COM2", "", "/srv/COM9"},
        {"--carpeta-trabajo=/tmp/x", "", "", "/tmp/x"}, {"--carpeta-usuario a.tck", "", "a.tck", "", true},
        // clang-format on
    };
    for (const auto& c : argumentos) {
        const ArgumentosPrograma a =
            LeerArgumentos(QString::fromLatin1(c.argumentos).split(QLatin1Char(' ')));
        EXPECT_EQ(std::tuple(a.lineaComandos, a.archivoDiseno, a.carpetaTrabajo, a.carpetaUsuario),
                  std::tuple(QString::fromLatin1(c.linea), QString::fromLatin1(c.archivo),
                             QString::fromLatin1(c.carpeta), c.usuario))
            << c.argumentos;
    }
}
