#include "FormMain.h"

#include "document/Configuracion.h"
#include "document/Version.h"
#include "platform/InstanciaUnica.h"
#include "platform/Rutas.h"
#include "platform/SenalesTerminacion.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <cstdio>
#include <cstring>

namespace {

const char* const Ayuda =
    "Uso: quoravex [COMn] [--carpeta-trabajo CARPETA | --carpeta-usuario] [--tick-ms=N] [DISEÑO.tck]\n"
    "\n"
    "Diseñador de los tickets de la impresora de turnos.\n"
    "\n"
    "  COMn                       puerto serie de la impresora (1 a 9)\n"
    "  DISEÑO.tck                 diseño que se abre al arrancar\n"
    "  --carpeta-trabajo CARPETA  carpeta de los ficheros de trabajo (SalidaNN.bin,\n"
    "                             DatosRaster*.bin, ImagenN.bmp, Morvane.cfg); se crea si falta\n"
    "  --carpeta-usuario          los ficheros de trabajo van a la carpeta del usuario\n"
    "                             (~/.local/share/Quoravex)\n"
    "  --tick-ms=N                duración del tic de espera de la impresora, en ms (16)\n"
    "  --version                  muestra la versión\n"
    "  -h, --help                 muestra esta ayuda\n";

} // namespace

int main(int argc, char* argv[]) {
    // Answered before any window system is needed.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs(quoravex::TextoVersion().toUtf8().constData(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Ayuda, stdout);
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quoravex"));

    quoravex::ArgumentosPrograma argumentos = quoravex::LeerArgumentos(QApplication::arguments().mid(1));
    // The design is found where it was named, before the working folder changes.
    if (!argumentos.archivoDiseno.isEmpty())
        argumentos.archivoDiseno = QFileInfo(argumentos.archivoDiseno).absoluteFilePath();
    const QString carpeta =
        argumentos.carpetaUsuario ? quoravex::CarpetaTrabajoUsuario() : argumentos.carpetaTrabajo;
    const bool carpetaBien = carpeta.isEmpty() || quoravex::UsarCarpetaTrabajo(carpeta);

    // Held for the program's life, so that a second copy cannot drive the same port.
    quoravex::InstanciaUnica instancia;
    // SIGTERM and SIGHUP end the program cleanly, unsaved work kept as a recovery copy.
    quoravex::SenalesTerminacion senales;
    quoravex::OpcionesArranque opciones;
    opciones.lineaComandos = argumentos.lineaComandos;
    quoravex::FormMain ventana(opciones);
    ventana.instanciaUnica = &instancia;
    QObject::connect(&senales, &quoravex::SenalesTerminacion::terminacionPedida, &ventana,
                     &quoravex::FormMain::terminacionPedida);
    ventana.restaurarVentana();
    ventana.show();
    if (!carpetaBien)
        QMessageBox::warning(&ventana, QStringLiteral("Quoravex"),
                             QStringLiteral("No se puede usar la carpeta de trabajo:\n%1\n"
                                            "Los ficheros de trabajo irán a la carpeta actual.")
                                 .arg(carpeta));
    // A recovered design is the one to work on: the design named on the command line is not opened then.
    const bool recuperado = ventana.ofrecerRecuperacion();
    if (!recuperado && !argumentos.archivoDiseno.isEmpty()) ventana.abrirDiseno(argumentos.archivoDiseno);
    // Test hook: QUORAVEX_PRUEBA_ACCIONES="name,name" triggers those menu entries once started
    // and then prints "acciones: " and their names, so that end-to-end tests can change a design.
    if (const QString acciones = qEnvironmentVariable("QUORAVEX_PRUEBA_ACCIONES"); !acciones.isEmpty()) {
        for (const QString& nombre : acciones.split(QLatin1Char(',')))
            if (QAction* a = ventana.accion(nombre.trimmed())) a->trigger();
        std::printf("acciones: %s\n", acciones.toUtf8().constData());
        std::fflush(stdout);
    }
    return QApplication::exec();
}
