#include "MotivoPuerto.h"

#include <cerrno>

namespace quoravex {

namespace {

QString SinPermiso(const FalloPuerto& f) {
    const QString base = QStringLiteral("no tiene permiso para usar el dispositivo");
    // Joining the administrator's group is never the advice.
    if (f.grupo == QStringLiteral("root"))
        return base + QStringLiteral("; solo el administrador (root) puede abrirlo.");
    if (f.grupo.isEmpty()) return base + QStringLiteral("; pida acceso al administrador del equipo.");
    return base + QStringLiteral(". Pertenece al grupo %1: añada su usuario a ese grupo con "
                                 "\"sudo usermod -aG %1 $USER\" y vuelva a iniciar la sesión.")
                      .arg(f.grupo);
}

QString NoEsta(const FalloPuerto& f) {
    QString r = f.error == ENOENT ? QStringLiteral("el dispositivo no existe")
                                  : QStringLiteral("no hay ningún puerto serie detrás de ese dispositivo");
    r += QStringLiteral(" (¿está conectado el adaptador?). ");
    if (f.detectados.isEmpty()) return r + QStringLiteral("No se ha detectado ningún puerto serie.");
    return r +
           (f.detectados.size() == 1 ? QStringLiteral("Puerto detectado: ")
                                     : QStringLiteral("Puertos detectados: ")) +
           f.detectados.join(QStringLiteral(", ")) + QLatin1Char('.');
}

QString Ocupado(const FalloPuerto& f) {
    const QString quien = f.ocupante.isEmpty() ? QStringLiteral("otro programa") : f.ocupante;
    return QStringLiteral("el puerto está ocupado: lo tiene abierto %1. Ciérrelo y vuelva a intentarlo.")
        .arg(quien);
}

} // namespace

QString MotivoFallo(const FalloPuerto& f) {
    QString motivo;
    switch (f.error) {
    case EACCES:
    case EPERM:
        motivo = SinPermiso(f);
        break;
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case EIO: // a serial device with no hardware behind it
        motivo = NoEsta(f);
        break;
    case EBUSY:
        motivo = Ocupado(f);
        break;
    default:
        motivo = f.textoSistema.isEmpty() ? QStringLiteral("error desconocido") : f.textoSistema;
    }
    return f.dispositivo + QStringLiteral(": ") + motivo;
}

} // namespace quoravex
