// quoravex-cli puertos: the serial ports this machine has, as JSON and as a table.
#include "Muestra.h"
#include "TablaPuertos.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSerialPortInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quoravex;
using muestra::Correr;
using muestra::Salida;

// Whatever serial ports this machine has (none in CI): the ones Qt Serial Port sees, exit 0.
TEST(CliPuertos, ThePortsPresentAsJsonAndAsATable) {
    QTemporaryDir dir;
    QStringList presentes, vistos;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        presentes << info.systemLocation();
    const Salida json = Correr({QStringLiteral("puertos"), QStringLiteral("--json")}, dir.path());
    for (const QJsonValue& v : QJsonDocument::fromJson(json.out).array())
        vistos << v.toObject().value(QStringLiteral("dispositivo")).toString();
    EXPECT_EQ(std::pair(json.codigo, QSet(vistos.begin(), vistos.end())), std::pair(0, QSet(presentes.begin(), presentes.end())))
        << json.out.constData() << json.err.toStdString();

    const Salida tabla = Correr({QStringLiteral("puertos")}, dir.path());
    ASSERT_EQ(tabla.codigo, 0) << tabla.err.toStdString();
    const QStringList lineas = QString::fromUtf8(tabla.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (presentes.isEmpty())
        EXPECT_EQ(lineas, QStringList{QStringLiteral("No se ha detectado ningún puerto serie.")});
    else
        EXPECT_EQ(lineas.size(), presentes.size() + 1) << tabla.out.constData();

    // The table's layout, on a list of its own: aligned columns, "-" for what is not known.
    const QList<PuertoDetectado> falsos = {
        {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("ttyUSB0"), QStringLiteral("FT232R USB UART"),
         QStringLiteral("FTDI"), QStringLiteral("A1"), QStringLiteral("0403:6001"), QStringLiteral("/dev/serial/by-id/u")},
        {QStringLiteral("/dev/ttyS0"), QStringLiteral("ttyS0")}};
    EXPECT_EQ(cli::TablaPuertos(falsos).toStdString(),
              "Dispositivo   Nombre estable       Descripción      Fabricante  N.º de serie  USB\n"
              "/dev/ttyUSB0  /dev/serial/by-id/u  FT232R USB UART  FTDI        A1            0403:6001\n"
              "/dev/ttyS0    -                    -                -           -             -\n");
}
