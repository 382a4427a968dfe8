#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <initializer_list>

namespace quoravex::pruebas {

// Bytes written as numbers, for expected file and frame contents.
inline QByteArray Bytes(std::initializer_list<int> v) {
    QByteArray r;
    for (int b : v)
        r.append(static_cast<char>(b));
    return r;
}

inline bool Escribir(const QString& ruta, const QByteArray& datos) {
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size();
}

inline QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace quoravex::pruebas
