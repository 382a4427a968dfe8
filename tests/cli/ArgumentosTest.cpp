// The command line read in this process: options, lists of ports, the serial ports present,
// every refusal with its message and exit code.
#include "Argumentos.h"
#include "Comandos.h"
#include "ListaPuertos.h"
#include "TablaPuertos.h"

#include "support/Bytes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSerialPortInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quoravex;
using namespace quoravex::cli;

namespace {

// Words separated by "|"; "#" stands for the folder of the sample design.
QStringList palabras(const char* v) {
    QString s = QString::fromUtf8(v).replace(QLatin1Char('#'), QStringLiteral(QUORAVEX_DATOS_PRUEBA));
    return s.isEmpty() ? QStringList() : s.split(QLatin1Char('|'));
}

mode_t Tipo(const char* ruta) {
    struct stat st {};
    return ::stat(ruta, &st) == 0 ? st.st_mode & S_IFMT : 0;
}

} // namespace

TEST(Argumentos, OptionsPositionalsHelpAndErrors) {
    // Expected: the usage error, or "positionals;last value of --dir;every value;help;--sin-texto".
    const std::pair<const char*, const char*> casos[] = {
        {"a.tck|--dir|x", "a.tck;x;x;0;0"},
        {"--dir=x y|a.tck", "a.tck;x y;x y;0;0"},
        {"--dir|x|a.tck|--dir=y|--dir|z", "a.tck;z;x,y,z;0;0"},
        {"a.tck|-h", "a.tck;;;1;0"},
        {"--|--dir", "--dir;;;0;0"},
        {"-", "-;;;0;0"},
        {"--sin-texto|a.tck|--sin-texto", "a.tck;;;0;1"},
        {"--dir|--sin-texto", ";--sin-texto;--sin-texto;0;0"},
        {"a.tck|--dir", "La opción --dir necesita un valor."},
        {"--dir=", "La opción --dir necesita un valor."},
        {"--sin-texto=no", "La opción --sin-texto no lleva valor."},
        {"--out|x", "Opción desconocida: --out"},
    };
    const QString dir = QStringLiteral("--dir"), sinTexto = QStringLiteral("--sin-texto");
    for (const auto& [entrada, esperado] : casos) {
        const Argumentos a = AnalizarArgumentos(palabras(entrada), {dir}, {sinTexto});
        const QString visto =
            !a.error.isEmpty() ? a.error
                               : QStringList{a.posicionales.join(QLatin1Char(',')), a.opcion(dir),
                                             a.valores(dir).join(QLatin1Char(',')), QString::number(a.ayuda),
                                             QString::number(a.bandera(sinTexto))}
                                     .join(QLatin1Char(';'));
        EXPECT_EQ(visto, QString::fromUtf8(esperado)) << entrada;
    }
}

// What --failed-to writes is read back by --ports-from as it was; the ports of --port and of
// the lists each once, also under another name; a destination that is not a regular file
// written in place.
TEST(ListaPuertos, ReadWrittenAndMergedWithCommentsBlanksAndLinks) {
    const std::pair<const char*, const char*> casos[] = {
        {"", ""},
        {"# planta baja\n\n  /dev/ttyUSB0  \n\t\n/dev/ttyUSB1 # caja 2\n#/dev/ttyUSB9\n",
         "/dev/ttyUSB0|/dev/ttyUSB1"},
        {"a\rb\r# c\rd", "a|b|d"},
        {"a\n\rb\r\n\nc", "a|b|c"},
        {"socket://10.0.0.5:7001", "socket://10.0.0.5:7001"},
    };
    QTemporaryDir dir;
    const QString fichero = dir.filePath(QStringLiteral("lista.txt"));
    const QString port = QStringLiteral("--port"), portsFrom = QStringLiteral("--ports-from");
    for (const auto& [texto, esperado] : casos) {
        const QStringList puertos = LeerListaPuertos(QString::fromUtf8(texto));
        EXPECT_EQ(puertos.join(QLatin1Char('|')), QString::fromUtf8(esperado)) << texto;
        ASSERT_EQ(GuardarListaPuertos(fichero, puertos), QString());
        const PuertosPedidos leidos =
            PuertosDeArgumentos(AnalizarArgumentos({portsFrom, fichero}, {portsFrom}));
        const QString vacia = QStringLiteral("La lista de puertos %1 no tiene ningún puerto.").arg(fichero);
        EXPECT_EQ(std::pair(leidos.puertos, leidos.error),
                  std::pair(puertos, puertos.isEmpty() ? vacia : QString()))
            << texto;
    }
    ASSERT_EQ(GuardarListaPuertos(fichero, {QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")}),
              QString());
    const QString enlace = dir.filePath(QStringLiteral("impresora"));
    ASSERT_TRUE(QFile::link(fichero, enlace));
    const PuertosPedidos pedidos =
        PuertosDeArgumentos(AnalizarArgumentos({port, QStringLiteral("a"), portsFrom, fichero, port,
                                                QStringLiteral("d"), port, fichero, port, enlace},
                                               {port, portsFrom}));
    EXPECT_EQ(pedidos.puertos, (QStringList{QStringLiteral("a"), QStringLiteral("d"), fichero,
                                            QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_EQ(pedidos.avisos,
              QStringList{QStringLiteral("Aviso: %1 es el mismo dispositivo que %2; se atiende una sola vez.")
                              .arg(enlace, fichero)});

    // A fifo stays a fifo, a link stays a link, /dev/full says the write failed (checked
    // before writing there, which a write replacing its destination would make a regular file).
    const QByteArray fifo = dir.filePath(QStringLiteral("tubo")).toLocal8Bit();
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    const int lector = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(lector, 0);
    EXPECT_EQ(GuardarListaPuertos(QString::fromLocal8Bit(fifo), {QStringLiteral("p1")}), QString());
    char leido[16] = {};
    const ssize_t n = ::read(lector, leido, sizeof leido);
    ::close(lector);
    EXPECT_EQ(GuardarListaPuertos(enlace, {QStringLiteral("p2")}), QString());
    ASSERT_EQ(std::tuple(QByteArray(leido, std::max<ssize_t>(n, 0)), Tipo(fifo.constData()),
                         QFileInfo(enlace).isSymLink(), pruebas::Leer(fichero)),
              std::tuple(QByteArray("p1\n"), mode_t(S_IFIFO), true, QByteArray("p2\n")));
    const QString sinCarpeta = dir.filePath(QStringLiteral("no/such/folder/x"));
    EXPECT_EQ(std::tuple(GuardarListaPuertos(QStringLiteral("/dev/full"), {QStringLiteral("p3")}),
                         GuardarListaPuertos(sinCarpeta, {}), Tipo("/dev/full")),
              std::tuple(QStringLiteral("No se puede escribir la lista de puertos /dev/full."),
                         QStringLiteral("No se puede escribir la lista de puertos %1.")
                             .arg(QDir::toNativeSeparators(sinCarpeta)),
                         mode_t(S_IFCHR)));
}

TEST(EjecutarCli, HelpUsageErrorsAndDispatch) {
    auto ejecutar = [](const QStringList& v) {
        QString out, err;
        QTextStream so(&out), se(&err);
        Consola c{so, se};
        const int codigo = EjecutarCli(v, c);
        so.flush();
        se.flush();
        return std::tuple(codigo, out, err);
    };
    for (const Comando& c : Comandos()) {
        const auto [codigo, out, err] = ejecutar({c.nombre, QStringLiteral("--help")});
        EXPECT_EQ(std::tuple(codigo, out.startsWith(QStringLiteral("Uso: quoravex-cli ") + c.nombre), err,
                             AyudaGeneral().contains(c.nombre)),
                  std::tuple(SalidaCorrecta, true, QString(), true))
            << out.toStdString();
    }
    EXPECT_EQ(ejecutar({QStringLiteral("--help")}), std::tuple(SalidaCorrecta, AyudaGeneral(), QString()));

    // The serial ports this machine has (none in CI): the ones Qt Serial Port sees.
    QSet<QString> presentes, vistos;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        presentes << info.systemLocation();
    const auto [codigoJson, json, errJson] = ejecutar({QStringLiteral("puertos"), QStringLiteral("--json")});
    for (const QJsonValue& v : QJsonDocument::fromJson(json.toUtf8()).array())
        vistos << v.toObject().value(QStringLiteral("dispositivo")).toString();
    const auto [codigoTabla, tabla, errTabla] = ejecutar({QStringLiteral("puertos")});
    EXPECT_EQ(std::tuple(codigoJson, vistos, codigoTabla, tabla.count(QLatin1Char('\n'))),
              std::tuple(SalidaCorrecta, presentes, SalidaCorrecta, presentes.size() + 1))
        << json.toStdString() << tabla.toStdString() << errJson.toStdString();
    if (presentes.isEmpty()) EXPECT_EQ(tabla, QStringLiteral("No se ha detectado ningún puerto serie.\n"));
    // The table's layout, on a list of its own: aligned columns, "-" for what is not known.
    const QList<PuertoDetectado> falsos = {{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("ttyUSB0"),
                                            QStringLiteral("FT232R USB UART"), QStringLiteral("FTDI"),
                                            QStringLiteral("A1"), QStringLiteral("0403:6001"),
                                            QStringLiteral("/dev/serial/by-id/u")},
                                           {QStringLiteral("/dev/ttyS0"), QStringLiteral("ttyS0")}};
    EXPECT_EQ(TablaPuertos(falsos).toStdString(),
              "Dispositivo   Nombre estable       Descripción      Fabricante  N.º de serie  USB\n"
              "/dev/ttyUSB0  /dev/serial/by-id/u  FT232R USB UART  FTDI        A1            0403:6001\n"
              "/dev/ttyS0    -                    -                -           -             -\n");

    const std::tuple<const char*, int, const char*> casos[] = {
        // words ("#": the sample's folder), exit code, start of standard error
        {"", SalidaUso, "Uso: quoravex-cli"},
        {"enviar", SalidaUso, "Orden desconocida: enviar"},
        {"send|a.tck", SalidaUso, "Falta --port DISPOSITIVO o --ports-from FICHERO."},
        {"send|a.tck|b.tck|--port|x", SalidaUso, "Indique un solo fichero de diseño."},
        {"send|a.tck|--port|x|--parallel|0", SalidaUso,
         "--parallel necesita un número entero mayor que 0: 0"},
        {"clock|--port=x|--parallel=dos", SalidaUso, "--parallel necesita un número entero mayor que 0: dos"},
        {"send|a.tck|--ports-from|/no/such/list", SalidaFallo,
         "No se puede leer la lista de puertos /no/such/list."},
        {"clock|x", SalidaUso, "Uso: quoravex-cli clock"},
        {"clock|--ports-from|/dev/null", SalidaFallo,
         "La lista de puertos /dev/null no tiene ningún puerto."},
        {"clock|--port|x|--tick-ms|abc", SalidaUso, "--tick-ms necesita un número entero de 1 a 1000: abc"},
        {"send|a.tck|--port|x|--tick-ms=0", SalidaUso, "--tick-ms necesita un número entero de 1 a 1000: 0"},
        {"clock|--port|x|--tick-ms|1001", SalidaUso, "--tick-ms necesita un número entero de 1 a 1000: 1001"},
        {"puertos|x", SalidaUso, "Sobra el argumento: x"},
        {"generate", SalidaUso, "Falta el fichero de diseño."},
        {"generate|a.tck|b.tck", SalidaUso, "Sobra el argumento: b.tck"},
        {"generate|a.tck|--out|x", SalidaUso, "Opción desconocida: --out"},
        {"info", SalidaUso, "Falta el fichero de diseño."},
        {"preview|a.tck", SalidaUso, "Falta la opción --out"},
        {"generate|#/muestra.tck|--dir|#/muestra.bmp", SalidaFallo,
         "No se puede crear la carpeta " QUORAVEX_DATOS_PRUEBA},
        {"info|/no/such/design.tck", SalidaFallo, "No existe el fichero:\n/no/such/design.tck"},
        {"preview|/no/such/design.tck|--out|x", SalidaFallo, "No existe el fichero:"},
        {"codigo|--datos|x", SalidaUso, "Falta la opción --tipo"},
        {"codigo|--tipo|aztec|--datos|x", SalidaUso, "Tipo de código desconocido: aztec"},
        {"codigo|--tipo|qr", SalidaUso, "Falta la opción --datos"},
        {"codigo|--tipo|ean13|--datos|1|--nivel|H", SalidaUso,
         "--nivel y --version solo valen para códigos QR."},
        {"codigo|--tipo|QR|--datos|x|--sin-texto", SalidaUso,
         "--sin-texto solo vale para code128, ean13 y code39."},
        {"codigo|--tipo|qr|--datos|x|--nivel|Z", SalidaUso, "--nivel debe ser L, M, Q o H: Z"},
        {"codigo|--tipo|qr|--datos|x|--modulo|dos", SalidaUso, "--modulo necesita un número entero: dos"},
        {"codigo|--tipo|qr|--datos=x|--modulo|13", SalidaFallo, "El módulo debe medir entre 1 y 12 puntos"},
    };
    for (const auto& [entrada, codigo, mensaje] : casos) {
        const auto [visto, out, err] = ejecutar(palabras(entrada));
        EXPECT_EQ(std::tuple(visto, err.startsWith(QString::fromUtf8(mensaje)), out),
                  std::tuple(codigo, true, QString()))
            << entrada << ": " << err.toStdString();
    }
}

// A fleet's table read from its CSV file, and which --ports-from files are tables.
TEST(TablaFlota, PortsValuesAndRefusalsByTable) {
    // A fleet's table: a column "puerto", each port once, at least one printer.
    const struct {
        const char* csv;
        const char* resultado; // "port:field=value,..." per row, or the error
    } flotas[] = {
        {"Puerto;sucursal;tel\n/dev/a;Centro;\n/dev/b;Norte;92\n",
         "/dev/a:sucursal=Centro,tel= /dev/b:sucursal=Norte,tel=92"},
        {"sucursal,tel\nCentro,91\n", "línea 1: la cabecera no tiene la columna \"puerto\""},
        {"puerto,sucursal\n", "línea 2: la tabla no tiene ninguna impresora"},
        {"puerto,sucursal\n/dev/a,x\n,y\n", "línea 3: falta el puerto"},
        {"puerto,sucursal\n/dev/a,x\n\n/dev/a,y\n", "línea 4: el puerto /dev/a ya está en la línea 2"},
        {"puerto,a\n/dev/a,1,2\n", "línea 2: la fila tiene 3 campos y la cabecera 2"},
    };
    for (const auto& f : flotas) {
        const TablaFlota t = LeerTablaFlota(QByteArray(f.csv));
        QStringList impresoras;
        for (qsizetype i = 0; i < t.puertos.size(); ++i) {
            QStringList valores;
            for (auto v = t.valores.at(i).begin(); v != t.valores.at(i).end(); ++v)
                valores << v.key() + QLatin1Char('=') + v.value();
            impresoras << t.puertos.at(i) + QLatin1Char(':') + valores.join(QLatin1Char(','));
        }
        EXPECT_EQ((t.error.isEmpty() ? impresoras.join(QLatin1Char(' ')) : t.error).toStdString(),
                  f.resultado)
            << f.csv;
    }
    // Which --ports-from files are tables.
    EXPECT_TRUE(EsTablaFlota(QStringLiteral("oficinas.CSV"), "/dev/a\n"));
    EXPECT_TRUE(EsTablaFlota(QStringLiteral("lista"), "  PUERTO;a\n"));
    EXPECT_TRUE(EsTablaFlota(QStringLiteral("lista"), "\xEF\xBB\xBFpuerto\n"));
    EXPECT_FALSE(EsTablaFlota(QStringLiteral("lista.txt"), "# puertos\n/dev/ttyUSB0\n"));
    EXPECT_FALSE(EsTablaFlota(QStringLiteral("lista.txt"), "puertos-planta\n"));
}
