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
    QStringList presentes;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        presentes << info.systemLocation();
    presentes.sort();

    const Salida json = Correr({QStringLiteral("puertos"), QStringLiteral("--json")}, dir.path());
    ASSERT_EQ(json.codigo, 0) << json.err.toStdString();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out.constData();
    ASSERT_TRUE(doc.isArray()) << json.out.constData();
    const QStringList campos = {QStringLiteral("descripcion"), QStringLiteral("dispositivo"),
                                QStringLiteral("estable"),     QStringLiteral("fabricante"),
                                QStringLiteral("nombre"),      QStringLiteral("numeroSerie"),
                                QStringLiteral("usb")};
    QStringList vistos;
    for (const QJsonValue& v : doc.array()) {
        const QJsonObject o = v.toObject();
        EXPECT_EQ(o.keys(), campos) << json.out.constData();
        for (const QString& campo : campos)
            EXPECT_TRUE(o.value(campo).isString()) << campo.toStdString();
        vistos << o.value(QStringLiteral("dispositivo")).toString();
    }
    vistos.sort();
    EXPECT_EQ(vistos, presentes);

    const Salida tabla = Correr({QStringLiteral("puertos")}, dir.path());
    ASSERT_EQ(tabla.codigo, 0) << tabla.err.toStdString();
    const QStringList lineas = QString::fromUtf8(tabla.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (presentes.isEmpty())
        EXPECT_EQ(lineas, QStringList{QStringLiteral("No se ha detectado ningún puerto serie.")});
    else
        EXPECT_EQ(lineas.size(), presentes.size() + 1) << tabla.out.constData();

    // The table's layout, on a list of its own: aligned columns, "-" for what is not known.
    const QList<PuertoDetectado> falsos = {{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("ttyUSB0"),
                                            QStringLiteral("FT232R USB UART"), QStringLiteral("FTDI"),
                                            QStringLiteral("A1"), QStringLiteral("0403:6001"),
                                            QStringLiteral("/dev/serial/by-id/u")},
                                           {QStringLiteral("/dev/ttyS0"), QStringLiteral("ttyS0")}};
    EXPECT_EQ(cli::TablaPuertos(falsos).toStdString(),
              "Dispositivo   Nombre estable       Descripción      Fabricante  N.º de serie  USB\n"
              "/dev/ttyUSB0  /dev/serial/by-id/u  FT232R USB UART  FTDI        A1            0403:6001\n"
              "/dev/ttyS0    -                    -                -           -             -\n");
}
