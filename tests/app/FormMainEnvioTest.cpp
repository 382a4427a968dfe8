#include "app/FormMain.h"
#include "dialogs/FrmEnviar.h"
#include "dialogs/FrmEnviarFechaHora.h"
#include "document/Configuracion.h"
#include "editor/ObjetosCanvas.h"
#include "link/FakeSerialPort.h"
#include "link/ImpresoraVirtual.h"
#include "link/ParPuertos.h"
#include "platform/InstanciaUnica.h"
#include "platform/Rutas.h"

#include "support/Esperar.h"
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLockFile>
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
