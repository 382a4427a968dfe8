// libFuzzer target: any bytes given to the CSV reader are either refused with a line number,
// leaving no table, or give a table whose rows all have the header's width and whose rows
// start on increasing lines; a fleet's table has each port once and a value for every column.
#include "ListaPuertos.h"
#include "platform/LectorCsv.h"

#include <cstdio>
#include <cstdlib>

using namespace quoravex;
using namespace quoravex::cli;

namespace {

void exigir(bool condicion, const char* que) {
    if (!condicion) {
        std::fprintf(stderr, "CSV reader broke an invariant: %s\n", que);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t n) {
    const QByteArray bytes(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(n));
    const TablaCsv t = LeerCsv(bytes);
    if (!t.error.isEmpty()) {
        exigir(t.error.startsWith(QStringLiteral("línea ")), "an error names its line");
        exigir(t.cabecera.isEmpty() && t.filas.isEmpty(), "a refused file gives no table");
    } else {
        exigir(!t.cabecera.isEmpty() && t.filas.size() == t.lineas.size(), "a header and a line per row");
        for (qsizetype i = 0; i < t.filas.size(); ++i) {
            exigir(t.filas.at(i).size() == t.cabecera.size(), "every row as wide as the header");
            exigir(t.lineas.at(i) >= 2 && (i == 0 || t.lineas.at(i) > t.lineas.at(i - 1)), "rows on increasing lines");
        }
    }
    const TablaFlota f = LeerTablaFlota(bytes);
    if (f.error.isEmpty()) {
        exigir(!f.puertos.isEmpty() && f.puertos.size() == f.valores.size(), "one set of values per printer");
        for (qsizetype i = 0; i < f.puertos.size(); ++i) {
            exigir(!f.puertos.at(i).isEmpty() && f.puertos.indexOf(f.puertos.at(i)) == i, "each port once");
            exigir(f.valores.at(i).size() == f.columnas.size(), "a value for every column");
        }
    } else {
        exigir(f.puertos.isEmpty(), "a refused table names no printer");
    }
    return 0;
}
