#include "Argumentos.h"
#include "Comandos.h"
#include "InfoDiseno.h"

#include "document/RecordCodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::cli;

namespace {

QStringList palabras(std::initializer_list<const char*> v) {
    QStringList l;
    for (const char* p : v)
        l << QString::fromUtf8(p);
    return l;
}

struct Ejecucion {
    int codigo;
    QString out;
    QString err;
};

Ejecucion ejecutar(std::initializer_list<const char*> v) {
    Ejecucion e{};
    QTextStream out(&e.out), err(&e.err);
    Consola c{out, err};
    e.codigo = EjecutarCli(palabras(v), c);
    out.flush();
    err.flush();
    return e;
}

} // namespace

TEST(Argumentos, OptionsPositionalsHelpAndErrors) {
    const QStringList dir = {QStringLiteral("--dir")};
    struct Caso {
        std::initializer_list<const char*> entrada;
        QStringList posicionales;
        QString valorDir; // of --dir
        bool ayuda;
        QString error;
    };
    const Caso casos[] = {
        {{"a.tck"}, {QStringLiteral("a.tck")}, {}, false, {}},
        {{"a.tck", "--dir", "x"}, {QStringLiteral("a.tck")}, QStringLiteral("x"), false, {}},
        {{"--dir=x y", "a.tck"}, {QStringLiteral("a.tck")}, QStringLiteral("x y"), false, {}},
        {{"a.tck", "-h"}, {QStringLiteral("a.tck")}, {}, true, {}},
        {{"--help"}, {}, {}, true, {}},
        {{"--", "--dir"}, {QStringLiteral("--dir")}, {}, false, {}},
        {{"-"}, {QStringLiteral("-")}, {}, false, {}},
        {{"a.tck", "--dir"},
         {QStringLiteral("a.tck")},
         {},
         false,
         QStringLiteral("La opción --dir necesita un valor.")},
        {{"--dir="}, {}, {}, false, QStringLiteral("La opción --dir necesita un valor.")},
        {{"--out", "x"}, {}, {}, false, QStringLiteral("Opción desconocida: --out")},
    };
    for (const Caso& c : casos) {
        const Argumentos a = AnalizarArgumentos(palabras(c.entrada), dir);
        const QString nombre = palabras(c.entrada).join(QLatin1Char(' '));
        EXPECT_EQ(a.error, c.error) << nombre.toStdString();
        if (!c.error.isEmpty()) continue;
        EXPECT_EQ(a.posicionales, c.posicionales) << nombre.toStdString();
        EXPECT_EQ(a.opcion(QStringLiteral("--dir")), c.valorDir) << nombre.toStdString();
        EXPECT_EQ(a.ayuda, c.ayuda) << nombre.toStdString();
    }
}

TEST(EjecutarCli, HelpUsageErrorsAndDispatch) {
    for (const Comando& c : Comandos()) {
        const QByteArray nombre = c.nombre.toUtf8();
        const Ejecucion e = ejecutar({nombre.constData(), "--help"});
        EXPECT_EQ(e.codigo, SalidaCorrecta) << nombre.constData();
        EXPECT_TRUE(e.out.startsWith(QStringLiteral("Uso: quoravex-cli ") + c.nombre)) << e.out.toStdString();
        EXPECT_TRUE(e.err.isEmpty());
        EXPECT_TRUE(AyudaGeneral().contains(c.nombre));
    }
    const Ejecucion ayuda = ejecutar({"--help"});
    EXPECT_EQ(ayuda.codigo, SalidaCorrecta);
    EXPECT_EQ(ayuda.out, AyudaGeneral());

    struct Caso {
        std::initializer_list<const char*> entrada;
        int codigo;
        const char* mensaje; // start of standard error
    };
    const Caso casos[] = {
        {{}, SalidaUso, "Uso: quoravex-cli"},
        {{"send"}, SalidaUso, "Orden desconocida: send"},
        {{"generate"}, SalidaUso, "Falta el fichero de diseño."},
        {{"generate", "a.tck", "b.tck"}, SalidaUso, "Sobra el argumento: b.tck"},
        {{"generate", "a.tck", "--out", "x"}, SalidaUso, "Opción desconocida: --out"},
        {{"info"}, SalidaUso, "Falta el fichero de diseño."},
        {{"preview", "a.tck"}, SalidaUso, "Falta la opción --out"},
        {{"generate", "/no/such/design.tck", "--dir", "/tmp"}, SalidaFallo, "No existe el fichero:"},
        {{"info", "/no/such/design.tck"}, SalidaFallo, "No existe el fichero:"},
    };
    for (const Caso& c : casos) {
        const Ejecucion e = ejecutar(c.entrada);
        EXPECT_EQ(e.codigo, c.codigo) << c.mensaje;
        EXPECT_TRUE(e.err.startsWith(QString::fromUtf8(c.mensaje))) << e.err.toStdString();
        EXPECT_TRUE(e.out.isEmpty()) << e.out.toStdString();
    }
}

TEST(NombreVistaPrevia, CommonPartAndTwoDigitPushButtons) {
    EXPECT_EQ(NombreVistaPrevia(0), QStringLiteral("ticket-comun.png"));
    EXPECT_EQ(NombreVistaPrevia(1), QStringLiteral("ticket-pulsador-01.png"));
    EXPECT_EQ(NombreVistaPrevia(16), QStringLiteral("ticket-pulsador-16.png"));
}

TEST(InfoDisenoJson, EveryRecordInOrderWithTrimmedTextsAndWhatIsLeftOver) {
    CabeceraArchivo cabecera;
    cabecera.Longitud = 321;
    cabecera.NumPulsadores = 2;
    ObjetoTicket o;
    o.EnUso = Verdadero;
    o.Tipo = TipoTextoFijo;
    o.Texto = QStringLiteral("  \"Año\"\\");
    o.Pulsadores = 0x1FFFF;
    o.Left = -7;
    QByteArray datos;
    for (const Registro& r : {CodificarCabecera(cabecera), Registro{}, CodificarRegistro(o)})
        datos.append(reinterpret_cast<const char*>(r.data()), r.size());
    datos.append("xyz");

    const QByteArray json = InfoDisenoJson(datos, QStringLiteral("/a/b.tck"), datos.size());
    QJsonParseError error;
    const QJsonObject raiz = QJsonDocument::fromJson(json, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.constData();
    EXPECT_EQ(raiz[QStringLiteral("fichero")].toString(), QStringLiteral("/a/b.tck"));
    EXPECT_EQ(raiz[QStringLiteral("longitud")].toInt(), 3 * 452 + 3);
    EXPECT_EQ(raiz[QStringLiteral("bytesSobrantes")].toInt(), 3);
    EXPECT_EQ(raiz[QStringLiteral("registrosOmitidos")].toInt(), 0);
    const QJsonObject cab = raiz[QStringLiteral("cabecera")].toObject();
    EXPECT_EQ(cab[QStringLiteral("Version")].toInt(), 1);
    EXPECT_EQ(cab[QStringLiteral("Marcador")].toInt(), 4);
    EXPECT_EQ(cab[QStringLiteral("Longitud")].toInt(), 321);
    EXPECT_EQ(cab[QStringLiteral("NumPulsadores")].toInt(), 2);
    const QJsonArray registros = raiz[QStringLiteral("registros")].toArray();
    ASSERT_EQ(registros.size(), 2);
    EXPECT_EQ(registros[0].toObject()[QStringLiteral("posicion")].toInt(), 1);
    EXPECT_EQ(registros[0].toObject()[QStringLiteral("EnUso")].toInt(), 0);
    const QJsonObject r = registros[1].toObject();
    EXPECT_EQ(r[QStringLiteral("posicion")].toInt(), 2);
    EXPECT_EQ(r[QStringLiteral("EnUso")].toInt(), -1);
    EXPECT_EQ(r[QStringLiteral("Texto")].toString(), QStringLiteral("\"Año\"\\"));
    EXPECT_EQ(r[QStringLiteral("Left")].toInt(), -7);
    EXPECT_EQ(r[QStringLiteral("Pulsadores")].toInt(), 0x1FFFF);
    EXPECT_EQ(r.size(), 33) << "posicion and the 32 fields of the record";
    // Fields come in record order.
    EXPECT_LT(json.indexOf("\"EnUso\""), json.indexOf("\"Pendiente\""));
    EXPECT_LT(json.indexOf("\"Grosor\""), json.indexOf("\"Version\""));
    EXPECT_LT(json.indexOf("\"NumPulsadores\""), json.indexOf("\"Pulsadores\""));

    // Records beyond the limit are counted, not shown.
    const QByteArray soloCabecera = datos.left(452);
    const qint64 largo = qint64(RegistrosMaximosInfo + 6) * 452;
    const QJsonObject grande =
        QJsonDocument::fromJson(InfoDisenoJson(soloCabecera, QStringLiteral("g"), largo)).object();
    EXPECT_EQ(grande[QStringLiteral("registros")].toArray().size(), 0);
    EXPECT_EQ(grande[QStringLiteral("registrosOmitidos")].toInt(), RegistrosMaximosInfo + 5);
}
