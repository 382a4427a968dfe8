#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace quoravex {

// Program settings that come from the configuration file and the command line.
struct Configuracion {
    uint8_t ModeloTeclado = 1;
    int16_t PuertoCom = 1;
    int TickMs = 0; // length of the link's wait tick in ms; 0: the program's default
    int AutoguardadoS = 60; // seconds between recovery copies of unsaved work; 0: none
    // What a port number stands for ("Device COM3 = rfc2217://10.0.0.5:2001"): a device of
    // this machine or a network port; numbers not listed use the system's own device.
    QMap<int, QString> Dispositivos;
};

inline const QString NombreArchivoConfiguracion = QStringLiteral("Morvane.cfg");

// Applies one line of the configuration file. Keys are case-sensitive and may stand anywhere.
void LeerLineaConfiguracion(const QString& linea, Configuracion& cfg);

// Reads the configuration file line by line; a missing or unreadable file leaves cfg as it is.
void LeerArchivoConfiguracion(const QString& ruta, Configuracion& cfg);

// QUORAVEX_AUTOGUARDADO_S, when it holds a valid interval (0 to 3600 s), wins over the file.
void LeerEntornoAutoguardado(const QString& valor, Configuracion& cfg);

// The command line as one string: "COM" followed by a number selects the port.
void LeerLineaComandos(const QString& lineaComandos, Configuracion& cfg);

// The program's arguments split: a design file to open, and the rest as the command line.
struct ArgumentosPrograma {
    QString lineaComandos;
    QString archivoDiseno;       // empty: none
    QString carpetaTrabajo;      // "--carpeta-trabajo CARPETA": where the working files go
    bool carpetaUsuario = false; // "--carpeta-usuario": they go to the user's own folder
};

// The design file is the last argument that ends in ".tck" or names an existing file; the
// other arguments, joined, form the command line ("COM4"). A design's path and the working
// folder never select a port.
ArgumentosPrograma LeerArgumentos(const QStringList& argumentos);

// Joins the program's arguments (without the program name) the way the command line reads.
QString UnirArgumentos(const QStringList& argumentos);

} // namespace quoravex
