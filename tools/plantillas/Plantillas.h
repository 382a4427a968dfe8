#pragma once

#include <QString>

namespace quoravex {

// Writes the ready designs into the folder: for each, its design file, the pictures and
// code descriptions its objects name (by file name, found beside it), and a CSV file of
// example values for its fields (a header and one row, as --valores reads it). An empty
// string, or what could not be written.
QString EscribirPlantillas(const QString& carpeta);

} // namespace quoravex
