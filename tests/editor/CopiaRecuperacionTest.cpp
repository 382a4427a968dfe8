// A recovery copy gives back the design byte for byte as "Guardar" writes it, with its
// pictures; a copy cut between its steps leaves the previous one; a damaged copy gives what
// can be read and never more.
#include "editor/CopiaRecuperacion.h"
#include "document/ArchivoDiseno.h"
#include "document/RecordCodec.h"
#include "editor/CodigoObjeto.h"
#include "platform/CopiasRecuperacion.h"
#include "render/ImagenObjeto.h"
#include "support/Bytes.h"
#include "support/FicherosImagen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using namespace quoravex;
using quoravex::pruebas::Leer;

namespace {

struct Mesa {
    quoravex::pruebas::DirectorioActualTemporal trabajo; // where new working bitmaps are
    QTemporaryDir disenos, datos;
    Design d;
    QString carpeta = QDir(datos.path()).filePath(QStringLiteral("recuperacion/4321-77"));

    Mesa() {
        d.ArchivoTicket = QDir(disenos.path()).filePath(QStringLiteral("Banco.tck"));
        const int t = d.agregar(NuevoObjeto{TipoTextoFijo, std::nullopt, 1, 1, 382, 120, QStringLiteral("Bienvenidos")});
        d.objeto(t).FontName = QStringLiteral("DejaVu Sans");
        d.objeto(t).FontSize = 20;
        d.objeto(t).Pendiente = Falso;
        // A picture beside the design, named as a design from elsewhere names it.
        imagen(QStringLiteral("C:\\Tickets\\logo.bmp"),
               QDir(disenos.path()).filePath(QStringLiteral("logo.bmp")), "BM-logo");
        // A code drawn in this session: its bitmap and description in the working folder.
        const QString codigo = trabajo.ruta(QStringLiteral("Imagen3-0a1b2c3d.bmp"));
        const int i = imagen(codigo, codigo, "BM-qr");
        d.objeto(i).ImagenOrigen = RutaDescripcionCodigo(codigo);
        EXPECT_TRUE(quoravex::pruebas::Escribir(RutaDescripcionCodigo(codigo), "{\"datos\":\"https://x\"}"));
    }
    int imagen(const QString& registro, const QString& fichero, const QByteArray& bytes) {
        const int i = d.agregar(NuevoObjeto{TipoImagen});
        d.objeto(i).FontSize = 20;
        d.objeto(i).Pendiente = Falso;
        d.objeto(i).ImagenTrabajo = registro;
        EXPECT_TRUE(quoravex::pruebas::Escribir(fichero, bytes));
        return i;
    }
    ContenidoCopia contenido() const { return ContenidoDeDiseno(d, true, disenos.path()); }
};

} // namespace

TEST(CopiaRecuperacion, GivesBackTheSavedDesignAndItsPicturesAndACutCopyLeavesThePreviousOne) {
    Mesa m;
    const ContenidoCopia primera = m.contenido();
    ASSERT_EQ(primera.ficheros.size(), 3u);
    ASSERT_TRUE(EscribirCopia(m.carpeta, primera));

    // Byte for byte what "Guardar" writes; its pictures and code description are read back below.
    const QString guardado = QDir(m.disenos.path()).filePath(QStringLiteral("guardado.tck"));
    Design copia = m.d;
    ASSERT_TRUE(GuardarDisenoComo(copia, guardado).correcto);
    const CopiaLeida leida = LeerCopia(m.carpeta);
    ASSERT_TRUE(leida.legible) << leida.error.toStdString();
    EXPECT_TRUE(leida.avisos.isEmpty()) << leida.avisos.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(CodificarDiseno(leida.design), Leer(guardado));
    EXPECT_TRUE(leida.design.ArchivoTicket == m.d.ArchivoTicket && leida.conArchivo && leida.hora.isValid());

    // Recovered elsewhere: the design's own picture was replaced since, the code's files are gone.
    const QString logo = QDir(m.disenos.path()).filePath(QStringLiteral("logo.bmp"));
    ASSERT_TRUE(quoravex::pruebas::Escribir(logo, "BM-otro"));
    QFile::remove(m.trabajo.ruta(QStringLiteral("Imagen3-0a1b2c3d.bmp")));
    QFile::remove(m.trabajo.ruta(QStringLiteral("Imagen3-0a1b2c3d.codigo")));
    Design d = leida.design;
    QTemporaryDir otroTrabajo;
    EXPECT_TRUE(RestaurarImagenes(d, leida, m.disenos.path(), otroTrabajo.path()).isEmpty());
    QByteArrayList restaurados; // each picture's bitmap and code description, as the copy keeps them
    for (int i = 2; i <= 3; ++i)
        for (const auto campo : {&ObjetoTicket::ImagenTrabajo, &ObjetoTicket::ImagenOrigen})
            restaurados << Leer(ResolverRutaImagen((d.objeto(i).*campo).valor(), m.disenos.path()));
    EXPECT_EQ(restaurados, (QByteArrayList{"BM-logo", {}, "BM-qr", "{\"datos\":\"https://x\"}"}));
    // The other picture is left as it is; the record names the recovered one.
    EXPECT_EQ(Leer(logo), "BM-otro");
    EXPECT_NE(d.objeto(2).ImagenTrabajo.valor(), m.d.objeto(2).ImagenTrabajo.valor());

    // Another state: an object less and a new picture. Cut after each step, the copy is the first.
    m.d.borrar(1);
    m.imagen(m.trabajo.ruta(QStringLiteral("Imagen4-99.bmp")),
             m.trabajo.ruta(QStringLiteral("Imagen4-99.bmp")), "BM-nuevo");
    const ContenidoCopia segunda = m.contenido();
    const struct {
        const char* caso;
        std::optional<PasoCopia> parada;
        const ContenidoCopia& esperada;
    } casos[] = {
        {"cut after the pictures", PasoCopia::Imagenes, primera},
        {"cut after the design", PasoCopia::Diseno, primera},
        {"written whole", std::nullopt, segunda},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        ASSERT_TRUE(EscribirCopia(m.carpeta, primera));
        EXPECT_EQ(EscribirCopia(m.carpeta, segunda, [&](PasoCopia p) { return p == c.parada; }), !c.parada);
        const CopiaLeida l = LeerCopia(m.carpeta);
        ASSERT_TRUE(l.legible);
        EXPECT_EQ(CodificarDiseno(l.design), c.esperada.diseno);
        EXPECT_EQ(l.ficheros.size(), c.esperada.ficheros.size());
        for (const auto& [ruta, bytes] : c.esperada.ficheros)
            EXPECT_EQ(Leer(l.ficheros.at(ruta)), bytes) << ruta.toStdString();
    }
    // A whole copy keeps nothing of the previous one: the description, the design, the pictures.
    EXPECT_EQ(QDir(m.carpeta).entryList(QDir::Files).size(),
              static_cast<qsizetype>(segunda.ficheros.size() + 2));
}

TEST(CopiaRecuperacion, DamagedCopiesGiveWhatCanBeRead) {
    const struct {
        const char* caso;
        std::function<void(const QString& carpeta, const QString& tck)> danar;
        bool legible;
        int objetos;
        const char* mensaje; // in the error, or in the warnings of a readable copy
    } casos[] = {
        {"cut design file",
         [](const QString&, const QString& tck) { QFile(tck).resize(2 * LongitudRegistro + 100); }, true, 1,
         ""},
        {"design file of another version",
         [](const QString&, const QString& tck) {
             CabeceraArchivo cabecera;
             cabecera.Version = 7;
             const Registro r = CodificarCabecera(cabecera);
             QFile f(tck);
             f.open(QIODevice::ReadWrite);
             f.write(reinterpret_cast<const char*>(r.data()), LongitudRegistro);
         },
         false, 0, "Version incompatible"},
        {"pictures missing",
         [](const QString& carpeta, const QString&) {
             for (const QString& f : QDir(carpeta).entryList({QStringLiteral("*.bmp")})) QFile::remove(QDir(carpeta).filePath(f));
         },
         true, 3, "Faltan estas imágenes"},
        {"damaged description",
         [](const QString& carpeta, const QString&) { QFile(QDir(carpeta).filePath(NombreDescripcionCopia)).resize(40); },
         true, 3, "La descripción de la copia"},
        {"design file gone", [](const QString&, const QString& tck) { QFile::remove(tck); }, false, 0,
         "ningún diseño"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        Mesa m;
        ASSERT_TRUE(EscribirCopia(m.carpeta, m.contenido()));
        // The pictures of the design's own folders are gone too: only the copy has them.
        QFile::remove(QDir(m.disenos.path()).filePath(QStringLiteral("logo.bmp")));
        QFile::remove(m.trabajo.ruta(QStringLiteral("Imagen3-0a1b2c3d.bmp")));
        c.danar(m.carpeta,
                QDir(m.carpeta).entryInfoList({QStringLiteral("*.tck")}).value(0).absoluteFilePath());
        const CopiaLeida l = LeerCopia(m.carpeta);
        EXPECT_EQ(std::tuple(l.legible, l.error.isEmpty(), !VistaCopia(l).isNull(), l.design.NumObjetos),
                  std::tuple(c.legible, c.legible, c.legible, c.objetos));
        const QString mensajes = l.error + l.avisos.join(QLatin1Char('\n'));
        EXPECT_TRUE(mensajes.contains(QString::fromUtf8(c.mensaje))) << mensajes.toStdString();
    }
}
