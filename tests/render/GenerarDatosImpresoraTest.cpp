#include "render/GenerarSalida.h"

#include "document/Design.h"
#include "render/GeneraDatosFont.h"
#include "render/SalidaRaster.h"
#include "render/Workspace.h"

#include "support/Bytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::pruebas;

namespace {

// Two push-buttons, a text in the common part, a line per push-button, a turn and a date.
Design disenoDePrueba() {
    Design d;
    d.NumPulsadores = 2;
    auto agregar = [&](int16_t tipo, QRect r, uint32_t pulsadores, const char* texto, uint8_t formato = 0) {
        const NuevoObjeto n{tipo,
                            formato ? std::optional(formato) : std::nullopt,
                            r.top(),
                            r.left(),
                            r.width(),
                            r.height(),
                            QString::fromLatin1(texto),
                            pulsadores};
        const int i = d.agregar(n);
        d.objeto(i).FontName = QStringLiteral("DejaVu Sans");
        d.objeto(i).FontSize = 20;
    };
    agregar(TipoTextoFijo, {10, 10, 200, 30}, 1, "Bienvenido");
    agregar(TipoLinea, {0, 100, 384, 3}, 2, "");
    agregar(TipoLinea, {0, 200, 384, 3}, 4, "");
    agregar(TipoTurno, {50, 300, 100, 30}, 1, "888", 3);
    agregar(TipoFecha, {50, 400, 100, 30}, 1, "31/12/99", 1);
    return d;
}

} // namespace

TEST(GenerarDatosImpresora, WritesEveryRasterFileThenTheFontsOfTheDesignsFields) {
    QTemporaryDir dir, otra;
    Design d = disenoDePrueba();
    d.VistaActual = 4;
    Workspace ws, ws2;
    // A time font of an earlier design must not survive: this one has no time field.
    ASSERT_TRUE(Escribir(ArchivoFuente(CampoVariable::Hora, dir.path()), "old"));
    ASSERT_EQ(GenerarDatosImpresora(d, ws, dir.path(), QString()), QString());
    EXPECT_EQ(d.VistaActual, 4u) << "the user's view comes back";

    // The raster files are those of GenerarSalida alone.
    ASSERT_EQ(GenerarSalida(d, ws2, otra.path(), QString()), QString());
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(Leer(NombreArchivoSalida(n, dir.path())), Leer(NombreArchivoSalida(n, otra.path()))) << n;
    Surface work3;
    EXPECT_EQ(Leer(ArchivoFuente(CampoVariable::Turno, dir.path())),
              GenerarFuente(d.objeto(4), CampoVariable::Turno, work3).bytes);
    EXPECT_EQ(Leer(ArchivoFuente(CampoVariable::Fecha, dir.path())),
              GenerarFuente(d.objeto(5), CampoVariable::Fecha, work3).bytes);
    EXPECT_FALSE(QFile::exists(ArchivoFuente(CampoVariable::Hora, dir.path())));
}

TEST(GenerarDatosImpresora, StopsAtTheFirstFailureWithItsMessage) {
    // The turn font cannot be made: the raster files are there, the date font is not attempted.
    QTemporaryDir dir;
    Design d = disenoDePrueba();
    d.objeto(4).Left = 40000;
    Workspace ws;
    QString error = GenerarDatosImpresora(d, ws, dir.path(), QString());
    EXPECT_TRUE(error.startsWith(QStringLiteral("No se puede generar la fuente del campo de turno")))
        << error.toStdString();
    EXPECT_EQ(std::tuple(QFile::exists(NombreArchivoSalida(1, dir.path())),
                         QFile::exists(ArchivoFuente(CampoVariable::Turno, dir.path())),
                         QFile::exists(ArchivoFuente(CampoVariable::Fecha, dir.path()))),
              std::tuple(true, false, false));

    // The output folder is a file: the raster files fail first.
    d = disenoDePrueba();
    error = GenerarDatosImpresora(d, ws, NombreArchivoSalida(1, dir.path()), QString());
    EXPECT_TRUE(error.startsWith(QStringLiteral("No se puede escribir el fichero de salida")))
        << error.toStdString();
}
