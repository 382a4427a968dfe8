// A design's pictures carried into the folder it is saved to: names that are taken by other
// bytes (another design's bitmap or code description) are never replaced, and a save that
// fails takes everything back.
#include "document/Design.h"
#include "editor/CodigoObjeto.h"
#include "editor/ImagenesDiseno.h"
#include "support/Bytes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quoravex;

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
        ASSERT_TRUE(pruebas::Escribir(origen, bitmap));
        ASSERT_TRUE(pruebas::Escribir(RutaDescripcionCodigo(origen), codigo));
        const QString ahi = QDir(destino.path()).filePath(QStringLiteral("Imagen1-a.bmp"));
        if (!c.bmpAhi.isNull()) ASSERT_TRUE(pruebas::Escribir(ahi, c.bmpAhi));
        if (!c.codigoAhi.isNull()) ASSERT_TRUE(pruebas::Escribir(RutaDescripcionCodigo(ahi), c.codigoAhi));
        const QStringList antes = QDir(destino.path()).entryList(QDir::Files);

        Design d;
        NuevoObjeto n;
        n.Tipo = TipoImagen;
        const int i = d.agregar(n);
        d.objeto(i).ImagenTrabajo = origen;
        d.objeto(i).ImagenOrigen = RutaDescripcionCodigo(origen);
        const ObjetoTicket registro = d.objeto(i);

        const CopiaImagenes r = LlevarImagenesAlDiseno(d, destino.path(), trabajo.path());
        EXPECT_TRUE(r.fallidas.isEmpty());
        const QString copia = d.objeto(i).ImagenTrabajo.valor();
        EXPECT_EQ(QFileInfo(copia).absolutePath(), QDir(destino.path()).absolutePath());
        EXPECT_TRUE(QFileInfo(copia).fileName().startsWith(c.copia)) << copia.toStdString();
        EXPECT_EQ(pruebas::Leer(copia), bitmap);
        EXPECT_EQ(d.objeto(i).ImagenOrigen.valor(), RutaDescripcionCodigo(copia));
        EXPECT_EQ(pruebas::Leer(RutaDescripcionCodigo(copia)), codigo);
        // What was there is as it was.
        if (!c.bmpAhi.isNull()) EXPECT_EQ(pruebas::Leer(ahi), c.bmpAhi);
        if (!c.codigoAhi.isNull()) EXPECT_EQ(pruebas::Leer(RutaDescripcionCodigo(ahi)), c.codigoAhi);
        EXPECT_EQ(r.rutas.at(origen), copia);

        // The save failed: the records and the folder are as before.
        r.deshacer(d);
        EXPECT_EQ(d.objeto(i), registro);
        EXPECT_EQ(QDir(destino.path()).entryList(QDir::Files), antes);
    }
}
