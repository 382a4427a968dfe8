#pragma once

#include <QByteArray>
#include <initializer_list>

namespace quoravex::pruebas {

// Bytes written as numbers, for expected file and frame contents.
inline QByteArray Bytes(std::initializer_list<int> v) {
    QByteArray r;
    for (int b : v)
        r.append(static_cast<char>(b));
    return r;
}

} // namespace quoravex::pruebas
