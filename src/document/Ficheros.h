#pragma once

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

namespace quoravex {

// A whole file's bytes; a null array when it cannot be read, an empty one for an empty file.
inline QByteArray LeerFichero(const QString& ruta) {
    QFile f(ruta);
    if (ruta.isEmpty() || !f.open(QIODevice::ReadOnly)) return {};
    QByteArray datos = f.readAll();
    if (datos.isNull()) datos = QByteArray("");
    return datos;
}

// Replaces the file by the bytes all at once: a failed write (a full disk) leaves the old file.
inline bool EscribirFichero(const QString& ruta, const QByteArray& datos) {
    QSaveFile f(ruta);
    return !ruta.isEmpty() && f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size() && f.commit();
}

// A file the user named as a destination: a regular file, or a new one, is replaced all at
// once; anything else that is there (a FIFO, a terminal, /dev/stdout, a device) is written
// in place and keeps being what it is.
inline bool EscribirDestino(const QString& ruta, const QByteArray& datos) {
    const QFileInfo destino(ruta);
    if (!destino.exists() || destino.isFile()) return EscribirFichero(destino.isSymLink() ? destino.canonicalFilePath() : ruta, datos);
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && f.write(datos) == datos.size();
}

// Writes the bytes unless the file already holds exactly them.
inline bool EscribirSiCambia(const QString& ruta, const QByteArray& datos) {
    const QByteArray actual = LeerFichero(ruta);
    if (!actual.isNull() && actual == datos) return true;
    return EscribirFichero(ruta, datos);
}

} // namespace quoravex
