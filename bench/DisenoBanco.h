#pragma once

#include "support/DisenoEjemplo.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

namespace quoravex::bench {

// The folder of a timing run (the one given as the first argument, so that the design's files
// and what the printers received stay there, else a temporary one) with the 3-push-button
// sample design's files written into it. Empty, after a message, when they could not be made.
inline QString PrepararDisenoBanco(int argc, char** argv, const QTemporaryDir& temporal, Design& d,
                                   const char* programa) {
    const QString carpeta = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporal.path();
    QDir().mkpath(carpeta);
    if (!test::EscribirDisenoEjemplo(d, carpeta, 3)) {
        std::fprintf(stderr, "%s: the design's files could not be made\n", programa);
        return {};
    }
    return carpeta;
}

} // namespace quoravex::bench
