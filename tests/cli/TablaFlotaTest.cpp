#include "ListaPuertos.h"

#include <gtest/gtest.h>

using namespace quoravex::cli;

// A fleet's table read from its CSV file, and which --ports-from files are tables.
TEST(TablaFlota, PortsValuesAndRefusalsByTable) {
    // A fleet's table: a column "puerto", each port once, at least one printer.
    const struct {
        const char* csv;
        const char* resultado; // "port:field=value,..." per row, or the error
    } flotas[] = {
        {"Puerto;sucursal;tel\n/dev/a;Centro;\n/dev/b;Norte;92\n", "/dev/a:sucursal=Centro,tel= /dev/b:sucursal=Norte,tel=92"},
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
        EXPECT_EQ((t.error.isEmpty() ? impresoras.join(QLatin1Char(' ')) : t.error).toStdString(), f.resultado)
            << f.csv;
    }
    // Which --ports-from files are tables.
    EXPECT_TRUE(EsTablaFlota(QStringLiteral("oficinas.CSV"), "/dev/a\n"));
    EXPECT_TRUE(EsTablaFlota(QStringLiteral("lista"), "  PUERTO;a\n"));
    EXPECT_TRUE(EsTablaFlota(QStringLiteral("lista"), "\xEF\xBB\xBFpuerto\n"));
    EXPECT_FALSE(EsTablaFlota(QStringLiteral("lista.txt"), "# puertos\n/dev/ttyUSB0\n"));
    EXPECT_FALSE(EsTablaFlota(QStringLiteral("lista.txt"), "puertos-planta\n"));
}
