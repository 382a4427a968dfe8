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
int agregar(Design& d, int16_t tipo, uint32_t pulsadores, const QString& texto = QString()) {
    NuevoObjeto n;
    n.Tipo = tipo;
    n.Pulsadores = pulsadores;
    n.Texto = texto;
    if (tipo == TipoTurno) n.Formato = 3;
    const int i = d.agregar(n);
    d.objeto(i).Pendiente = Falso;
    return i;
}

Design disenoAB() {
    Design d;
    const int a = agregar(d, TipoTextoFijo, 1, QStringLiteral("Bienvenido a la sucursal"));
    ObjetoTicket& oa = d.objeto(a);
    oa.Left = -20;
    oa.FontName = QStringLiteral("DejaVu Sans");
    oa.FontStyle = 2;
    oa.TextWidth = 300;
    const int b = agregar(d, TipoImagen, 1);
    ObjetoTicket& ob = d.objeto(b);
    ob.ImagenTrabajo = QStringLiteral("./Imagen2.bmp");
    ob.ImagenOrigen = QString(100, QLatin1Char('p'));
    ob.AnchoImagen = 150;
    d.LargoTicket = 420;
    d.TicketModificado = Verdadero;
    return d;
}

QByteArray registroEn(const QByteArray& datos, int k) {
    return datos.mid(k * LongitudRegistro, LongitudRegistro);
}

} // namespace

TEST(ArchivoDiseno, TwoObjectsSaveAs1356BytesAndLoadBackIntoTheirSlots) {
    QTemporaryDir dir;
    Design d = disenoAB();
    d.ArchivoTicket = dir.filePath(QStringLiteral("dos.tck"));
    const ResultadoArchivo r = GuardarDiseno(d);
    ASSERT_TRUE(r.correcto) << r.mensaje.toStdString();
    EXPECT_EQ(d.TicketModificado, Falso);
    const QByteArray datos = Leer(d.ArchivoTicket);
    ASSERT_EQ(datos.size(), 1356);
    EXPECT_EQ(datos.mid(445, 2), QByteArray("\xA4\x01")); // 420

    Design c;
    c.objeto(7).EnUso = Verdadero; // whatever was there before goes
    c.IdxObjMasAlto = 7;
    c.VistaActual = 4;
    const ResultadoArchivo l = AbrirDiseno(c, d.ArchivoTicket);
    ASSERT_TRUE(l.correcto) << l.mensaje.toStdString();
    EXPECT_TRUE(l.mensaje.isEmpty());
    EXPECT_EQ(c.objeto(1), d.objeto(1)); // every field
    EXPECT_EQ(c.objeto(2), d.objeto(2));
    EXPECT_FALSE(c.enUso(7));
    EXPECT_EQ(std::tuple(c.NumObjetos, c.IdxObjMasAlto, c.Objeto, c.LargoTicket), std::tuple(2, 2, 2, 420));
    EXPECT_EQ(c.VistaActual, 1u);
    EXPECT_EQ(c.TicketModificado, Falso);

    // Write, read, write again: the same bytes.
    c.ArchivoTicket = dir.filePath(QStringLiteral("otra.tck"));
    ASSERT_TRUE(GuardarDiseno(c).correcto);
    EXPECT_EQ(Leer(c.ArchivoTicket), datos);
}

TEST(ArchivoDiseno, AccentsAndEuroRoundTripThroughWindows1252) {
    Design d;
    const int i = agregar(d, TipoTextoFijo, 1, QStringLiteral("Año nuevo: café 2 €"));
    d.objeto(i).FontName = QStringLiteral("Señorío");
    const QByteArray datos = CodificarDiseno(d);
    EXPECT_EQ(registroEn(datos, 1).mid(25, 19), QByteArray("A\xF1o nuevo: caf\xE9 2 \x80"));
    Design c;
    ASSERT_TRUE(CargarDiseno(c, datos).correcto);
    EXPECT_EQ(c.objeto(1).Texto.valor(), QStringLiteral("Año nuevo: café 2 €"));
    EXPECT_EQ(c.objeto(1).FontName.valor(), QStringLiteral("Señorío"));
}

// Objects of push-buttons beyond NumPulsadores are left out; the file ends before a
// missing last position and holds zeros for a missing middle one.
TEST(ArchivoDiseno, SaveRules) {
    struct Fila {
        const char* caso;
        int16_t numPulsadores;
        std::vector<uint32_t> mascaras; // by Orden
        int registros;                  // records after the header
        std::vector<int> vacios;        // positions written as zeros
        std::vector<int> slotsCargados;
    };
    const Fila filas[] = {
        {"every object fits", 2, {1, 2, 4 | 8}, 3, {}, {1, 2, 3}},
        {"last object on button 3 only", 2, {1, 4, 8}, 2, {}, {1, 2}},
        {"middle object on button 3 only", 2, {1, 8, 4}, 3, {2}, {1, 3}},
        {"two missing in the middle", 2, {8, 8, 1}, 3, {1, 2}, {3}},
        {"single button keeps any mask", 0, {8, 0x10000, 0}, 3, {}, {1, 2, 3}},
    };
    for (const Fila& f : filas) {
        SCOPED_TRACE(f.caso);
        Design d;
        d.NumPulsadores = f.numPulsadores;
        for (uint32_t m : f.mascaras)
            agregar(d, TipoTextoFijo, m, QStringLiteral("x"));
        const QByteArray datos = CodificarDiseno(d);
        ASSERT_EQ(datos.size(), (f.registros + 1) * LongitudRegistro);
        for (int k : f.vacios)
            EXPECT_EQ(registroEn(datos, k), QByteArray(LongitudRegistro, '\0')) << "position " << k;

        Design c;
        ASSERT_TRUE(CargarDiseno(c, datos).correcto);
        EXPECT_EQ(c.IdxObjMasAlto, f.slotsCargados.back());
        std::vector<int> cargados;
        for (int k = 1; k <= MaxObjetos; ++k)
            if (c.enUso(k)) {
                cargados.push_back(k);
                EXPECT_EQ(c.objeto(k).Pulsadores, d.objeto(k).Pulsadores);
                EXPECT_EQ(c.objeto(k).Orden, static_cast<int>(cargados.size())); // the gaps close up
            }
        EXPECT_EQ(cargados, f.slotsCargados);
    }
}

TEST(ArchivoDiseno, EmptyDesignWritesNothingAndAHeaderAloneLoadsEmpty) {
    QTemporaryDir dir;
    Design d;
    d.ArchivoTicket = dir.filePath(QStringLiteral("vacio.tck"));
    d.TicketModificado = Verdadero;
    const ResultadoArchivo r = GuardarDiseno(d);
    EXPECT_TRUE(r.correcto);
    EXPECT_FALSE(r.mensaje.isEmpty()); // the user is told nothing was written
    EXPECT_FALSE(QFile::exists(d.ArchivoTicket));
    EXPECT_EQ(d.TicketModificado, Falso);

    CabeceraArchivo cab;
    cab.Longitud = 321;
    cab.NumPulsadores = 8;
    const Registro cabecera = CodificarCabecera(cab);
    Design c;
    agregar(c, TipoLinea, 1);
    ASSERT_TRUE(CargarDiseno(c, QByteArrayView(cabecera.data(), cabecera.size())).correcto);
    EXPECT_EQ(c.NumObjetos, 0);
    EXPECT_EQ(c.IdxObjMasAlto, 0);
    EXPECT_FALSE(c.enUso(1));
    EXPECT_EQ(c.LargoTicket, 321);
    EXPECT_EQ(c.NumPulsadores, 8);
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
    EXPECT_EQ(Leer(ruta), datosViejos);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("viejo.tck")});
    EXPECT_EQ(d.TicketModificado, Verdadero);
    EXPECT_EQ(d.NumObjetos, 2);

    // A folder that does not exist, and a path that is a folder.
    const QString carpeta = dir.filePath(QStringLiteral("carpeta.tck"));
    ASSERT_TRUE(QDir().mkdir(carpeta));
    for (const QString& destino : {dir.filePath(QStringLiteral("no/existe")), carpeta}) {
        d.ArchivoTicket = ruta;
        const ResultadoArchivo como = GuardarDisenoComo(d, destino);
        EXPECT_FALSE(como.correcto) << destino.toStdString();
        EXPECT_EQ(d.ArchivoTicket, ruta);
        EXPECT_EQ(d.TicketModificado, Verdadero);
    }
    EXPECT_EQ(Leer(ruta), datosViejos);

    // Once the disk has room again, the save replaces the file.
    ASSERT_TRUE(GuardarDiseno(d).correcto);
    EXPECT_EQ(Leer(ruta), CodificarDiseno(d));
    EXPECT_EQ(d.TicketModificado, Falso);
}

TEST(ArchivoDiseno, SaveAsForcesTheExtensionOnTheFileName) {
    const std::pair<QString, QString> filas[] = {
        {QStringLiteral("/t/ticket"), QStringLiteral("/t/ticket.tck")},
        {QStringLiteral("/t/ticket.a.b"), QStringLiteral("/t/ticket.tck")},
        {QStringLiteral("/t/v1.2/ticket"), QStringLiteral("/t/v1.2/ticket.tck")},
        {QStringLiteral("C:\\dir.x\\T.TCK"), QStringLiteral("C:\\dir.x\\T.tck")},
    };
    for (const auto& [entrada, salida] : filas)
        EXPECT_EQ(RutaConExtensionTck(entrada), salida);

    QTemporaryDir dir;
    Design d = disenoAB();
    d.ArchivoTicket = QStringLiteral("/antes.tck");
    EXPECT_FALSE(GuardarDisenoComo(d, QStringLiteral("  ")).correcto);
    EXPECT_EQ(d.ArchivoTicket, QStringLiteral("/antes.tck"));
    const ResultadoArchivo r = GuardarDisenoComo(d, dir.filePath(QStringLiteral("nuevo.bak")));
    ASSERT_TRUE(r.correcto);
    EXPECT_EQ(d.ArchivoTicket, dir.filePath(QStringLiteral("nuevo.tck")));
    EXPECT_EQ(Leer(d.ArchivoTicket).size(), 1356);
}
