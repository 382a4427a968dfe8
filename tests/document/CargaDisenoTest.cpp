#include "document/ArchivoDiseno.h"
#include "document/RecordCodec.h"
#include "document/SaneoRegistro.h"
#include "support/Bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <sys/stat.h>
#include <vector>

using namespace quoravex;

namespace {

constexpr int Rechazado = -2, NumeroDeObjetos = -1;

// A field as the loaded design would store it: header fields in slot 0, signed when wider than a byte.
int64_t Leido(const Design& d, int slot, int off, int ancho) {
    if (slot == NumeroDeObjetos) return d.NumObjetos;
    const QByteArray r = slot == 0 ? CodificarDiseno(d).left(LongitudRegistro) : [&] {
        const Registro reg = CodificarRegistro(d.objeto(slot));
        return QByteArray(reinterpret_cast<const char*>(reg.data()), LongitudRegistro);
    }();
    uint64_t v = 0;
    for (int b = 0; b < ancho; ++b)
        v |= uint64_t(uint8_t(r[off + b])) << (8 * b);
    return ancho == 1 ? int64_t(v) : ancho == 2 ? int64_t(int16_t(v)) : int64_t(int32_t(v));
}

} // namespace

// Damaged and hostile files, opened from disk: each is refused with a message, leaving the design and
// its file name as they were, or loaded safely.
TEST(CargaDiseno, BadInputs) {
    struct Cambio {
        int k, off, ancho; // record, offset and width of the value; width 0 makes the file `valor` bytes long
        int64_t valor;
    };
    const QString incompleto = QStringLiteral("incompleto"), version = MensajeVersionIncompatible;
    const QString corregido = QStringLiteral("fuera de rango se han corregido"),
                  mas = QStringLiteral("más de 50 objetos");
    const struct {
        const char* caso;
        std::vector<Cambio> cambios;
        QString mensaje;      // expected inside the message; empty: no message
        int slot, off, ancho; // the field the row is about, in the loaded design
        int64_t esperado;
    } filas[] = {
        {"empty file", {{0, 0, 0, 0}}, incompleto, Rechazado, 0, 0, 0},
        {"header one byte short", {{0, 0, 0, 451}}, incompleto, Rechazado, 0, 0, 0},
        {"header alone", {{0, 0, 0, LongitudRegistro}}, {}, NumeroDeObjetos, 0, 0, 0},
        {"trailing partial record", {{0, 0, 0, 3 * LongitudRegistro + 451}}, {}, NumeroDeObjetos, 0, 0, 2},
        {"version 0", {{0, 441, 2, 0}}, version, Rechazado, 0, 0, 0},
        {"version 2", {{0, 441, 2, 2}}, version, Rechazado, 0, 0, 0},
        {"marker is not read", {{0, 443, 2, 77}}, {}, 0, 445, 2, 500},
        {"length -5", {{0, 445, 2, -5}}, corregido, 0, 445, 2, 500},
        {"length 512", {{0, 445, 2, 512}}, corregido, 0, 445, 2, 511},
        {"length 1", {{0, 445, 2, 1}}, {}, 0, 445, 2, 1},
        {"255 push-buttons", {{0, 447, 1, 255}}, corregido, 0, 447, 1, 16},
        {"1 push-button", {{0, 447, 1, 1}}, corregido, 0, 447, 1, 2},
        {"Tipo 0 in use", {{2, 4, 2, 0}}, QStringLiteral("descartado 1 objeto"), NumeroDeObjetos, 0, 0, 2},
        {"Tipo -1 and 7", {{1, 4, 2, -1}, {3, 4, 2, 7}}, QStringLiteral("descartado 2 objetos"), 2, 23, 2, 1},
        {"free record with garbage", {{2, 0, 2, 0}, {2, 4, 2, 99}}, {}, 3, 23, 2, 2},
        {"EnUso 1 counts as in use", {{1, 0, 2, 1}}, corregido, 1, 0, 2, -1},
        {"pending object", {{1, 2, 2, -1}}, corregido, 1, 2, 2, 0},
        {"Top far above", {{1, 7, 4, INT_MIN}}, corregido, 1, 7, 4, -LimiteAlto},
        {"Left far right", {{1, 11, 4, INT_MAX}}, corregido, 1, 11, 4, LimiteAncho},
        {"negative height", {{1, 19, 4, -1}}, corregido, 1, 19, 4, 0},
        {"text far away", {{2, 213, 4, INT_MIN}}, corregido, 2, 213, 4, -LimiteAncho},
        {"Orden 0, 99 and duplicated", {{1, 23, 2, 0}, {2, 23, 2, 99}, {3, 23, 2, 99}}, {}, 2, 23, 2, 2},
        {"FontSize -300", {{1, 205, 2, -300}}, corregido, 1, 205, 2, 1},
        {"FontSize 32767", {{1, 205, 2, 32767}}, corregido, 1, 205, 2, 180},
        {"FontStyle 9", {{1, 207, 2, 9}}, corregido, 1, 207, 2, 0},
        {"NUL in a text reads as a space", {{1, 26, 1, 0}}, {}, 1, 26, 1, ' '},
        {"header fields inside an object", {{1, 447, 1, 9}}, corregido, 1, 447, 1, 0},
        {"line too thick", {{1, 4, 2, TipoLinea}, {1, 439, 2, 500}}, corregido, 1, 439, 2, 10},
        {"image too wide", {{1, 4, 2, TipoImagen}, {1, 429, 2, 385}}, corregido, 1, 429, 2, 384},
        // An unknown format of a turn field follows its text, "A88".
        {"turn field format 99",
         {{1, 4, 2, TipoTurno}, {1, 6, 1, 99}, {1, 25, 8, 0x2020202020383841}},
         corregido,
         1,
         6,
         1,
         11},
        // Past the fiftieth object (copies of the first): the first fifty; a file of 100 MB is not read
        // whole.
        {"sixty objects", {{0, 0, 0, 61 * LongitudRegistro}}, mas, 50, 7, 4, 10},
        {"100 MB", {{0, 0, 0, 100 << 20}}, mas, NumeroDeObjetos, 0, 0, 50},
    };
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("danado.tck"));
    for (const auto& f : filas) {
        SCOPED_TRACE(f.caso);
        Design valido;
        for (int k = 1; k <= 3; ++k) {
            NuevoObjeto o;
            o.Top = 10 * k;
            o.Texto = QStringLiteral("objeto %1").arg(k);
            valido.objeto(valido.agregar(o)).Pendiente = Falso;
        }
        QByteArray datos = CodificarDiseno(valido);
        for (const Cambio& c : f.cambios)
            if (c.ancho == 0) {
                while (datos.size() < c.valor)
                    datos += datos.mid(LongitudRegistro, LongitudRegistro);
                datos.truncate(c.valor);
            } else {
                for (int b = 0; b < c.ancho; ++b)
                    datos[c.k * LongitudRegistro + c.off + b] =
                        static_cast<char>((c.valor >> (8 * b)) & 0xFF);
            }
        ASSERT_TRUE(pruebas::Escribir(ruta, datos));
        Design d;
        d.agregar(NuevoObjeto{}); // a failed load must leave this design alone
        d.LargoTicket = 200;
        d.ArchivoTicket = QStringLiteral("/anterior.tck");
        const Design antes = d;
        const ResultadoArchivo r = AbrirDiseno(d, ruta);
        EXPECT_EQ(r.correcto, f.slot != Rechazado);
        EXPECT_TRUE(f.mensaje.isEmpty() ? r.mensaje.isEmpty() : r.mensaje.contains(f.mensaje))
            << r.mensaje.toStdString();
        if (!r.correcto) {
            // A later "Guardar" must not overwrite the file that was refused.
            EXPECT_TRUE(d.Objetos == antes.Objetos && d.LargoTicket == 200 &&
                        d.ArchivoTicket == antes.ArchivoTicket);
            continue;
        }
        EXPECT_EQ(Leido(d, f.slot, f.off, f.ancho), f.esperado);
        // What every loaded design satisfies, whatever the file held.
        int enUso = 0, alto = 0;
        std::set<int> ordenes;
        for (int k = 1; k <= MaxObjetos; ++k)
            if (const ObjetoTicket& o = d.objeto(k); o.enUso()) {
                ++enUso;
                alto = k;
                ordenes.insert(o.Orden);
                EXPECT_TRUE(o.EnUso == Verdadero && o.Pendiente == Falso);
            }
        EXPECT_EQ(std::tuple(d.NumObjetos, d.IdxObjMasAlto, ordenes.size(),
                             ordenes.empty() ? 0 : *ordenes.rbegin(), d.ArchivoTicket),
                  std::tuple(enUso, alto, size_t(enUso), enUso, ruta));
        // What was made safe saves and loads again unchanged.
        const QByteArray guardado = CodificarDiseno(d);
        if (guardado.isEmpty()) continue;
        Design otra;
        ASSERT_TRUE(CargarDiseno(otra, guardado).correcto);
        EXPECT_EQ(CodificarDiseno(otra), guardado);
    }
}

TEST(CargaDiseno, OpenRefusesWhatIsNotAFile) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("tuberia.tck"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const std::pair<QString, QString> filas[] = {
        {dir.filePath(QStringLiteral("no-existe.tck")), QStringLiteral("No existe el fichero")},
        {dir.path(), QStringLiteral("No es un fichero")},
        {fifo, QStringLiteral("No es un fichero")}, // would block if opened
    };
    for (const auto& [ruta, mensaje] : filas) {
        Design d;
        d.ArchivoTicket = QStringLiteral("/anterior.tck");
        const ResultadoArchivo r = AbrirDiseno(d, ruta);
        EXPECT_TRUE(!r.correcto && r.mensaje.startsWith(mensaje)) << r.mensaje.toStdString();
        EXPECT_EQ(d.ArchivoTicket, QStringLiteral("/anterior.tck"));
    }
}
