#include "FormMain.h"

#include "document/Configuracion.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quoravex"));

    quoravex::OpcionesArranque opciones;
    opciones.lineaComandos = quoravex::UnirArgumentos(QApplication::arguments().mid(1));
    quoravex::FormMain ventana(opciones);
    ventana.show();
    return QApplication::exec();
}
