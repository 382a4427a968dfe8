#pragma once

#include "EnvioConsola.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>

namespace quoravex {

class Design;

// One printer of a fleet and how its session ended.
struct ResultadoImpresora {
    QString puerto;
    ResultadoEnvioConsola envio;
    QString etiqueta; // what tells this printer apart in the table (OpcionesFlota::etiquetas)
};

// Sending to several printers at once: one session per port, all in one event loop, at
// most `paralelo` running; the next port waiting starts as soon as one ends.
struct OpcionesFlota {
    QStringList puertos; // the names the ports are made from (CrearPuertoSerie)
    QString carpeta;     // where the raster and font files are; empty: the current directory
    // Each port's own folder of files, in the order of the ports, where printers get files of
    // their own; empty: every port's files are in `carpeta`.
    QStringList carpetas;
    // Why each port fails before anything is sent to it, in the order of the ports; an empty
    // string (or no list) lets the port's session run.
    QStringList rechazos;
    // A text per port for the results' table, under the heading tituloEtiqueta.
    QStringList etiquetas;
    QString tituloEtiqueta;
    AjustesTick ajustes;
    int paralelo = 16;
    int limiteMs = 10 * 60 * 1000; // each session is given up after this long
    // Where the log lines go: every session's to this stream, if any, and each session's
    // to its own file in this folder, if any (NombresRegistro).
    QTextStream* registro = nullptr;
    QString carpetaRegistros;
    // Makes the port a name stands for; CrearPuertoSerie when not set (tests put others).
    std::function<std::unique_ptr<SerialPort>(const QString& puerto)> crearPuerto;
    // Told as each printer ends, in the order they end.
    std::function<void(const ResultadoImpresora&)> alTerminar;
};

struct ResultadoFlota {
    QList<ResultadoImpresora> impresoras; // in the order of the ports
    bool ok() const;                      // every printer took everything
    QStringList fallidos() const;         // the ports whose printer failed, in order
};

// The design's files to every port, as EnviarDisenoConsola sends them to one. Needs a
// QCoreApplication.
ResultadoFlota EnviarDisenoFlota(const Design& design, OpcionesFlota opciones);
// Every printer's clock, as EnviarFechaHoraConsola sets one.
ResultadoFlota EnviarFechaHoraFlota(OpcionesFlota opciones, TransferenciaFechaHora::FuenteHora ahora = {});

// The names of the ports' log files, in order: the port's name with every character but
// letters, digits, '.', '-' and '_' made '_', and a number added where two would be alike.
// A name too long for a file system is cut and made distinct by a digest of the port's name;
// those ports are added to `acortados`.
QStringList NombresRegistro(const QStringList& puertos, QStringList* acortados = nullptr);

// "correcto", "enviado (sin confirmación)" for a clock, or what failed.
QString TextoResultado(const ResultadoEnvioConsola& r);
// "PUERTO: correcto (12.3 s, 0 repeticiones)" or "PUERTO: what failed".
QString LineaResultado(const ResultadoImpresora& r);
// Every printer in a table: port, result, seconds and repeats, one printer a line; with a
// heading for the labels, a column of each printer's label after the port.
QString TablaResultados(const QList<ResultadoImpresora>& impresoras, const QString& tituloEtiqueta = {});

} // namespace quoravex
