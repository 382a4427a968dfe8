#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace quoravex::cli {

// The words after the command's name: positional arguments, options with their values
// ("--dir DIR" or "--dir=DIR"), options without a value ("--sin-texto") and whether help was
// asked for. An option may be given several times.
struct Argumentos {
    QStringList posicionales;
    QMap<QString, QStringList> opciones; // every value of each option, in the order given
    QStringList banderas;                // the options without a value that were given, once each
    bool ayuda = false;
    QString error; // a usage error, in Spanish; empty when the words were understood

    // The option's last value.
    QString opcion(const QString& nombre, const QString& porDefecto = QString()) const {
        const QStringList v = opciones.value(nombre);
        return v.isEmpty() ? porDefecto : v.last();
    }
    // Every value the option was given, in order.
    QStringList valores(const QString& nombre) const { return opciones.value(nombre); }
    // The option without a value was given.
    bool bandera(const QString& nombre) const { return banderas.contains(nombre); }
};

// Reads the words of one command. conValor lists the options it takes with a value ("--dir"),
// sinValor those it takes without one; "-h" and "--help" ask for help; "--" ends the options.
// A lone "-" is a positional argument.
Argumentos AnalizarArgumentos(const QStringList& palabras, const QStringList& conValor,
                              const QStringList& sinValor = {});

} // namespace quoravex::cli
