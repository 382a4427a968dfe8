// quoravex-plantillas CARPETA: writes the ready designs that the program installs.
#include "Plantillas.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString carpeta = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(carpeta)) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    const QString error = quoravex::EscribirPlantillas(carpeta);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
