#include "render/GenerarSalida.h"

#include "document/Design.h"
#include "render/GeneraDatosFont.h"
#include "render/SalidaRaster.h"
#include "render/Workspace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quoravex;

namespace {

int agregar(Design& d, int16_t tipo, QRect r, uint32_t pulsadores, const QString& texto = QString(),
            uint8_t formato = 0) {
    NuevoObjeto n;
    n.Tipo = tipo;
    n.Left = r.left();
    n.Top = r.top();
    n.Width = r.width();
    n.Height = r.height();
    n.Texto = texto;
    n.Pulsadores = pulsadores;
    if (formato) n.Formato = formato;
    const int i = d.agregar(n);
    d.objeto(i).FontName = QStringLiteral("DejaVu Sans");
    d.objeto(i).FontSize = 20;
    return i;
}

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// Two push-buttons, a text in the common part, a line per push-button, a turn and a date.
Design disenoDePrueba() {
    Design d;
    d.NumPulsadores = 2;
    agregar(d, TipoTextoFijo, QRect(10, 10, 200, 30), 1, QStringLiteral("Bienvenido"));
    agregar(d, TipoLinea, QRect(0, 100, 384, 3), 2);
    agregar(d, TipoLinea, QRect(0, 200, 384, 3), 4);
    agregar(d, TipoTurno, QRect(50, 300, 100, 30), 1, QStringLiteral("888"), 3);
    agregar(d, TipoFecha, QRect(50, 400, 100, 30), 1, QStringLiteral("31/12/99"), 1);
    return d;
}

} // namespace

TEST(GenerarDatosImpresora, WritesEveryRasterFileThenTheFontsOfTheDesignsFields) {
    QTemporaryDir dir;
    Design d = disenoDePrueba();
    d.VistaActual = 4;
    Workspace ws;
    // A time font of an earlier design must not survive: this one has no time field.
    QFile viejo(ArchivoFuente(CampoVariable::Hora, dir.path()));
    ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
    viejo.write("old");
    viejo.close();

    ASSERT_EQ(GenerarDatosImpresora(d, ws, dir.path(), QString()), QString());

    // The raster files are those of GenerarSalida alone.
    QTemporaryDir otra;
    Workspace ws2;
    ASSERT_EQ(GenerarSalida(d, ws2, otra.path(), QString()), QString());
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(leer(NombreArchivoSalida(n, dir.path())), leer(NombreArchivoSalida(n, otra.path()))) << n;
    EXPECT_FALSE(QFile::exists(NombreArchivoSalida(4, dir.path())));

    Surface work3;
    EXPECT_EQ(leer(ArchivoFuente(CampoVariable::Turno, dir.path())),
              GenerarFuente(d.objeto(4), CampoVariable::Turno, work3).bytes);
    EXPECT_EQ(leer(ArchivoFuente(CampoVariable::Fecha, dir.path())),
              GenerarFuente(d.objeto(5), CampoVariable::Fecha, work3).bytes);
    EXPECT_FALSE(QFile::exists(ArchivoFuente(CampoVariable::Hora, dir.path())));
    EXPECT_EQ(d.VistaActual, 4u) << "the user's view comes back";
}

TEST(GenerarDatosImpresora, StopsAtTheFirstFailureWithItsMessage) {
    {
        // The turn font cannot be made: the date font is not attempted.
        QTemporaryDir dir;
        Design d = disenoDePrueba();
        d.objeto(4).Left = 40000;
        Workspace ws;
        const QString error = GenerarDatosImpresora(d, ws, dir.path(), QString());
        EXPECT_TRUE(error.startsWith(QStringLiteral("No se puede generar la fuente del campo de turno")))
            << error.toStdString();
        EXPECT_TRUE(QFile::exists(NombreArchivoSalida(1, dir.path())));
        EXPECT_FALSE(QFile::exists(ArchivoFuente(CampoVariable::Turno, dir.path())));
        EXPECT_FALSE(QFile::exists(ArchivoFuente(CampoVariable::Fecha, dir.path())));
    }
    {
        // The output folder is a file: the raster files fail and no font is generated.
        QTemporaryDir dir;
        const QString noCarpeta = dir.filePath(QStringLiteral("fichero"));
        QFile f(noCarpeta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        Design d = disenoDePrueba();
        Workspace ws;
        const QString error = GenerarDatosImpresora(d, ws, noCarpeta, QString());
        EXPECT_TRUE(error.startsWith(QStringLiteral("No se puede escribir el fichero de salida")))
            << error.toStdString();
    }
}
