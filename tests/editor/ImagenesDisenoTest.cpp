// A design's pictures carried into the folder it is saved to: names that are taken by other
// bytes (another design's bitmap or code description) are never replaced, and a save that
// fails takes everything back.
#include "editor/ImagenesDiseno.h"
#include "document/Design.h"
#include "editor/CodigoObjeto.h"
#include "support/Bytes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quoravex;
using pruebas::Escribir;
using pruebas::Leer;

TEST(ImagenesDiseno, NamesTakenByOtherBytesAreNeverReplacedAndAFailedSaveTakesAllBack) {
    const QByteArray bitmap("BM-logo"), codigo("{\"datos\":\"mio\"}");
    const struct {
        const char* nombre;
        QByteArray bmpAhi, codigoAhi; // what the folder holds under the picture's names; null: nothing
        QString copia;                // the name the copy gets
    } casos[] = {
        {"empty folder", {}, {}, QStringLiteral("Imagen1-a.bmp")},
        {"the same files are there", bitmap, codigo, QStringLiteral("Imagen1-a.bmp")},
        {"another bitmap of that name", "BM-otro", {}, QStringLiteral("Imagen1-")},
        {"the same bitmap, another code", bitmap, "{\"datos\":\"otro\"}", QStringLiteral("Imagen1-")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        QTemporaryDir trabajo, destino;
        const QString origen = QDir(trabajo.path()).filePath(QStringLiteral("Imagen1-a.bmp"));
        const QString ahi = QDir(destino.path()).filePath(QStringLiteral("Imagen1-a.bmp"));
        ASSERT_TRUE(Escribir(origen, bitmap) && Escribir(RutaDescripcionCodigo(origen), codigo));
        ASSERT_TRUE(c.bmpAhi.isNull() || Escribir(ahi, c.bmpAhi));
        ASSERT_TRUE(c.codigoAhi.isNull() || Escribir(RutaDescripcionCodigo(ahi), c.codigoAhi));
        const QStringList antes = QDir(destino.path()).entryList(QDir::Files);

        Design d;
        NuevoObjeto n;
        n.Tipo = TipoImagen;
        const int i = d.agregar(n);
        d.objeto(i).ImagenTrabajo = origen;
        d.objeto(i).ImagenOrigen = RutaDescripcionCodigo(origen);
        const ObjetoTicket registro = d.objeto(i);

        const CopiaImagenes r = LlevarImagenesAlDiseno(d, destino.path(), trabajo.path());
        const QString copia = d.objeto(i).ImagenTrabajo.valor();
        EXPECT_TRUE(r.fallidas.isEmpty() && QFileInfo(copia).fileName().startsWith(c.copia))
            << copia.toStdString();
        EXPECT_EQ(std::tuple(QFileInfo(copia).absolutePath(), Leer(copia), d.objeto(i).ImagenOrigen.valor(),
                             Leer(RutaDescripcionCodigo(copia)), r.rutas.at(origen)),
                  std::tuple(QDir(destino.path()).absolutePath(), bitmap, RutaDescripcionCodigo(copia),
                             codigo, copia));
        // What was there is as it was.
        EXPECT_EQ(c.bmpAhi.isNull() ? c.bmpAhi : Leer(ahi), c.bmpAhi);
        EXPECT_EQ(c.codigoAhi.isNull() ? c.codigoAhi : Leer(RutaDescripcionCodigo(ahi)), c.codigoAhi);

        // The save failed: the records and the folder are as before.
        r.deshacer(d);
        EXPECT_EQ(d.objeto(i), registro);
        EXPECT_EQ(QDir(destino.path()).entryList(QDir::Files), antes);
    }
}
