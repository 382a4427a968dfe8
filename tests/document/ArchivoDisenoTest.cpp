#include "document/ArchivoDiseno.h"
#include "document/RecordCodec.h"
#include "document/SaneoRegistro.h"
#include "document/Texto1252.h"
#include "support/Bytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <tuple>
#include <vector>

using namespace quoravex;
using quoravex::pruebas::Leer;

namespace {

// Adds a confirmed object the way the editor leaves it.
ObjetoTicket& agregar(Design& d, int16_t tipo, uint32_t pulsadores, const QString& texto = QString()) {
    NuevoObjeto n{tipo, {}, 1, 1, 382, 120, texto, pulsadores};
    ObjetoTicket& o = d.objeto(d.agregar(n));
    o.Pendiente = Falso;
    return o;
}

Design disenoAB() {
    Design d;
    ObjetoTicket& a = agregar(d, TipoTextoFijo, 1, QStringLiteral("Bienvenido a la sucursal"));
    a.Left = -20;
    a.FontName = QStringLiteral("DejaVu Sans");
    a.FontStyle = 2;
    a.TextWidth = 300;
    ObjetoTicket& b = agregar(d, TipoImagen, 1);
    b.ImagenTrabajo = QStringLiteral("./Imagen2.bmp");
    b.ImagenOrigen = QString(100, QLatin1Char('p'));
    b.AnchoImagen = 150;
    d.LargoTicket = 420;
    d.TicketModificado = Verdadero;
    return d;
}

constexpr int Rechazado = -2, NumeroDeObjetos = -1;

// A field as the loaded design would store it: header fields in slot 0, signed
// when wider than a byte.
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

// A 500-dot design with four push-buttons and one object with every field set, as saved.
TEST(RecordCodec, DesignFileBytesAtTheirOffsets) {
    ASSERT_TRUE(Codificacion1252Disponible()) << "Qt lacks the Windows-1252 converter (ICU)";
    Design d;
    d.NumPulsadores = 4;
    // Any non-zero EnUso is in use, stored as -1; the header-only fields are never stored in an object.
    // Texts are Windows-1252: a character outside it is "?", a surrogate pair being one character.
    // clang-format off
    ObjetoTicket o{.EnUso = 1, .Pendiente = 0x0102, .Tipo = TipoTurno, .Formato = 11, .Top = -3, .Left = 0x01020304,
        .Width = 382, .Height = 120, .Orden = 1, .Texto = QStringLiteral("Añ€Ω😀b") + QChar(0xD800),
        .FontName = QStringLiteral("DejaVu Sans"), .FontSize = 30, .FontStyle = 3, .FontUnderline = 1,
        .FontStrikethru = -1, .CurrentX = 5, .CurrentY = -6, .TextWidth = 70000, .TextHeight = 41,
        .ImagenTrabajo = QStringLiteral("C:\\Tickets\\Imagen3.bmp"), .ImagenOrigen = QStringLiteral("/home/x/logo.png"),
        .AnchoImagen = 200, .LineaX = -2, .LineaY = 300, .Reservado2 = 0x0506, .Grosor = 10, .Version = 9,
        .Marcador = 9, .Longitud = 9, .NumPulsadores = 9, .Pulsadores = 0x80012345};
    // clang-format on
    d.agregar(NuevoObjeto{});
    d.objeto(1) = o;
    const QByteArray datos = CodificarDiseno(d);
    ASSERT_EQ(datos.size(), 2 * LongitudRegistro);
    constexpr int R = LongitudRegistro;
    const std::pair<int, std::vector<uint8_t>> filas[] = {
        {0, std::vector<uint8_t>(441, 0)},                                // the header is zeros but for
        {441, {0x01, 0x00, 0x04, 0x00, 0xF4, 0x01, 0x04, 0, 0, 0, 0}},    // version, marker, 500, 4 buttons
        {R + 0, {0xFF, 0xFF, 0x02, 0x01, 0x03, 0x00, 0x0B}},              // EnUso, Pendiente, Tipo, Formato
        {R + 7, {0xFD, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01}},        // Top, Left
        {R + 15, {0x7E, 0x01, 0x00, 0x00, 0x78, 0x00, 0x00, 0x00}},       // Width, Height
        {R + 23, {0x01, 0x00, 'A', 0xF1, 0x80, '?', '?', 'b', '?', ' '}}, // Orden, Texto
        {R + 122, {' ', ' ', ' ', 'D', 'e', 'j'}},                        // end of Texto, FontName
        {R + 202, {' ', ' ', ' ', 0x1E, 0x00, 0x03, 0x00}},          // end of FontName, FontSize, FontStyle
        {R + 209, {0x01, 0x00, 0xFF, 0xFF}},                         // FontUnderline, FontStrikethru
        {R + 213, {0x05, 0x00, 0x00, 0x00, 0xFA, 0xFF, 0xFF, 0xFF}}, // CurrentX, CurrentY
        {R + 221, {0x70, 0x11, 0x01, 0x00, 0x29, 0x00, 0x00, 0x00}}, // TextWidth, TextHeight
        {R + 229, {'C', ':', '\\'}},                                 // ImagenTrabajo
        {R + 329, {'/', 'h', 'o'}},                                  // ImagenOrigen
        {R + 426, {' ', ' ', ' ', 0xC8, 0x00, 0xFE, 0xFF, 0x2C, 0x01}}, // AnchoImagen, LineaX, LineaY
        {R + 435, {0x00, 0x00, 0x06, 0x05, 0x0A, 0x00}},                // reserved, Grosor
        {R + 441, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},          // header-only fields
        {R + 448, {0x45, 0x23, 0x01, 0x80}},                            // Pulsadores
    };
    for (const auto& [offset, bytes] : filas)
        EXPECT_EQ(std::vector<uint8_t>(datos.begin() + offset, datos.begin() + offset + bytes.size()), bytes)
            << "offset " << offset;

    // Every field decodes as it was encoded, header-only fields included; texts are cut to their width.
    o.Texto = QStringLiteral("Señal de turno: 5 € · ¿Qué? Á");
    o.FontName = QString(90, QLatin1Char('x'));
    EXPECT_EQ(o.FontName.bruto(), QString(80, QLatin1Char('x')));
    EXPECT_EQ(DecodificarRegistro(CodificarRegistro(o)), o);
    const CabeceraArchivo c{2, -3, 0x1FF, 200};
    EXPECT_EQ(DecodificarCabecera(CodificarCabecera(c)), c);
}

// "Guardar Como..." forces the extension on the file name (everything after its
// first "."; dots in folder names stay), writes 1356 bytes that load back into
// their slots, and saves them again unchanged.
TEST(ArchivoDiseno, TwoObjectsSaveAs1356BytesAndLoadBackIntoTheirSlots) {
    const std::pair<const char*, const char*> extensiones[] = {{"/t/ticket", "/t/ticket.tck"},
                                                               {"/t/ticket.a.b", "/t/ticket.tck"},
                                                               {"/t/v1.2/ticket", "/t/v1.2/ticket.tck"},
                                                               {"C:\\dir.x\\T.TCK", "C:\\dir.x\\T.tck"}};
    for (const auto& [entrada, salida] : extensiones)
        EXPECT_EQ(RutaConExtensionTck(QString::fromLatin1(entrada)), QString::fromLatin1(salida));
    QTemporaryDir dir;
    Design d = disenoAB();
    const ResultadoArchivo r = GuardarDisenoComo(d, dir.filePath(QStringLiteral("dos.bak")));
    ASSERT_TRUE(r.correcto) << r.mensaje.toStdString();
    const QByteArray datos = Leer(d.ArchivoTicket);
    EXPECT_EQ(std::tuple(d.ArchivoTicket, d.TicketModificado, datos.size(), datos.mid(445, 2)),
              std::tuple(dir.filePath(QStringLiteral("dos.tck")), Falso, 1356,
                         QByteArray("\xA4\x01"))); // 420

    Design c;
    c.objeto(7).EnUso = Verdadero; // whatever was there before goes
    c.IdxObjMasAlto = 7;
    c.VistaActual = 4;
    const ResultadoArchivo l = AbrirDiseno(c, d.ArchivoTicket);
    ASSERT_TRUE(l.correcto && l.mensaje.isEmpty()) << l.mensaje.toStdString();
    EXPECT_TRUE(c.objeto(1) == d.objeto(1) && c.objeto(2) == d.objeto(2)); // every field
    EXPECT_EQ(std::tuple(c.enUso(7), c.NumObjetos, c.IdxObjMasAlto, c.Objeto, c.LargoTicket, c.VistaActual,
                         c.TicketModificado, c.ArchivoTicket),
              std::tuple(false, 2, 2, 2, 420, 1u, Falso, d.ArchivoTicket));
    c.ArchivoTicket = dir.filePath(QStringLiteral("otra.tck"));
    ASSERT_TRUE(GuardarDiseno(c).correcto);
    EXPECT_EQ(Leer(c.ArchivoTicket), datos);
}

// Objects of push-buttons beyond NumPulsadores are left out; the file ends
// before a missing last position and holds zeros for a missing middle one.
TEST(ArchivoDiseno, SaveRules) {
    const struct {
        const char* caso;
        int16_t numPulsadores;
        std::vector<uint32_t> mascaras; // by Orden
        int registros;                  // records after the header
        std::vector<int> vacios;        // positions written as zeros
        std::vector<int> slotsCargados;
    } filas[] = {
        {"every object fits", 2, {1, 2, 4 | 8}, 3, {}, {1, 2, 3}},
        {"last object on button 3 only", 2, {1, 4, 8}, 2, {}, {1, 2}},
        {"middle object on button 3 only", 2, {1, 8, 4}, 3, {2}, {1, 3}},
        {"two missing in the middle", 2, {8, 8, 1}, 3, {1, 2}, {3}},
        {"single button keeps any mask", 0, {8, 0x10000, 0}, 3, {}, {1, 2, 3}},
    };
    for (const auto& f : filas) {
        SCOPED_TRACE(f.caso);
        Design d;
        d.NumPulsadores = f.numPulsadores;
        for (uint32_t m : f.mascaras)
            agregar(d, TipoTextoFijo, m, QStringLiteral("x"));
        const QByteArray datos = CodificarDiseno(d);
        ASSERT_EQ(datos.size(), (f.registros + 1) * LongitudRegistro);
        for (int k : f.vacios)
            EXPECT_EQ(datos.mid(k * LongitudRegistro, LongitudRegistro), QByteArray(LongitudRegistro, '\0'));
        Design c;
        ASSERT_TRUE(CargarDiseno(c, datos).correcto);
        std::vector<int> cargados;
        for (int k = 1; k <= MaxObjetos; ++k)
            if (c.enUso(k)) {
                cargados.push_back(k);
                EXPECT_EQ(c.objeto(k).Pulsadores, d.objeto(k).Pulsadores);
            }
        EXPECT_EQ(std::pair(cargados, int(c.IdxObjMasAlto)),
                  std::pair(f.slotsCargados, f.slotsCargados.back()));
    }
}

// A save that cannot complete keeps the old file, the design and its modified
// flag; an open that cannot keeps the design's file name.
TEST(ArchivoDiseno, FailedSaveKeepsTheOldFileAndFailedOpenTheOldName) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("viejo.tck"));
    Design viejo;
    agregar(viejo, TipoTextoFijo, 1, QStringLiteral("viejo"));
    const QByteArray datosViejos = CodificarDiseno(viejo);
    ASSERT_TRUE(pruebas::Escribir(ruta, datosViejos));

    Design d = disenoAB();
    d.ArchivoTicket = ruta;
    // A disk that fills up after 600 bytes (RLIMIT_FSIZE works even for root).
    rlimit antes{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &antes), 0);
    const auto senal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = antes;
    limite.rlim_cur = 600;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
    const ResultadoArchivo r = GuardarDiseno(d);
    setrlimit(RLIMIT_FSIZE, &antes);
    std::signal(SIGXFSZ, senal);
    EXPECT_TRUE(!r.correcto && r.mensaje.startsWith(QStringLiteral("No se ha podido guardar el ticket")))
        << r.mensaje.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("viejo.tck")});

    // A folder that does not exist, a path that is a folder, and a blank name.
    const QString carpeta = dir.filePath(QStringLiteral("carpeta.tck"));
    ASSERT_TRUE(QDir().mkdir(carpeta));
    for (const QString& destino :
         {dir.filePath(QStringLiteral("no/existe")), carpeta, QStringLiteral("  ")}) {
        EXPECT_FALSE(GuardarDisenoComo(d, destino).correcto) << destino.toStdString();
        EXPECT_EQ(std::tuple(d.ArchivoTicket, d.TicketModificado, d.NumObjetos),
                  std::tuple(ruta, Verdadero, 2));
    }
    EXPECT_EQ(Leer(ruta), datosViejos);

    // Once the disk has room again, the save replaces the file.
    ASSERT_TRUE(GuardarDiseno(d).correcto);
    EXPECT_EQ(std::pair(Leer(ruta), d.TicketModificado), std::pair(CodificarDiseno(d), Falso));

    // A design without objects writes nothing, says so, and counts as saved.
    Design vacio;
    vacio.ArchivoTicket = dir.filePath(QStringLiteral("vacio.tck"));
    vacio.TicketModificado = Verdadero;
    const ResultadoArchivo v = GuardarDiseno(vacio);
    EXPECT_TRUE(v.correcto && !v.mensaje.isEmpty());
    EXPECT_EQ(std::pair(QFile::exists(vacio.ArchivoTicket), vacio.TicketModificado), std::pair(false, Falso));

    // Opening what is not a file; a pipe would block if opened.
    const QString fifo = dir.filePath(QStringLiteral("tuberia.tck"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const std::pair<QString, const char*> abrir[] = {{vacio.ArchivoTicket, "No existe el fichero"},
                                                     {carpeta, "No es un fichero"},
                                                     {fifo, "No es un fichero"}};
    for (const auto& [destino, mensaje] : abrir) {
        const ResultadoArchivo a = AbrirDiseno(d, destino);
        EXPECT_TRUE(!a.correcto && a.mensaje.startsWith(QString::fromUtf8(mensaje)))
            << a.mensaje.toStdString();
        EXPECT_EQ(d.ArchivoTicket, ruta);
    }
}

// Damaged and hostile files, opened from disk: each is refused with a message,
// leaving the design and its file name as they were, or loaded safely.
TEST(CargaDiseno, BadInputs) {
    struct Cambio {
        int k, off, ancho; // record, offset and width of the value; width 0 makes
                           // the file `valor` bytes long
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
        // clang-format off
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
        {"turn field format 99", {{1, 4, 2, TipoTurno}, {1, 6, 1, 99}, {1, 25, 8, 0x2020202020383841}}, corregido,
         1, 6, 1, 11},
        // Past the fiftieth object (copies of the first): the first fifty; 100 MB are not read whole.
        {"sixty objects", {{0, 0, 0, 61 * LongitudRegistro}}, mas, 50, 7, 4, 10},
        {"100 MB", {{0, 0, 0, 100 << 20}}, mas, NumeroDeObjetos, 0, 0, 50},
        // clang-format on
    };
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("danado.tck"));
    for (const auto& f : filas) {
        SCOPED_TRACE(f.caso);
        Design valido;
        for (int k = 1; k <= 3; ++k)
            agregar(valido, TipoTextoFijo, 1, QStringLiteral("objeto %1").arg(k)).Top = 10 * k;
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
        if (!r.correcto) { // a later "Guardar" must not overwrite the file that was
                           // refused
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
        Design otra;
        EXPECT_TRUE(guardado.isEmpty() ||
                    (CargarDiseno(otra, guardado).correcto && CodificarDiseno(otra) == guardado));
    }
}
