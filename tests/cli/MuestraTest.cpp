#include "Muestra.h"

#include "document/ArchivoDiseno.h"
#include "render/ImagenObjeto.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace quoravex;

// The committed sample equals the design built in Muestra.cpp. After changing it there,
// run this test once with QUORAVEX_REGENERAR_MUESTRA=1 to write the files again.
TEST(Muestra, CommittedFilesAreTheDesignBuiltHere) {
    const Design d = muestra::Diseno();
    const QByteArray datos = CodificarDiseno(d);
    ASSERT_EQ(datos.size(), 12 * 452) << "the header and eleven objects";
    if (qEnvironmentVariableIntValue("QUORAVEX_REGENERAR_MUESTRA") == 1) {
        QFile f(muestra::RutaDiseno());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(datos);
        f.close();
        ASSERT_TRUE(GuardarImagenTrabajo(muestra::Imagen(), muestra::RutaImagen()));
    }
    QFile f(muestra::RutaDiseno());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), datos);

    const std::optional<QImage> imagen = CargarImagen(muestra::RutaImagen());
    ASSERT_TRUE(imagen);
    EXPECT_EQ(imagen->convertToFormat(QImage::Format_RGB32), muestra::Imagen());

    // Loading gives back the same design.
    Design cargado;
    ASSERT_TRUE(CargarDiseno(cargado, datos).correcto);
    EXPECT_EQ(cargado.LargoTicket, 400);
    EXPECT_EQ(cargado.NumPulsadores, 3);
    ASSERT_EQ(cargado.NumObjetos, 11);
    for (int i = 1; i <= 11; ++i)
        EXPECT_EQ(cargado.objeto(i), d.objeto(i)) << i;
}
