#include "FormMain.h"

#include "document/Configuracion.h"
#include "platform/InstanciaUnica.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quoravex"));

    // Held for the program's life, so that a second copy cannot drive the same port.
    quoravex::InstanciaUnica instancia;
    quoravex::OpcionesArranque opciones;
    opciones.lineaComandos = quoravex::UnirArgumentos(QApplication::arguments().mid(1));
    quoravex::FormMain ventana(opciones);
    ventana.instanciaUnica = &instancia;
    ventana.show();
    return QApplication::exec();
}
