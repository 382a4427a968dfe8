#include "document/Configuracion.h"
#include "document/Numeros.h"
#include "support/Bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quoravex;

TEST(Numeros, ReadsTheLeadingNumber) {
    const struct {
        const char* texto;
        double valor;
    } casos[] = {
        {"300", 300}, {"12abc", 12}, {"2.5", 2.5},     {"", 0},       {"abc", 0},   {"   7", 7},
        {"-4", -4},   {"+3x", 3},    {".5", 0.5},      {"1e3", 1000}, {"1e", 1},    {"1.2.3", 1.2},
        {"3 4", 3},   {"\t5", 0},    {"70000", 70000}, {"-", 0},      {"1e999", 0}, {"0x10", 0},
    };
    for (const auto& c : casos)
        EXPECT_DOUBLE_EQ(LeerNumero(QString::fromLatin1(c.texto)), c.valor) << c.texto;
}

TEST(Numeros, RoundsHalfToEvenAndRefusesWhatDoesNotFit) {
    const std::pair<double, int> casos[] = {{2.5, 2},     {3.5, 4},    {-0.5, 0},
                                            {144.5, 144}, {2.4999, 2}, {-2.5, -2}};
    for (auto [v, r] : casos)
        EXPECT_EQ(RedondeoPar(v), r) << v;
    EXPECT_EQ(EnteroDe16(32767), 32767);
    EXPECT_EQ(EnteroDe16(32767.5), std::nullopt); // rounds to 32768
    EXPECT_EQ(EnteroDe16(-32768), -32768);
    EXPECT_EQ(EnteroDe16(70000), std::nullopt);
    EXPECT_EQ(RedondeoPar(1e300), std::nullopt);
}

TEST(Configuracion, LineRules) {
    const struct {
        const char* linea;
        int puerto;
        int modelo;
        int tick = 0;
        int com = 0;
        const char* dispositivo = nullptr;
        int autoguardado = 60;
    } casos[] = {
        {"Comunication Port = COM 7", 7, 1},
        {"xx Comunication Port: COM2.5", 2, 1},            // halves to even
        {"Comunication Port=COMabc", 0, 1},                // not a number reads as 0
        {"Comunication Port=COM12", 12, 1},                // out of 1..9: stored as it is
        {"Comunication Port=COM", 1, 1},                   // nothing after COM: ignored
        {"Comunication Port=com3", 1, 1},                  // no upper-case COM: ignored
        {"comunication port Keyboard Model=2", 1, 2},      // lower-case key: only a model line
        {"Comunication Port=COM5 Keyboard Model=3", 5, 1}, // only a port line
        {"Keyboard Model = 3", 1, 3},
        {"Keyboard Model=4", 1, 1},
        {"Keyboard Model 2", 1, 1}, // no "=": ignored
        {"Keyboard Model=2.5", 1, 2},
        {"keyboard model=2", 1, 1},
        {"Tick ms=20", 1, 1, 20},
        {"Tick ms = 1000", 1, 1, 1000},
        {"Tick ms=0", 1, 1, 0}, // outside 1..1000: ignored
        {"Tick ms=5000", 1, 1, 0},
        {"tick ms=20", 1, 1, 0},
        {"Device COM3 = rfc2217://10.0.0.5:2001", 1, 1, 0, 3, "rfc2217://10.0.0.5:2001"},
        {"Device COM9=/dev/ttyUSB1", 1, 1, 0, 9, "/dev/ttyUSB1"},
        {"Device COM0 = /dev/ttyUSB1", 1, 1, 0}, // only COM1..COM9
        {"Device COM2 =", 1, 1, 0},
        {"Autoguardado s=30", 1, 1, 0, 0, nullptr, 30},
        {"Autoguardado s = 0", 1, 1, 0, 0, nullptr, 0}, // no copies
        {"Autoguardado s=3600", 1, 1, 0, 0, nullptr, 3600},
        {"Autoguardado s=3601", 1, 1, 0, 0, nullptr, 60}, // outside 0..3600: ignored
        {"Autoguardado s=-5", 1, 1, 0, 0, nullptr, 60},
    };
    for (const auto& c : casos) {
        Configuracion cfg;
        LeerLineaConfiguracion(QString::fromLatin1(c.linea), cfg);
        EXPECT_EQ(cfg.PuertoCom, c.puerto) << c.linea;
        EXPECT_EQ(cfg.ModeloTeclado, c.modelo) << c.linea;
        EXPECT_EQ(cfg.TickMs, c.tick) << c.linea;
        EXPECT_EQ(cfg.AutoguardadoS, c.autoguardado) << c.linea;
        // The environment wins over the file with a valid value only.
        for (const char* entorno : {"", "x", "4000"}) {
            Configuracion copia = cfg;
            LeerEntornoAutoguardado(QString::fromLatin1(entorno), copia);
            EXPECT_EQ(copia.AutoguardadoS, c.autoguardado) << c.linea << " / " << entorno;
        }
        LeerEntornoAutoguardado(QStringLiteral(" 7 "), cfg);
        EXPECT_EQ(cfg.AutoguardadoS, 7) << c.linea;
        EXPECT_EQ(cfg.Dispositivos.size(), c.dispositivo ? 1 : 0) << c.linea;
        if (c.dispositivo)
            EXPECT_EQ(cfg.Dispositivos.value(c.com), QString::fromLatin1(c.dispositivo)) << c.linea;
    }
}

TEST(Configuracion, FileLastLineWinsAndGarbageIsHarmless) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ruta = dir.filePath(QStringLiteral("Morvane.cfg"));
    QByteArray contenido("Comunication Port=COM2\r\nKeyboard Model=3\r\n");
    contenido += QByteArray(100000, 'x') + "Comunication Port=COM8\n"; // one very long line: dropped
    contenido += QByteArray("\x00\xff\xfe\x80 Keyboard Model=2\n", 22);
    contenido += "Comunication Port=COM6"; // last line without a newline
    ASSERT_TRUE(pruebas::Escribir(ruta, contenido));

    Configuracion cfg;
    LeerArchivoConfiguracion(ruta, cfg);
    EXPECT_EQ(cfg.PuertoCom, 6);
    EXPECT_EQ(cfg.ModeloTeclado, 2);

    Configuracion sinArchivo;
    LeerArchivoConfiguracion(dir.filePath(QStringLiteral("no-existe.cfg")), sinArchivo);
    EXPECT_EQ(sinArchivo.PuertoCom, 1);
    EXPECT_EQ(sinArchivo.ModeloTeclado, 1);
}

TEST(Configuracion, CommandLine) {
    const struct {
        const char* linea;
        int puerto;
    } casos[] = {
        {"COM4", 4}, {"", 5},     {"COM", 5},  {"-x COM 2", 2},
        {"COMx", 0}, {"com4", 5}, {"ABCD", 5}, {"COM4COM6", 4},
    };
    for (const auto& c : casos) {
        Configuracion cfg;
        cfg.PuertoCom = 5; // as the configuration file left it
        LeerLineaComandos(QString::fromLatin1(c.linea), cfg);
        EXPECT_EQ(cfg.PuertoCom, c.puerto) << c.linea;
    }
    EXPECT_EQ(UnirArgumentos({QStringLiteral("COM"), QStringLiteral("3")}), QStringLiteral("COM 3"));

    // A design file among the arguments is taken out of the command line.
    const struct {
        QStringList argumentos;
        QString linea, archivo;
    } argumentos[] = {
        {{QStringLiteral("COM4")}, QStringLiteral("COM4"), {}},
        {{QStringLiteral("COM4"), QStringLiteral("sucursal.tck")},
         QStringLiteral("COM4"),
         QStringLiteral("sucursal.tck")},
        {{QStringLiteral("/datos/COMPRAS/caja.TCK")}, {}, QStringLiteral("/datos/COMPRAS/caja.TCK")},
        {{QStringLiteral("a.tck"), QStringLiteral("--tick-ms=5"), QStringLiteral("b.tck")},
         QStringLiteral("--tick-ms=5"),
         QStringLiteral("b.tck")},
    };
    for (const auto& c : argumentos) {
        const ArgumentosPrograma a = LeerArgumentos(c.argumentos);
        EXPECT_EQ(a.lineaComandos, c.linea) << c.argumentos.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(a.archivoDiseno, c.archivo);
    }
    // The working folder, named or the user's own; never read as a port.
    const ArgumentosPrograma carpeta = LeerArgumentos(
        {QStringLiteral("--carpeta-trabajo"), QStringLiteral("/srv/COM9"), QStringLiteral("COM2")});
    EXPECT_EQ(std::tuple(carpeta.carpetaTrabajo, carpeta.lineaComandos, carpeta.carpetaUsuario),
              std::tuple(QStringLiteral("/srv/COM9"), QStringLiteral("COM2"), false));
    EXPECT_EQ(LeerArgumentos({QStringLiteral("--carpeta-trabajo=/tmp/x")}).carpetaTrabajo,
              QStringLiteral("/tmp/x"));
    EXPECT_TRUE(
        LeerArgumentos({QStringLiteral("--carpeta-usuario"), QStringLiteral("a.tck")}).carpetaUsuario);
}
