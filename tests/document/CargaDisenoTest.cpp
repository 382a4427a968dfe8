#include "document/ArchivoDiseno.h"
#include "document/RecordCodec.h"
#include "document/SaneoRegistro.h"
#include "support/Bytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <set>
#include <sys/stat.h>

using namespace quoravex;

namespace {

// A valid file: header, then n fixed texts with Orden 1..n.
QByteArray archivoValido(int n, int16_t largo = 500, uint8_t numPulsadores = 0) {
    CabeceraArchivo cab;
    cab.Longitud = largo;
    cab.NumPulsadores = numPulsadores;
    const Registro c = CodificarCabecera(cab);
    QByteArray datos(reinterpret_cast<const char*>(c.data()), LongitudRegistro);
    for (int k = 1; k <= n; ++k) {
        ObjetoTicket o;
        o.EnUso = Verdadero;
        o.Tipo = TipoTextoFijo;
        o.Top = 10 * k;
        o.Left = 1;
        o.Width = 100;
        o.Height = 40;
        o.Orden = static_cast<int16_t>(k);
        o.Texto = QStringLiteral("objeto %1").arg(k);
        o.FontSize = 30;
        o.Pulsadores = 1;
        const Registro r = CodificarRegistro(o);
        datos.append(reinterpret_cast<const char*>(r.data()), LongitudRegistro);
    }
    return datos;
}

void pon16(QByteArray& d, int k, int off, int v) {
    d[k * LongitudRegistro + off] = static_cast<char>(v & 0xFF);
    d[k * LongitudRegistro + off + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void pon32(QByteArray& d, int k, int off, int64_t v) {
    for (int b = 0; b < 4; ++b)
        d[k * LongitudRegistro + off + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
}

// What every loaded design must satisfy, whatever the file held.
void comprobarInvariantes(const Design& d) {
    int enUso = 0, alto = 0;
    std::set<int> ordenes;
    for (int k = 1; k <= MaxObjetos; ++k) {
        const ObjetoTicket& o = d.objeto(k);
        if (!o.enUso()) continue;
        ++enUso;
        alto = k;
        ordenes.insert(o.Orden);
        EXPECT_EQ(o.EnUso, Verdadero);
        EXPECT_EQ(o.Pendiente, Falso);
        EXPECT_TRUE(o.Tipo >= TipoTextoFijo && o.Tipo <= TipoLinea);
        EXPECT_TRUE(o.Width >= 0 && o.Width <= LimiteAncho && o.Height >= 0 && o.Height <= LimiteAlto);
        EXPECT_TRUE(std::abs(o.Left) <= LimiteAncho && std::abs(o.Top) <= LimiteAlto);
        EXPECT_TRUE(o.FontSize >= MinFontSize && o.FontSize <= MaxFontSize);
        EXPECT_TRUE(o.FontStyle >= 0 && o.FontStyle <= 3);
    }
    EXPECT_EQ(d.NumObjetos, enUso);
    EXPECT_EQ(d.IdxObjMasAlto, alto);
    EXPECT_EQ(static_cast<int>(ordenes.size()), enUso);
    if (enUso > 0) {
        EXPECT_EQ(*ordenes.begin(), 1);
        EXPECT_EQ(*ordenes.rbegin(), enUso);
    }
    EXPECT_TRUE(d.LargoTicket >= 1 && d.LargoTicket <= LargoMaximo);
    EXPECT_TRUE(d.NumPulsadores == 0 || (d.NumPulsadores >= 2 && d.NumPulsadores <= MaxPulsadores));
}

} // namespace

// Damaged and hostile files: each is refused with a message or loaded safely.
TEST(CargaDiseno, BadInputs) {
    using Cambio = std::function<void(QByteArray&)>;
    using Prueba = std::function<void(const Design&)>;
    struct Fila {
        const char* caso;
        Cambio cambio;
        bool correcto;
        QString mensaje; // expected inside the message; empty: no message
        Prueba prueba;
    };
    const QString incompleto = QStringLiteral("incompleto");
    const QString corregido = QStringLiteral("fuera de rango se han corregido");
    const QString descartado = QStringLiteral("descartado 1 objeto");
    const Prueba nada = [](const Design&) {};
    const Fila filas[] = {
        {"empty file", [](QByteArray& d) { d.clear(); }, false, incompleto, nada},
        {"header one byte short", [](QByteArray& d) { d.truncate(451); }, false, incompleto, nada},
        {"trailing partial record",
         [](QByteArray& d) { d.truncate(3 * LongitudRegistro + 451); },
         true,
         {},
         [](const Design& d) { EXPECT_EQ(d.NumObjetos, 2); }},
        {"version 0", [](QByteArray& d) { pon16(d, 0, 441, 0); }, false, MensajeVersionIncompatible, nada},
        {"version 2", [](QByteArray& d) { pon16(d, 0, 441, 2); }, false, MensajeVersionIncompatible, nada},
        {"marker is not read", [](QByteArray& d) { pon16(d, 0, 443, 77); }, true, {}, nada},
        {"length -5", [](QByteArray& d) { pon16(d, 0, 445, -5); }, true, corregido,
         [](const Design& d) { EXPECT_EQ(d.LargoTicket, 500); }},
        {"length 512", [](QByteArray& d) { pon16(d, 0, 445, 512); }, true, corregido,
         [](const Design& d) { EXPECT_EQ(d.LargoTicket, 511); }},
        {"length 1",
         [](QByteArray& d) { pon16(d, 0, 445, 1); },
         true,
         {},
         [](const Design& d) { EXPECT_EQ(d.LargoTicket, 1); }},
        {"255 push-buttons", [](QByteArray& d) { d[447] = char(255); }, true, corregido,
         [](const Design& d) { EXPECT_EQ(d.NumPulsadores, 16); }},
        {"1 push-button", [](QByteArray& d) { d[447] = 1; }, true, corregido,
         [](const Design& d) { EXPECT_EQ(d.NumPulsadores, 2); }},
        {"Tipo 0 in use", [](QByteArray& d) { pon16(d, 2, 4, 0); }, true, descartado,
         [](const Design& d) { EXPECT_FALSE(d.enUso(2)); }},
        {"Tipo -1 and 7",
         [](QByteArray& d) {
             pon16(d, 1, 4, -1);
             pon16(d, 3, 4, 7);
         },
         true, QStringLiteral("descartado 2 objetos"),
         [](const Design& d) { EXPECT_EQ(d.objeto(2).Orden, 1); }},
        {"EnUso 1 counts as in use", [](QByteArray& d) { pon16(d, 1, 0, 1); }, true, corregido,
         [](const Design& d) { EXPECT_EQ(d.objeto(1).EnUso, Verdadero); }},
        {"free record with garbage",
         [](QByteArray& d) {
             pon16(d, 2, 0, 0);
             pon16(d, 2, 4, 99);
         },
         true,
         {},
         [](const Design& d) { EXPECT_EQ(d.objeto(3).Orden, 2); }},
        {"pending object", [](QByteArray& d) { pon16(d, 1, 2, -1); }, true, corregido, nada},
        {"huge geometry",
         [](QByteArray& d) {
             pon32(d, 1, 7, INT_MIN);
             pon32(d, 1, 11, INT_MAX);
             pon32(d, 1, 19, -1);
             pon32(d, 2, 213, INT_MIN);
         },
         true, corregido,
         [](const Design& d) {
             EXPECT_EQ(d.objeto(1).Top, -LimiteAlto);
             EXPECT_EQ(d.objeto(1).Left, LimiteAncho);
             EXPECT_EQ(d.objeto(1).Height, 0);
             EXPECT_EQ(d.objeto(2).CurrentX, -LimiteAncho);
         }},
        {"Orden 0, 99 and duplicated",
         [](QByteArray& d) {
             pon16(d, 1, 23, 0);
             pon16(d, 2, 23, 99);
             pon16(d, 3, 23, 99);
         },
         true,
         {},
         [](const Design& d) {
             for (int k = 1; k <= 3; ++k)
                 EXPECT_EQ(d.objeto(k).Orden, k);
         }},
        {"FontSize -300", [](QByteArray& d) { pon16(d, 1, 205, -300); }, true, corregido,
         [](const Design& d) { EXPECT_EQ(d.objeto(1).FontSize, 1); }},
        {"FontSize 32767", [](QByteArray& d) { pon16(d, 1, 205, 32767); }, true, corregido,
         [](const Design& d) { EXPECT_EQ(d.objeto(1).FontSize, 180); }},
        {"FontStyle 9", [](QByteArray& d) { pon16(d, 1, 207, 9); }, true, corregido,
         [](const Design& d) { EXPECT_EQ(d.objeto(1).FontStyle, 0); }},
        {"text of bytes 0x80..0xFF and NUL",
         [](QByteArray& d) {
             for (int i = 0; i < 100; ++i)
                 d[LongitudRegistro + 25 + i] = static_cast<char>(i == 50 ? 0 : 0x80 + i);
         },
         true,
         {},
         [](const Design& d) {
             EXPECT_EQ(d.objeto(1).Texto.bruto().at(0), QChar(0x20AC));
             EXPECT_EQ(d.objeto(1).Texto.bruto().at(50), QLatin1Char(' '));
         }},
        {"paths of 100 characters",
         [](QByteArray& d) { d.replace(LongitudRegistro + 229, 200, QByteArray(200, 'p')); },
         true,
         {},
         [](const Design& d) {
             EXPECT_EQ(d.objeto(1).ImagenOrigen.valor(), QString(100, QLatin1Char('p')));
         }},
        {"header fields inside an object", [](QByteArray& d) { d[LongitudRegistro + 447] = 9; }, true,
         corregido, [](const Design& d) { EXPECT_EQ(d.objeto(1).NumPulsadores, 0); }},
        {"line too thick, image too wide",
         [](QByteArray& d) {
             pon16(d, 1, 4, TipoLinea);
             pon16(d, 1, 439, 500);
             pon16(d, 2, 4, TipoImagen);
             pon16(d, 2, 429, 385);
         },
         true, corregido,
         [](const Design& d) {
             EXPECT_EQ(d.objeto(1).Grosor, MaxGrosor);
             EXPECT_EQ(d.objeto(2).AnchoImagen, MaxAnchoImagen);
         }},
        {"turn field with an unknown format",
         [](QByteArray& d) {
             pon16(d, 1, 4, TipoTurno);
             d[LongitudRegistro + 6] = 99;
             d.replace(LongitudRegistro + 25, 9, "A88      "); // the format follows the text
         },
         true, corregido, [](const Design& d) { EXPECT_EQ(d.objeto(1).Formato, 11); }},
    };
    for (const Fila& f : filas) {
        SCOPED_TRACE(f.caso);
        QByteArray datos = archivoValido(3);
        f.cambio(datos);
        Design d;
        d.agregar(NuevoObjeto{}); // a failed load must leave this design alone
        d.LargoTicket = 200;
        d.TicketModificado = Verdadero;
        const Design antes = d;
        const ResultadoArchivo r = CargarDiseno(d, datos);
        EXPECT_EQ(r.correcto, f.correcto);
        if (f.mensaje.isEmpty())
            EXPECT_TRUE(r.mensaje.isEmpty()) << r.mensaje.toStdString();
        else
            EXPECT_TRUE(r.mensaje.contains(f.mensaje)) << r.mensaje.toStdString();
        if (!r.correcto) {
            EXPECT_EQ(d.Objetos, antes.Objetos);
            EXPECT_EQ(d.LargoTicket, 200);
            EXPECT_EQ(d.TicketModificado, Verdadero);
            continue;
        }
        comprobarInvariantes(d);
        f.prueba(d);
        // What was made safe saves and loads again unchanged.
        const QByteArray guardado = CodificarDiseno(d);
        Design otra;
        ASSERT_TRUE(CargarDiseno(otra, guardado).correcto);
        EXPECT_EQ(CodificarDiseno(otra), guardado);
    }
}

TEST(CargaDiseno, MoreThanFiftyObjectsLoadsTheFirstFifty) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("muchos.tck"));
    ASSERT_TRUE(pruebas::Escribir(ruta, archivoValido(60)));
    Design d;
    const ResultadoArchivo r = AbrirDiseno(d, ruta);
    ASSERT_TRUE(r.correcto);
    EXPECT_TRUE(r.mensaje.contains(QStringLiteral("más de 50 objetos"))) << r.mensaje.toStdString();
    EXPECT_EQ(d.NumObjetos, 50);
    EXPECT_EQ(d.objeto(50).Texto.valor(), QStringLiteral("objeto 50"));
    EXPECT_EQ(d.buscarSlotLibre(), 0);
    comprobarInvariantes(d);

    // A file of 100 MB is not read whole.
    QFile f(ruta);
    ASSERT_TRUE(f.resize(100LL * 1024 * 1024));
    Design e;
    EXPECT_TRUE(AbrirDiseno(e, ruta).correcto);
    EXPECT_EQ(e.NumObjetos, 50);
}

TEST(CargaDiseno, OpenRefusesWhatIsNotADesignFile) {
    QTemporaryDir dir;
    const QString version2 = dir.filePath(QStringLiteral("v2.tck"));
    QByteArray datos = archivoValido(2);
    pon16(datos, 0, 441, 2);
    ASSERT_TRUE(pruebas::Escribir(version2, datos));
    const QString fifo = dir.filePath(QStringLiteral("tuberia.tck"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const std::pair<QString, QString> filas[] = {
        {version2, MensajeVersionIncompatible},
        {dir.filePath(QStringLiteral("no-existe.tck")), QStringLiteral("No existe el fichero")},
        {dir.path(), QStringLiteral("No es un fichero")},
        {fifo, QStringLiteral("No es un fichero")}, // would block if opened
    };
    for (const auto& [ruta, mensaje] : filas) {
        SCOPED_TRACE(ruta.toStdString());
        Design d;
        d.agregar(NuevoObjeto{});
        d.ArchivoTicket = QStringLiteral("/anterior.tck");
        const ResultadoArchivo r = AbrirDiseno(d, ruta);
        EXPECT_FALSE(r.correcto);
        EXPECT_TRUE(r.mensaje.startsWith(mensaje)) << r.mensaje.toStdString();
        // A later "Guardar" must not overwrite the file that was refused.
        EXPECT_EQ(d.ArchivoTicket, QStringLiteral("/anterior.tck"));
        EXPECT_EQ(d.NumObjetos, 1);
    }
    Design d;
    EXPECT_FALSE(AbrirDiseno(d, QString()).correcto);
    EXPECT_TRUE(AbrirDiseno(d, QString()).mensaje.isEmpty());
}
