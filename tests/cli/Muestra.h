#pragma once

#include "document/Design.h"

#include <QImage>
#include <QString>

// The sample design of tests/data (muestra.tck and its picture muestra.bmp), built here
// object by object so that a reader can see what the committed files hold.
namespace muestra {

// 64 x 32: a black frame two dots wide and both diagonals, on white.
QImage Imagen();

// 400 dots long, three push-buttons; where each object lies is listed in Muestra.cpp.
quoravex::Design Diseno();

// Folder of the committed files.
QString Carpeta();
QString RutaDiseno();
QString RutaImagen();

} // namespace muestra
