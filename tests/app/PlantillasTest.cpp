// The templates shipped with the program, opened from the main window and sent.
#include "VentanaPrueba.h"

#include "dialogs/FrmVistaPrevia.h"
#include "platform/Plantillas.h"
#include "render/GenerarSalida.h"
#include "render/ImagenObjeto.h"
#include "render/Redibujar.h"
#include "render/Relleno.h"

using namespace quoravex;

// Each template opens as a new design, asks for its values before it is sent and prints on
// the virtual printer what the template itself prints with them; the preview shows the
// values typed in "Valores de Campos..."; a missing picture is asked about first.
TEST(Plantillas, AskForTheirValuesAndPrintOnTheVirtualPrinter) {
    VentanaPrueba s;
    s.f.carpetasPlantillas = {QStringLiteral(QUORAVEX_PLANTILLAS)};
    const QList<Plantilla> plantillas = BuscarPlantillas(s.f.carpetasPlantillas);
    ASSERT_EQ(plantillas.size(), 3);
    EXPECT_EQ(CarpetasPlantillas(QStringLiteral("/usr/bin/")),
              (QStringList{QStringLiteral("/usr/share/quoravex/plantillas"), QStringLiteral("/usr/bin/plantillas")}));
    const auto envios = [&s] { return s.dialogos.count(QStringLiteral("FrmEnviar")); };
    for (int k = 0; k < 3; ++k) {
        const Plantilla& p = plantillas[k];
        s.plantilla = k;
        s.menu("mnuNuevoDesdePlantilla");
        s.f.actualizarComandos();
        ASSERT_GT(s.d.NumObjetos, 5) << p.nombre.toStdString();
        EXPECT_FALSE(s.f.conArchivo());
        EXPECT_TRUE(s.d.ArchivoTicket.endsWith(QStringLiteral("TICKET.tck")));

        // What the template prints with its example values, from its own folder.
        QTemporaryDir esperado;
        auto plantilla = std::make_unique<Design>();
        ASSERT_TRUE(AbrirDiseno(*plantilla, p.ruta).correcto);
        const QString dir = QFileInfo(p.ruta).absolutePath();
        const Relleno relleno = RellenarDiseno(*plantilla, p.muestra, dir);
        ASSERT_EQ(relleno.error, QString());
        auto ws = std::make_unique<Workspace>();
        ws->dimensionarCanvas(plantilla->LargoTicket);
        RedibujarTicket(*plantilla, *ws, dir);
        ASSERT_EQ(GenerarDatosImpresora(*plantilla, *ws, esperado.path(), dir, {}, &relleno), QString());

        if (k == 2) {
            // The values typed in "Valores de Campos..." are what the preview shows.
            s.valores = p.muestra;
            s.menu("mnuValoresCampos");
            EXPECT_EQ(s.campos.takeLast(), QStringLiteral("direccion,oficina,web"));
            s.f.mnuVistaPrevia();
            const QImage vista = s.f.vistaPrevia()->vistas().tickets.value(0).imagen;
            const Relleno enVentana = RellenarDiseno(s.d, p.muestra, s.f.dirDiseno());
            EXPECT_EQ(vista, VistasPreviasDiseno(s.d, s.f.dirDiseno(), &enVentana).tickets[0].imagen);
            EXPECT_NE(vista, VistasPreviasDiseno(s.d, s.f.dirDiseno()).tickets[0].imagen);
            s.f.vistaPrevia()->close();
        }
        // No values yet: they are asked for before anything is sent; none given, nothing sent.
        s.valores = {};
        const int antes = envios();
        if (k < 2) {
            s.menu("mnuEnviarAPrinter");
            EXPECT_EQ(envios(), antes);
            ASSERT_EQ(s.mensajes.size(), 1);
            EXPECT_TRUE(s.mensajes.takeFirst().startsWith(QStringLiteral("Falta el valor del campo {")));
        }
        s.valores = p.muestra;
        s.menu("mnuEnviarAPrinter");
        ASSERT_EQ(envios(), antes + 1) << p.nombre.toStdString();
        EXPECT_TRUE(s.mensajes.isEmpty()) << s.mensajes.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(s.enlace.impresora.rasters[0].archivo(),
                  pruebas::Leer(esperado.filePath(QStringLiteral("Salida00.bin"))))
            << p.nombre.toStdString();
        EXPECT_EQ(s.enlace.impresora.fonts[0].archivo(),
                  pruebas::Leer(esperado.filePath(QStringLiteral("DatosRasterTurno.bin"))));
    }
    EXPECT_EQ(s.campos.size(), 4) << "asked for the values of the first two twice, of the last once";

    // The office's QR code lost its bitmap: asked first, and "No" sends nothing.
    const int antes = envios();
    QString bitmap;
    for (int i = 1; i <= MaxObjetos; ++i)
        if (s.d.enUso(i) && s.d.objeto(i).Tipo == TipoImagen) bitmap = s.d.objeto(i).ImagenTrabajo.valor();
    ASSERT_TRUE(QFile::remove(ResolverRutaImagen(bitmap))) << bitmap.toStdString();
    s.respuestaSi = false;
    s.menu("mnuEnviarAPrinter");
    EXPECT_EQ(envios(), antes);
    EXPECT_EQ(s.preguntas,
              QStringList{QStringLiteral("Faltan imágenes del diseño: %1. ¿Enviar de todos modos?").arg(bitmap)});
    s.respuestaSi = true;
    s.menu("mnuEnviarAPrinter");
    EXPECT_EQ(envios(), antes + 1);
}
