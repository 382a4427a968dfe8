#include "Rutas.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace quoravex {

QString RutaTemporal() {
    const QString ruta = QDir::tempPath();
    const QFileInfo info(ruta);
    if (ruta.isEmpty() || (info.exists() && !info.isDir())) return QString();
    return ruta;
}

bool CrearDirectorio(const QString& ruta) {
    if (ruta.isEmpty()) return false;
    const QString conBarra = ConSeparador(ruta);
    QDir dir(conBarra);
    if (!dir.exists()) QDir().mkpath(conBarra);
    return QFileInfo(conBarra).isDir();
}

QString DirectorioPrograma() {
    return ConSeparador(QCoreApplication::applicationDirPath());
}

QString DirectorioTicketsInicial(const QString& dirPrograma) {
    // isWritable() is not reliable for root or network folders; try a real file.
    QTemporaryFile prueba(ConSeparador(dirPrograma) + QStringLiteral("quoravex-XXXXXX.tmp"));
    if (prueba.open()) return ConSeparador(dirPrograma);
    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documentos.isEmpty() && CrearDirectorio(documentos)) return ConSeparador(documentos);
    return ConSeparador(dirPrograma);
}

QString ConSeparador(const QString& ruta) {
    if (ruta.isEmpty() || ruta.endsWith(QLatin1Char('/')) || ruta.endsWith(QDir::separator())) return ruta;
    return ruta + QLatin1Char('/');
}

QString CarpetaTrabajoUsuario() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

bool UsarCarpetaTrabajo(const QString& carpeta) {
    return !carpeta.isEmpty() && CrearDirectorio(carpeta) && QDir::setCurrent(carpeta);
}

} // namespace quoravex
