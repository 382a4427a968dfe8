#include "InstanciaUnica.h"

#include <QDir>

namespace quoravex {

InstanciaUnica::InstanciaUnica(const QString& rutaBloqueo)
    : mBloqueo(std::make_unique<QLockFile>(rutaBloqueo)) {
    mBloqueo->setStaleLockTime(0); // a lock left by a crashed copy is taken over
    mPropio = mBloqueo->tryLock(0);
}

bool InstanciaUnica::otraEnEjecucion() {
    if (!mPropio) mPropio = mBloqueo->tryLock(0);
    return !mPropio;
}

QString InstanciaUnica::RutaPorDefecto() {
    return QDir(QDir::tempPath()).filePath(QStringLiteral("quoravex.lock"));
}

} // namespace quoravex
