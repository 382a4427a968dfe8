#include "CopiasRecuperacion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quoravex {

namespace {

constexpr int FormatoDescripcion = 1;

// A file name of the copy's own folder: no folders, no way out of it.
bool NombreSimple(const QString& nombre) {
    return !nombre.isEmpty() && nombre != QLatin1String(".") && nombre != QLatin1String("..") &&
           !nombre.contains(QLatin1Char('/')) && !nombre.contains(QLatin1Char('\\'));
}

bool DelUsuario(const QFileInfo& info) {
#ifdef Q_OS_UNIX
    return info.ownerId() == ::getuid();
#else
    Q_UNUSED(info);
    return true;
#endif
}

// Nobody else may put files into it: its copies are what this user's designer wrote.
bool Fiable(const QString& ruta) {
    const QFileInfo info(ruta);
    return info.isDir() && !info.isSymLink() && DelUsuario(info) &&
           !(info.permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

} // namespace

std::optional<quint64> InicioProceso(qint64 pid) {
    if (pid <= 0) return std::nullopt;
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray linea = f.readAll();
    // The command name is in parentheses and may hold spaces: fields count from its end.
    const qsizetype fin = linea.lastIndexOf(')');
    if (fin < 0) return std::nullopt;
    const QList<QByteArray> campos = linea.mid(fin + 2).split(' ');
    // Field 3 is the state (a zombie has ended), field 22 the start time.
    if (campos.size() < 20 || campos.at(0) == "Z" || campos.at(0) == "X") return std::nullopt;
    bool ok = false;
    const quint64 inicio = campos.at(19).toULongLong(&ok);
    return ok ? std::optional<quint64>(inicio) : std::nullopt;
}

IdProceso ProcesoActual() {
    const qint64 pid = QCoreApplication::applicationPid();
    return {pid, InicioProceso(pid).value_or(0)};
}

bool ProcesoVivo(const IdProceso& p) {
    if (p.pid <= 0) return false;
    if (QFileInfo::exists(QStringLiteral("/proc/self/stat"))) {
        const auto inicio = InicioProceso(p.pid);
        return inicio && (p.inicio == 0 || *inicio == p.inicio);
    }
#ifdef Q_OS_UNIX
    return ::kill(static_cast<pid_t>(p.pid), 0) == 0 || errno == EPERM;
#else
    return true; // unknown: never taken for ended
#endif
}

QString CarpetaRecuperacion() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/recuperacion");
}

QString NombreCarpetaCopia(const IdProceso& p) {
    return QStringLiteral("%1-%2").arg(p.pid).arg(p.inicio);
}

std::optional<IdProceso> LeerNombreCarpetaCopia(const QString& nombre) {
    const QStringList partes = nombre.split(QLatin1Char('-'));
    if (partes.size() != 2) return std::nullopt;
    bool okPid = false, okInicio = false;
    const IdProceso p{partes.at(0).toLongLong(&okPid), partes.at(1).toULongLong(&okInicio)};
    if (!okPid || !okInicio || p.pid <= 0 || NombreCarpetaCopia(p) != nombre) return std::nullopt;
    return p;
}

bool CarpetaPrivada(const QString& ruta) {
    const QFileInfo info(ruta);
    return Fiable(ruta) && !(info.permissions() & (QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                                   QFileDevice::ReadOther | QFileDevice::ExeOther));
}

bool CrearCarpetaPrivada(const QString& ruta) {
    const QFileInfo info(ruta);
    if (!info.exists()) {
        QDir().mkpath(info.absolutePath());
#ifdef Q_OS_UNIX
        // Made closed, so that it is never open to others even for a moment.
        ::mkdir(QFile::encodeName(info.absoluteFilePath()).constData(), 0700);
#else
        QDir().mkdir(info.absoluteFilePath());
#endif
    }
    const QFileInfo hecha(ruta);
    if (hecha.isDir() && !hecha.isSymLink() && DelUsuario(hecha))
        QFile::setPermissions(ruta, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return CarpetaPrivada(ruta);
}

QByteArray CodificarDescripcion(const DescripcionCopia& d) {
    QJsonArray ficheros;
    for (const auto& [ruta, fichero] : d.ficheros)
        ficheros.append(QJsonObject{{QStringLiteral("ruta"), ruta}, {QStringLiteral("fichero"), fichero}});
    const QJsonObject o{
        {QStringLiteral("formato"), FormatoDescripcion},
        {QStringLiteral("archivo"), d.archivoTicket},
        {QStringLiteral("conArchivo"), d.conArchivo},
        {QStringLiteral("hora"), d.hora.toUTC().toString(Qt::ISODateWithMs)},
        {QStringLiteral("version"), d.version},
        {QStringLiteral("pid"), d.proceso.pid},
        {QStringLiteral("inicio"), QString::number(d.proceso.inicio)},
        {QStringLiteral("diseno"), d.diseno},
        {QStringLiteral("ficheros"), ficheros},
    };
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

std::optional<DescripcionCopia> DecodificarDescripcion(const QByteArray& datos) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(datos, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) return std::nullopt;
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("formato")).toInt() != FormatoDescripcion) return std::nullopt;
    DescripcionCopia d;
    d.archivoTicket = o.value(QStringLiteral("archivo")).toString();
    d.conArchivo = o.value(QStringLiteral("conArchivo")).toBool();
    d.hora = QDateTime::fromString(o.value(QStringLiteral("hora")).toString(), Qt::ISODateWithMs);
    d.version = o.value(QStringLiteral("version")).toString();
    d.proceso.pid = o.value(QStringLiteral("pid")).toInteger();
    d.proceso.inicio = o.value(QStringLiteral("inicio")).toString().toULongLong();
    d.diseno = o.value(QStringLiteral("diseno")).toString();
    if (!NombreSimple(d.diseno)) return std::nullopt;
    for (const QJsonValue& v : o.value(QStringLiteral("ficheros")).toArray()) {
        const QString ruta = v.toObject().value(QStringLiteral("ruta")).toString();
        const QString fichero = v.toObject().value(QStringLiteral("fichero")).toString();
        if (!ruta.isEmpty() && NombreSimple(fichero)) d.ficheros.emplace(ruta, fichero);
    }
    return d;
}

CopiasPendientes BuscarCopiasPendientes(const QString& raiz,
                                        const std::function<bool(const IdProceso&)>& vivo) {
    CopiasPendientes r;
    if (!Fiable(raiz)) return r;
    const QDir dir(raiz);
    for (const QFileInfo& sub :
         dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
        const auto proceso = LeerNombreCarpetaCopia(sub.fileName());
        if (!proceso || vivo(*proceso) || !Fiable(sub.absoluteFilePath())) continue;
        const QDir copia(sub.absoluteFilePath());
        const QFileInfoList ficheros = copia.entryInfoList(QDir::Files | QDir::Hidden);
        const bool algo = std::any_of(ficheros.begin(), ficheros.end(), [](const QFileInfo& f) {
            return f.fileName() == NombreDescripcionCopia ||
                   f.suffix().compare(QLatin1String("tck"), Qt::CaseInsensitive) == 0;
        });
        if (!algo) {
            r.vacias << sub.absoluteFilePath();
            continue;
        }
        CopiaPendiente p{sub.absoluteFilePath(), *proceso, {}};
        QFile f(copia.filePath(NombreDescripcionCopia));
        if (f.open(QIODevice::ReadOnly))
            if (const auto d = DecodificarDescripcion(f.read(1 << 20))) p.hora = d->hora;
        if (!p.hora.isValid())
            for (const QFileInfo& fi : ficheros)
                if (!p.hora.isValid() || fi.lastModified() > p.hora) p.hora = fi.lastModified();
        r.ofrecer << p;
    }
    std::stable_sort(r.ofrecer.begin(), r.ofrecer.end(),
                     [](const CopiaPendiente& a, const CopiaPendiente& b) { return a.hora > b.hora; });
    return r;
}

bool EliminarCopia(const QString& carpeta) {
    // Only a copy's folder, never whatever path is given.
    if (carpeta.isEmpty() || !LeerNombreCarpetaCopia(QFileInfo(carpeta).fileName())) return false;
    if (!QFileInfo::exists(carpeta)) return true;
    return QDir(carpeta).removeRecursively();
}

} // namespace quoravex
