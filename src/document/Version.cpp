#include "Version.h"

#ifndef QUORAVEX_COMPILACION
#define QUORAVEX_COMPILACION "desconocida"
#endif

namespace quoravex {

QString TextoVersion() {
    return QStringLiteral("Quoravex 1.4\nCompilación: %1\n").arg(QStringLiteral(QUORAVEX_COMPILACION));
}

} // namespace quoravex
