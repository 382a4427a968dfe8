#pragma once

#include "document/Design.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>

namespace quoravex {

// What a recovery copy is made of, taken from the design in memory.
struct ContenidoCopia {
    QByteArray diseno;                      // the design file's bytes, as "Guardar" writes them
    std::map<QString, QByteArray> ficheros; // working bitmaps and codes' descriptions, by record path
    QString archivoTicket;
    bool conArchivo = false;
    bool operator==(const ContenidoCopia&) const = default;
};

// The design, its pictures as found from dirDiseno, and where it belongs. The design's bytes
// are empty when it has no objects: there is nothing to keep.
ContenidoCopia ContenidoDeDiseno(const Design& d, bool conArchivo, const QString& dirDiseno);

// The steps of writing a copy, for tests that stop one half-way as a crash would.
enum class PasoCopia { Imagenes, Diseno };

// Writes the copy into carpeta, made for this user alone when missing: the pictures first,
// named by their content, then the design file, then the description that names them all;
// the previous copy's files go only after that. Every file through QSaveFile, so a copy cut
// anywhere leaves the previous one whole. `parar` is asked after each step; true stops there.
bool EscribirCopia(const QString& carpeta, const ContenidoCopia& c,
                   const std::function<bool(PasoCopia)>& parar = {});

// A copy read back as "Abrir..." reads a design file.
struct CopiaLeida {
    QString carpeta;
    bool legible = false; // there is a design to open
    QString error;        // why there is none, in Spanish
    QStringList avisos;   // what is damaged or missing, in Spanish
    Design design;        // ArchivoTicket is the design's own path
    bool conArchivo = false;
    QDateTime hora;
    std::map<QString, QString> ficheros; // record path -> the copy's file
};

CopiaLeida LeerCopia(const QString& carpeta);

// The pictures and code descriptions of a recovered design are put where its records find
// them: left where a file with the same bytes is found already, else written into dirTrabajo,
// under their own name or, when that name holds other bytes, a name of their content. A
// record changes only when it would not find its file. Gives the record paths not placed.
QStringList RestaurarImagenes(Design& d, const CopiaLeida& c, const QString& dirDiseno,
                              const QString& dirTrabajo);

// The copy's common part as printed, with the copy's pictures; null when it cannot be drawn.
QImage VistaCopia(const CopiaLeida& c);

} // namespace quoravex
