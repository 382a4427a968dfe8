#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>

namespace quoravex {

// A running process, told apart from a later one that reuses its number by its start time
// (clock ticks since boot, as /proc/<pid>/stat gives it; 0 where that is not known).
struct IdProceso {
    qint64 pid = 0;
    quint64 inicio = 0;
    bool operator==(const IdProceso&) const = default;
};

IdProceso ProcesoActual();
// The start time of a running process; nothing when no such process runs or it is unknown.
std::optional<quint64> InicioProceso(qint64 pid);
// The process still runs: same number and, where known, the same start time.
bool ProcesoVivo(const IdProceso& p);

// Where every designer keeps its recovery copies: "recuperacion" in the user's data folder.
QString CarpetaRecuperacion();
// One folder per running designer, "<pid>-<start time>".
QString NombreCarpetaCopia(const IdProceso& p);
std::optional<IdProceso> LeerNombreCarpetaCopia(const QString& nombre);

// Makes the folder (and its parents) with access for this user alone; false when that cannot
// be made or the folder is not private (another owner, others may write into it).
bool CrearCarpetaPrivada(const QString& ruta);
bool CarpetaPrivada(const QString& ruta);

inline const QString NombreDescripcionCopia = QStringLiteral("copia.json");

// What a copy's description file says. The file is written last: it names the design file
// and the pictures of the copy, so a copy is whatever the description names.
struct DescripcionCopia {
    QString archivoTicket;   // the design's own path
    bool conArchivo = false; // the design had a file of its own
    QDateTime hora;
    QString version;
    IdProceso proceso;
    QString diseno;                      // the design file's name in the folder
    std::map<QString, QString> ficheros; // picture or code description as the records name it -> file name
};

QByteArray CodificarDescripcion(const DescripcionCopia& d);
// Nothing when the bytes are not a description (damaged, cut, another format).
std::optional<DescripcionCopia> DecodificarDescripcion(const QByteArray& datos);

struct CopiaPendiente {
    QString carpeta;
    IdProceso proceso;
    QDateTime hora; // of the description, else of the newest file in the folder
};

struct CopiasPendientes {
    QList<CopiaPendiente> ofrecer; // newest first
    QStringList vacias;            // folders of ended designers with nothing to offer
};

// The copies under raiz whose designer no longer runs. Folders of running designers, folders
// not named as copies, and folders that are not this user's alone are left out.
CopiasPendientes BuscarCopiasPendientes(const QString& raiz,
                                        const std::function<bool(const IdProceso&)>& vivo = ProcesoVivo);

// Removes a copy's folder and everything in it.
bool EliminarCopia(const QString& carpeta);

} // namespace quoravex
