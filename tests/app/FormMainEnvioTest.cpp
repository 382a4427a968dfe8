#include "app/FormMain.h"
#include "dialogs/FrmEnviar.h"
#include "dialogs/FrmEnviarFechaHora.h"
#include "dialogs/FrmPlantillas.h"
#include "dialogs/FrmValoresCampos.h"
#include "dialogs/FrmVistaPrevia.h"
#include "document/Configuracion.h"
#include "editor/ObjetosCanvas.h"
#include "link/FakeSerialPort.h"
#include "link/ImpresoraVirtual.h"
#include "link/ParPuertos.h"
#include "platform/InstanciaUnica.h"
#include "platform/Plantillas.h"
#include "platform/Rutas.h"
#include "render/GenerarSalida.h"
#include "render/ImagenObjeto.h"
#include "render/Redibujar.h"
#include "render/Relleno.h"

#include "support/Esperar.h"
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quoravex;
using namespace quoravex::test;

namespace {

struct Mensaje {
    QString texto;
    QString titulo;
};

// A main window working in a folder of its own, its transfer windows on a cable in memory
// with the virtual printer at the other end.
struct Sesion {
    QTemporaryDir dir;
    QString anterior = QDir::currentPath();
    std::unique_ptr<FormMain> form;
    QStringList avisos;
    QList<Mensaje> errores;
    PuertoEnlazado lado;
    PuertoEnlazado* cable = nullptr;
    ImpresoraVirtual impresora{lado};
    QTimer reparto;
    int ventanas = 0;
    bool rechazarApertura = false;
    // How the user answers the windows of fields, questions and templates.
    ValoresCampos teclear;
    bool si = false;
    QStringList preguntas, campos;
    int plantilla = 0;

    Sesion() {
        QDir::setCurrent(dir.path());
        OpcionesArranque o;
        o.dirActual = dir.path();
        o.usarRutaTemporal = true;
        o.rutaTemporal = dir.path();
        form = std::make_unique<FormMain>(o);
        form->mostrarMensaje = [this](const QString& m) { avisos << m; };
        form->mostrarError = [this](const QString& t, const QString& ti) { errores.append({t, ti}); };
        form->crearPuerto = [this]() -> std::unique_ptr<SerialPort> {
            if (rechazarApertura) {
                auto f = std::make_unique<FakeSerialPort>();
                f->rechazarApertura = true;
                return f;
            }
            auto pc = std::make_unique<PuertoEnlazado>();
            pc->otro = &lado;
            lado.otro = pc.get();
            lado.abierto = true;
            cable = pc.get();
            return pc;
        };
        form->ejecutarDialogo = [this](QDialog& d) { return responder(d); };
        QObject::connect(&reparto, &QTimer::timeout, &reparto, [this] {
            while (cable && (cable->entregar() || lado.entregar())) {
            }
        });
        reparto.start(0);
    }
    ~Sesion() {
        form.reset();
        QDir::setCurrent(anterior);
    }

    // The user presses "IniciarEnvio", waits for the end and leaves with "Salir".
    int responder(QDialog& d) {
        if (auto* v = qobject_cast<FrmValoresCampos*>(&d)) {
            campos << v->TbCampo.keys().join(QLatin1Char(','));
            for (auto c = v->TbCampo.begin(); c != v->TbCampo.end(); ++c)
                c.value()->setText(teclear.value(c.key()));
            v->Aceptar->click();
            return v->result();
        }
        if (auto* m = qobject_cast<QMessageBox*>(&d)) {
            preguntas << m->text();
            m->button(si ? QMessageBox::Yes : QMessageBox::No)->click();
            return m->result();
        }
        if (auto* p = qobject_cast<FrmPlantillas*>(&d)) {
            p->LstPlantillas->setCurrentRow(plantilla);
            p->Abrir->click();
            return p->result();
        }
        ++ventanas;
        d.show();
        if (auto* f = qobject_cast<FrmEnviar*>(&d)) {
            f->PBIniciar->click();
            if (!EsperarHasta([f] { return !f->enviarTodo().activo(); }, 20000))
                ADD_FAILURE() << "send did not end";
            f->PBSalirBoton->click();
        } else {
            if (!EsperarHasta([&d] { return !d.isVisible(); }, 5000)) ADD_FAILURE() << "window stayed open";
        }
        cable = nullptr;
        return d.result();
    }

    QByteArray leer(const QString& nombre) const {
        QFile f(QDir(dir.path()).filePath(nombre));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // A line in the common part and push-button 2, a turn-number field.
    void disenar() {
        Design& d = form->design();
        form->numeroPulsadores(2);
        NuevoObjeto linea;
        linea.Tipo = TipoLinea;
        linea.Left = 10;
        linea.Top = 30;
        linea.Width = 200;
        linea.Height = 3;
        linea.Pulsadores = 1 | 4;
        AgregarObjeto(d, form->workspace(), linea);
        NuevoObjeto turno;
        turno.Tipo = TipoTurno;
        const int t = AgregarObjeto(d, form->workspace(), turno);
        d.objeto(t).FontName = QStringLiteral("DejaVu Sans");
        d.objeto(t).FontSize = 20;
        d.objeto(t).Formato = 1;
        d.objeto(t).Height = 30;
    }
};

} // namespace

TEST(FormMainEnvio, SendGeneratesTheFilesAndThePrinterReceivesThemUnchanged) {
    Sesion s;
    s.disenar();
    s.form->actualizarComandos();
    ASSERT_TRUE(s.form->accion(QStringLiteral("mnuEnviarAPrinter"))->isEnabled());
    s.form->accion(QStringLiteral("mnuEnviarAPrinter"))->trigger();

    EXPECT_EQ(s.ventanas, 1);
    EXPECT_TRUE(s.avisos.isEmpty()) << s.avisos.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(s.errores.isEmpty());
    ASSERT_EQ(s.impresora.rasters.size(), 3u);
    for (int k = 0; k <= 2; ++k) {
        const QByteArray archivo = s.leer(TransferenciaRaster::NombreArchivo(k));
        ASSERT_FALSE(archivo.isEmpty()) << k;
        QByteArray recibido = s.impresora.rasters[k].archivo();
        // A raster without segments is its header as a 16-bit value.
        if (recibido.size() == 1) recibido.append('\0');
        EXPECT_EQ(recibido, archivo) << k;
    }
    const QByteArray font = s.leer(QStringLiteral("DatosRasterTurno.bin"));
    ASSERT_GT(font.size(), 8);
    EXPECT_EQ(s.impresora.fonts[0].archivo(), font);
    EXPECT_EQ(s.impresora.codigoTeclado, 0x10 + s.form->design().ModeloTeclado);
    EXPECT_EQ(s.form->design().NumObjetos, 2);
}

TEST(FormMainEnvio, RefusedWindowKeepsTheMainWindowAndTheDesign) {
    Sesion s;
    s.disenar();
    s.form->show();
    s.form->actualizarComandos();
    s.rechazarApertura = true;
    s.form->design().PuertoCom = 4;
    s.form->accion(QStringLiteral("mnuEnviarAPrinter"))->trigger();
    ASSERT_EQ(s.errores.size(), 1) << s.avisos.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(s.errores[0].texto, QStringLiteral("No se puede abrir el puerto COM4"));
    EXPECT_EQ(s.ventanas, 0);
    EXPECT_TRUE(s.form->isVisible());
    EXPECT_EQ(s.form->design().NumObjetos, 2);

    // A second copy of the program holds the lock.
    const QString ruta = QDir(s.dir.path()).filePath(QStringLiteral("bloqueo.lock"));
    InstanciaUnica primera(ruta);
    InstanciaUnica segunda(ruta);
    s.form->instanciaUnica = &segunda;
    s.rechazarApertura = false;
    s.form->accion(QStringLiteral("mnuEnviarFechaHora"))->trigger();
    ASSERT_EQ(s.errores.size(), 2);
    EXPECT_EQ(s.errores[1].texto, QStringLiteral("Programa ya en Ejecución"));
    EXPECT_EQ(s.errores[1].titulo, QStringLiteral("Error de inicio de ejecución"));
    EXPECT_EQ(s.ventanas, 0);
    EXPECT_TRUE(s.form->isVisible());
    s.form->instanciaUnica = nullptr;
}

TEST(FormMainEnvio, DateAndTimeSetsThePrinterClock) {
    Sesion s;
    s.form->accion(QStringLiteral("mnuEnviarFechaHora"))->trigger();
    EXPECT_EQ(s.ventanas, 1);
    EXPECT_TRUE(s.errores.isEmpty());
    ASSERT_TRUE(s.impresora.fechaHora.has_value());
    EXPECT_LE(std::abs(s.impresora.fechaHora->secsTo(QDateTime::currentDateTime())), 5);
}

TEST(FormMainEnvio, AWorkingFolderTakesEveryFileOfTheSend) {
    Sesion s;
    QTemporaryDir otra;
    const QString carpeta = otra.filePath(QStringLiteral("trabajo/quoravex"));
    const ArgumentosPrograma a = LeerArgumentos({QStringLiteral("--carpeta-trabajo"), carpeta});
    ASSERT_TRUE(UsarCarpetaTrabajo(a.carpetaTrabajo)); // what start-up does with the option
    s.disenar();
    s.form->actualizarComandos();
    s.form->accion(QStringLiteral("mnuEnviarAPrinter"))->trigger();
    EXPECT_EQ(s.impresora.rasters.size(), 3u);
    for (const char* nombre : {"Salida00.bin", "Salida01.bin", "Salida02.bin", "DatosRasterTurno.bin"}) {
        EXPECT_TRUE(QFile::exists(QDir(carpeta).filePath(QString::fromLatin1(nombre)))) << nombre;
        EXPECT_FALSE(QFile::exists(s.dir.filePath(QString::fromLatin1(nombre)))) << nombre;
    }
}

// Each template opens as a new design, asks for its values before it is sent and prints on
// the virtual printer what the template itself prints with them; the preview shows the
// values typed in "Valores de Campos..."; a missing picture is asked about first.
TEST(FormMainEnvio, TemplatesAskForTheirValuesAndPrintOnTheVirtualPrinter) {
    Sesion s;
    s.form->carpetasPlantillas = {QStringLiteral(QUORAVEX_PLANTILLAS)};
    const QList<Plantilla> plantillas = BuscarPlantillas(s.form->carpetasPlantillas);
    ASSERT_EQ(plantillas.size(), 3);
    EXPECT_EQ(plantillas[0].nombre, QStringLiteral("Clínica"));
    EXPECT_EQ(CarpetasPlantillas(QStringLiteral("/usr/bin/")),
              (QStringList{QStringLiteral("/usr/share/quoravex/plantillas"), QStringLiteral("/usr/bin/plantillas")}));
    for (int k = 0; k < 3; ++k) {
        const Plantilla& p = plantillas[k];
        s.plantilla = k;
        s.form->accion(QStringLiteral("mnuNuevoDesdePlantilla"))->trigger();
        s.form->actualizarComandos();
        Design& d = s.form->design();
        ASSERT_GT(d.NumObjetos, 5) << p.nombre.toStdString();
        EXPECT_FALSE(s.form->conArchivo());
        EXPECT_TRUE(d.ArchivoTicket.endsWith(QStringLiteral("TICKET.tck")));

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
            s.teclear = p.muestra;
            s.form->accion(QStringLiteral("mnuValoresCampos"))->trigger();
            EXPECT_EQ(s.campos.takeLast(), QStringLiteral("direccion,oficina,web"));
            s.form->mnuVistaPrevia();
            const QImage vista = s.form->vistaPrevia()->vistas().tickets.value(0).imagen;
            const Relleno enVentana = RellenarDiseno(d, p.muestra, s.form->dirDiseno());
            EXPECT_EQ(vista, VistasPreviasDiseno(d, s.form->dirDiseno(), &enVentana).tickets[0].imagen);
            EXPECT_NE(vista, VistasPreviasDiseno(d, s.form->dirDiseno()).tickets[0].imagen);
            s.form->vistaPrevia()->close();
        }
        // No values yet: they are asked for before anything is sent; none given, nothing sent.
        s.teclear = {};
        const int antes = s.ventanas;
        if (k < 2) {
            s.form->accion(QStringLiteral("mnuEnviarAPrinter"))->trigger();
            EXPECT_EQ(s.ventanas, antes);
            ASSERT_EQ(s.avisos.size(), 1);
            EXPECT_TRUE(s.avisos.takeFirst().startsWith(QStringLiteral("Falta el valor del campo {")));
        }
        s.teclear = p.muestra;
        s.form->accion(QStringLiteral("mnuEnviarAPrinter"))->trigger();
        ASSERT_EQ(s.ventanas, antes + 1) << p.nombre.toStdString();
        EXPECT_TRUE(s.avisos.isEmpty()) << s.avisos.join(QLatin1Char('\n')).toStdString();
        const QByteArray raster = s.leer(QStringLiteral("Salida00.bin"));
        QFile generado(esperado.filePath(QStringLiteral("Salida00.bin")));
        ASSERT_TRUE(generado.open(QIODevice::ReadOnly));
        EXPECT_EQ(s.impresora.rasters[0].archivo(), generado.readAll()) << p.nombre.toStdString();
        EXPECT_EQ(raster, s.impresora.rasters[0].archivo());
        QFile turno(esperado.filePath(QStringLiteral("DatosRasterTurno.bin")));
        ASSERT_TRUE(turno.open(QIODevice::ReadOnly));
        EXPECT_EQ(s.impresora.fonts[0].archivo(), turno.readAll());
    }
    EXPECT_EQ(s.campos.size(), 4) << "asked for the values of the first two twice, of the last once";

    // The office's QR code lost its bitmap: asked first, and "No" sends nothing.
    const int antes = s.ventanas;
    QString bitmap;
    for (int i = 1; i <= MaxObjetos; ++i)
        if (s.form->design().enUso(i) && s.form->design().objeto(i).Tipo == TipoImagen)
            bitmap = s.form->design().objeto(i).ImagenTrabajo.valor();
    ASSERT_TRUE(QFile::remove(ResolverRutaImagen(bitmap))) << bitmap.toStdString();
    s.si = false;
    s.form->accion(QStringLiteral("mnuEnviarAPrinter"))->trigger();
    EXPECT_EQ(s.ventanas, antes);
    EXPECT_EQ(s.preguntas, QStringList{QStringLiteral("Faltan imágenes del diseño: %1. ¿Enviar de todos modos?")
                                           .arg(bitmap)});
    s.si = true;
    s.form->accion(QStringLiteral("mnuEnviarAPrinter"))->trigger();
    EXPECT_EQ(s.ventanas, antes + 1);
}
