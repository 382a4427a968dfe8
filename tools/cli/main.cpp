// quoravex-cli: generates what the designer sends to the printer, shows designs and
// previews tickets, without a window.
#include "Comandos.h"

#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    // Text and pictures are drawn on images; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    quoravex::cli::Consola consola{out, err};
    const int codigo = quoravex::cli::EjecutarCli(QGuiApplication::arguments().mid(1), consola);
    out.flush();
    err.flush();
    return codigo;
}
