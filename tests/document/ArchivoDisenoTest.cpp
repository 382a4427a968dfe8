#include "document/ArchivoDiseno.h"
#include "document/RecordCodec.h"
#include "support/Bytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <tuple>

using namespace quoravex;
using quoravex::pruebas::Leer;

namespace {

// Adds a confirmed object the way the editor leaves it.
ObjetoTicket& agregar(Design& d, int16_t tipo, uint32_t pulsadores, const QString& texto = QString()) {
    NuevoObjeto n;
    n.Tipo = tipo;
    n.Pulsadores = pulsadores;
    n.Texto = texto;
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

} // namespace

TEST(ArchivoDiseno, TwoObjectsSaveAs1356BytesAndLoadBackIntoTheirSlots) {
    QTemporaryDir dir;
    Design d = disenoAB();
    // "Guardar Como..." forces the extension.
    const ResultadoArchivo r = GuardarDisenoComo(d, dir.filePath(QStringLiteral("dos.bak")));
    ASSERT_TRUE(r.correcto) << r.mensaje.toStdString();
    const QByteArray datos = Leer(d.ArchivoTicket);
    EXPECT_EQ(
        std::tuple(d.ArchivoTicket, d.TicketModificado, datos.size(), datos.mid(445, 2)),
        std::tuple(dir.filePath(QStringLiteral("dos.tck")), Falso, 1356, QByteArray("\xA4\x01"))); // 420

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

    // Write, read, write again: the same bytes.
    c.ArchivoTicket = dir.filePath(QStringLiteral("otra.tck"));
    ASSERT_TRUE(GuardarDiseno(c).correcto);
    EXPECT_EQ(Leer(c.ArchivoTicket), datos);
}

// Objects of push-buttons beyond NumPulsadores are left out; the file ends before a
// missing last position and holds zeros for a missing middle one. An empty design writes nothing.
TEST(ArchivoDiseno, SaveRules) {
    const struct {
        const char* caso;
        int16_t numPulsadores;
        std::vector<uint32_t> mascaras; // by Orden
        int registros;                  // records after the header; -1: nothing written
        std::vector<int> vacios;        // positions written as zeros
        std::vector<int> slotsCargados;
    } filas[] = {
        {"every object fits", 2, {1, 2, 4 | 8}, 3, {}, {1, 2, 3}},
        {"last object on button 3 only", 2, {1, 4, 8}, 2, {}, {1, 2}},
        {"middle object on button 3 only", 2, {1, 8, 4}, 3, {2}, {1, 3}},
        {"two missing in the middle", 2, {8, 8, 1}, 3, {1, 2}, {3}},
        {"single button keeps any mask", 0, {8, 0x10000, 0}, 3, {}, {1, 2, 3}},
        {"no objects", 0, {}, -1, {}, {}},
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
        if (datos.isEmpty()) continue;
        Design c;
        ASSERT_TRUE(CargarDiseno(c, datos).correcto);
        std::vector<int> cargados;
        for (int k = 1; k <= MaxObjetos; ++k)
            if (c.enUso(k)) {
                cargados.push_back(k);
                EXPECT_EQ(c.objeto(k).Pulsadores, d.objeto(k).Pulsadores);
                EXPECT_EQ(c.objeto(k).Orden, static_cast<int>(cargados.size())); // the gaps close up
            }
        EXPECT_EQ(std::pair(cargados, int(c.IdxObjMasAlto)),
                  std::pair(f.slotsCargados, f.slotsCargados.back()));
    }
}

// A save that cannot complete keeps the old file, the design and its modified flag.
TEST(ArchivoDiseno, FailedSaveKeepsTheOldFile) {
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
    EXPECT_FALSE(r.correcto);
    EXPECT_TRUE(r.mensaje.startsWith(QStringLiteral("No se ha podido guardar el ticket")))
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
}

// Everything after the first "." of the file name becomes "tck"; dots in folder names stay.
TEST(ArchivoDiseno, TheExtensionIsForcedOnTheFileName) {
    const std::pair<QString, QString> filas[] = {
        {QStringLiteral("/t/ticket"), QStringLiteral("/t/ticket.tck")},
        {QStringLiteral("/t/ticket.a.b"), QStringLiteral("/t/ticket.tck")},
        {QStringLiteral("/t/v1.2/ticket"), QStringLiteral("/t/v1.2/ticket.tck")},
        {QStringLiteral("C:\\dir.x\\T.TCK"), QStringLiteral("C:\\dir.x\\T.tck")},
    };
    for (const auto& [entrada, salida] : filas)
        EXPECT_EQ(RutaConExtensionTck(entrada), salida);
}
