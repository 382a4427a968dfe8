#include "InstanciaUnica.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace quoravex {

namespace {

bool delUsuario(const QString& ruta) {
#ifdef Q_OS_UNIX
    return QFileInfo(ruta).ownerId() == ::getuid();
#else
    Q_UNUSED(ruta);
    return true;
#endif
}

} // namespace

InstanciaUnica::InstanciaUnica(const QString& rutaBloqueo)
    : mRuta(rutaBloqueo), mBloqueo(std::make_unique<QLockFile>(rutaBloqueo)) {
    mBloqueo->setStaleLockTime(0); // a lock left by a crashed copy is taken over
    mPropio = mBloqueo->tryLock(0);
}

bool InstanciaUnica::otraEnEjecucion() {
    if (!mPropio) mPropio = mBloqueo->tryLock(0);
    if (mPropio) return false;
    return mBloqueo->error() == QLockFile::LockFailedError && delUsuario(mRuta);
}

QString InstanciaUnica::RutaPorDefecto() {
    QString carpeta = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (carpeta.isEmpty()) carpeta = QDir::tempPath();
    return QDir(carpeta).filePath(QStringLiteral("quoravex.lock"));
}

} // namespace quoravex
