#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace quoravex::cli {

// The words after the command's name: positional arguments, options with their values
// ("--dir DIR" or "--dir=DIR") and whether help was asked for.
struct Argumentos {
    QStringList posicionales;
    QMap<QString, QString> opciones;
    bool ayuda = false;
    QString error; // a usage error, in Spanish; empty when the words were understood

    QString opcion(const QString& nombre, const QString& porDefecto = QString()) const {
        return opciones.value(nombre, porDefecto);
    }
};

// Reads the words of one command. conValor lists the options it takes, each with a value
// ("--dir"); "-h" and "--help" ask for help; "--" ends the options. A lone "-" is a
// positional argument.
Argumentos AnalizarArgumentos(const QStringList& palabras, const QStringList& conValor);

} // namespace quoravex::cli
