#include "platform/LectorCsv.h"

#include <gtest/gtest.h>

using namespace quoravex;

// Rows written "a|b / c|d": cells joined by '|', rows by " / ", the header first.
TEST(LectorCsv, TablesAndMalformedFilesByTable) {
    const struct {
        const char* csv;
        const char* tabla; // or the error
    } filas[] = {
        {"puerto,sucursal\n/dev/a,Centro\n", "puerto|sucursal / /dev/a|Centro"},
        {"puerto;sucursal;tel\r\n/dev/a;Centro;91\r\n\r\n/dev/b;Norte;92", "puerto|sucursal|tel / /dev/a|Centro|91 / /dev/b|Norte|92"},
        {"puerto;nombre\n/dev/a;\"Pérez, López; y \"\"hijos\"\"\"\n", "puerto|nombre / /dev/a|Pérez, López; y \"hijos\""},
        {"\"puerto\",\"dir\"\n/dev/a,\"Calle 1\nBajo\"\n/dev/b,x\n", "puerto|dir / /dev/a|Calle 1\nBajo / /dev/b|x"},
        {"puerto , sucursal \n  /dev/a ,  Centro  \n   \n", "puerto|sucursal / /dev/a|Centro"},
        {"puerto,a\r/dev/a,\r", "puerto|a / /dev/a|"},
        {"puerto\n/dev/a\n", "puerto / /dev/a"},
        // Malformed: the whole file is refused, with the line.
        {"", "línea 1: el fichero está vacío"},
        {"\n  \n", "línea 1: el fichero está vacío"},
        {"\xEF\xBB\xBFpuerto,a\n/dev/a,1\n", "línea 1: el fichero empieza con una marca de orden de bytes (BOM); "
                                              "guárdelo como UTF-8 sin BOM"},
        {"puerto,a\n/dev/a,\xE9\n", "línea 2: el texto no está en UTF-8"},
        {"puerto,a\n/dev/a,1\n/dev/b,\"sin cerrar\n/dev/c,3\n", "línea 3: unas comillas abiertas no se cierran"},
        {"puerto,a\n/dev/a,\"x\"y\n", "línea 2: después de cerrar las comillas de un campo solo puede ir el separador \",\""},
        {"puerto,a\n/dev/a,x\"y\n", "línea 2: hay comillas en medio de un campo; un campo con comillas debe ir todo "
                                    "entre comillas, con las de dentro dobles (\"\")"},
        {"puerto,a\n/dev/a,1\n/dev/b,2,3\n", "línea 3: la fila tiene 3 campos y la cabecera 2"},
        {"puerto;a;b\n/dev/a;1\n", "línea 2: la fila tiene 2 campos y la cabecera 3"},
        {"puerto,a,\n/dev/a,1,2\n", "línea 1: la columna 3 de la cabecera no tiene nombre"},
        {"puerto,a,A\n", "línea 1: la columna \"A\" está repetida"},
    };
    for (const auto& f : filas) {
        const TablaCsv t = LeerCsv(QByteArray(f.csv));
        QStringList filasLeidas{t.cabecera.join(QLatin1Char('|'))};
        for (const QStringList& fila : t.filas)
            filasLeidas << fila.join(QLatin1Char('|'));
        const QString leido = t.error.isEmpty() ? filasLeidas.join(QStringLiteral(" / ")) : t.error;
        EXPECT_EQ(leido.toStdString(), f.tabla) << f.csv;
        EXPECT_TRUE(t.error.isEmpty() || (t.cabecera.isEmpty() && t.filas.isEmpty())) << f.csv;
    }
}
