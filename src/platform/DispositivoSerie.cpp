#include "DispositivoSerie.h"

#include "MotivoPuerto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace quoravex {

namespace {

#ifdef Q_OS_UNIX
bool Vivo(qint64 pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

QString Programa(qint64 pid) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    const QString nombre =
        comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed() : QString();
    return nombre.isEmpty() ? QStringLiteral("el proceso %1").arg(pid)
                            : QStringLiteral("%1 (PID %2)").arg(nombre).arg(pid);
}

// A lock file holds the PID as text on its first line (serial tools pad it, QLockFile does not).
qint64 PidBloqueo(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    return f.read(128).split('\n').value(0).trimmed().toLongLong();
}
#endif

} // namespace

int ErrorApertura(QSerialPort::SerialPortError error, const QString& ruta) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QFileInfo::exists(ruta) ? ENODEV : ENOENT;
    case QSerialPort::PermissionError:
#ifdef Q_OS_UNIX
        // The same error stands for a device this user may not open and one that is taken.
        if (::access(QFile::encodeName(ruta).constData(), R_OK | W_OK) != 0 &&
            (errno == EACCES || errno == EPERM))
            return EACCES;
        return EBUSY;
#else
        return EBUSY;
#endif
    case QSerialPort::ResourceError:
        return EIO;
    default:
        return 0;
    }
}

QString GrupoDispositivo(const QString& ruta) {
#ifdef Q_OS_UNIX
    struct stat s {};
    if (::stat(QFile::encodeName(ruta).constData(), &s) != 0) return {};
    if (const group* g = ::getgrgid(s.st_gid)) return QString::fromLocal8Bit(g->gr_name);
    return QString::number(s.st_gid);
#else
    Q_UNUSED(ruta);
    return {};
#endif
}

QString OcupantePuerto(const QString& ruta, const QStringList& carpetas) {
#ifdef Q_OS_UNIX
    const QString real = QFileInfo(ruta).canonicalFilePath();
    // Lock files are named after the device under /dev, '/' made '_': LCK..ttyUSB0, LCK..pts_3.
    QStringList nombres;
    for (const QString& r : {ruta, real}) {
        if (r.isEmpty()) continue;
        QString n = r.startsWith(QStringLiteral("/dev/")) ? r.mid(5) : QFileInfo(r).fileName();
        n.replace(QLatin1Char('/'), QLatin1Char('_'));
        if (!nombres.contains(QStringLiteral("LCK..") + n)) nombres << QStringLiteral("LCK..") + n;
    }
    for (const QString& carpeta : carpetas)
        for (const QString& nombre : nombres)
            if (const qint64 pid = PidBloqueo(QDir(carpeta).filePath(nombre)); Vivo(pid))
                return Programa(pid);
#ifdef Q_OS_LINUX
    // The processes whose open files this user may see.
    if (real.isEmpty()) return {};
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entrada : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numero = false;
        const qint64 pid = entrada.toLongLong(&numero);
        if (!numero) continue;
        const QDir fds(proc.filePath(entrada + QStringLiteral("/fd")));
        for (const QFileInfo& fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            if (fd.symLinkTarget() == real) return Programa(pid);
    }
#endif
#else
    Q_UNUSED(ruta);
    Q_UNUSED(carpetas);
#endif
    return {};
}

QString MotivoNoAbre(const QString& ruta, QSerialPort::SerialPortError error, const QString& textoSistema,
                     const DetectorPuertos& detectar) {
    FalloPuerto f;
    f.error = ErrorApertura(error, ruta);
    f.dispositivo = ruta;
    f.textoSistema = textoSistema;
    if (f.error == EACCES) f.grupo = GrupoDispositivo(ruta);
    if (f.error == EBUSY) f.ocupante = OcupantePuerto(ruta);
    if (f.error == ENOENT || f.error == ENODEV || f.error == EIO)
        for (const PuertoDetectado& p : detectar ? detectar() : DetectarPuertos())
            f.detectados << p.texto();
    return MotivoFallo(f);
}

bool PedirBajaLatencia(int descriptor) {
#ifdef Q_OS_LINUX
    serial_struct s{};
    if (descriptor < 0 || ::ioctl(descriptor, TIOCGSERIAL, &s) != 0) return false;
    if (s.flags & ASYNC_LOW_LATENCY) return true;
    s.flags |= ASYNC_LOW_LATENCY;
    return ::ioctl(descriptor, TIOCSSERIAL, &s) == 0;
#else
    Q_UNUSED(descriptor);
    return false;
#endif
}

} // namespace quoravex
