#include "FormMain.h"

#include "document/Configuracion.h"
#include "platform/InstanciaUnica.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quoravex"));

    // Held for the program's life, so that a second copy cannot drive the same port.
    quoravex::InstanciaUnica instancia;
    const quoravex::ArgumentosPrograma argumentos =
        quoravex::LeerArgumentos(QApplication::arguments().mid(1));
    quoravex::OpcionesArranque opciones;
    opciones.lineaComandos = argumentos.lineaComandos;
    quoravex::FormMain ventana(opciones);
    ventana.instanciaUnica = &instancia;
    ventana.restaurarVentana();
    ventana.show();
    if (!argumentos.archivoDiseno.isEmpty()) ventana.abrirDiseno(argumentos.archivoDiseno);
    return QApplication::exec();
}
