#pragma once

#include <QString>
#include <QStringList>

namespace quoravex {

class Design;

// A design travels with its pictures: each picture object's working bitmap (and a code's
// description file) is copied into `carpeta`, the design file's folder, when it is not there
// yet, and the record names the copy. Pictures are found as the records name them, else
// beside the design in `dirDiseno`, else in the current folder. Returns the pictures that
// could not be copied.
QStringList LlevarImagenesAlDiseno(Design& d, const QString& carpeta, const QString& dirDiseno);

// The picture paths, as the records name them, that are found nowhere.
QStringList ImagenesQueFaltan(const Design& d, const QString& dirDiseno);

} // namespace quoravex
