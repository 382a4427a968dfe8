#pragma once

#include "platform/PuertosDetectados.h"

#include <QString>

namespace quoravex::cli {

// The ports as "puertos" prints them: a table with a header, one port a line, "-" for what
// is not known; or a sentence when there is none.
QString TablaPuertos(const QList<PuertoDetectado>& puertos);

// The ports as a JSON array, one object per port with every field as a string.
QString PuertosJson(const QList<PuertoDetectado>& puertos);

} // namespace quoravex::cli
