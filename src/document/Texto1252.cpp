#include "Texto1252.h"

#include <QStringDecoder>
#include <QtGlobal>
#include <array>

namespace quoravex {

namespace {

// Both directions are tables built once from the platform's converter: the encoder
// it offers substitutes 0x1A for unknown characters, and we store "?".
struct Tablas {
    bool disponible = false;
    std::array<char16_t, 256> aTexto{};
    std::array<int16_t, 65536> aByte{}; // byte of each UTF-16 unit, -1 when none

    Tablas() {
        QByteArray todos(256, '\0');
        for (int b = 0; b < 256; ++b)
            todos[b] = static_cast<char>(b);
        QStringDecoder decodificador("windows-1252");
        QString texto;
        if (decodificador.isValid()) texto = decodificador.decode(todos);
        disponible = decodificador.isValid() && !decodificador.hasError() && texto.size() == 256;
        if (!disponible) {
            qWarning("Windows-1252 converter unavailable; text fields use Latin-1");
            texto = QString::fromLatin1(todos);
        }
        aByte.fill(-1);
        for (int b = 0; b < 256; ++b) {
            aTexto[static_cast<size_t>(b)] = texto.at(b).unicode();
            aByte[texto.at(b).unicode()] = static_cast<int16_t>(b);
        }
    }
};

const Tablas& tablas() {
    static const Tablas t;
    return t;
}

} // namespace

bool Codificacion1252Disponible() {
    return tablas().disponible;
}

QByteArray Codificar1252(const QString& texto) {
    const Tablas& t = tablas();
    const QChar* c = texto.constData();
    const qsizetype n = texto.size();
    QByteArray r(n, Qt::Uninitialized);
    char* salida = r.data();
    qsizetype escritos = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const bool par = c[i].isHighSurrogate() && i + 1 < n && c[i + 1].isLowSurrogate();
        const int16_t b = t.aByte[c[i].unicode()];
        salida[escritos++] = b < 0 || c[i].isSurrogate() ? '?' : static_cast<char>(b);
        if (par) ++i; // one character outside the code page
    }
    r.truncate(escritos);
    return r;
}

QString Decodificar1252(QByteArrayView bytes) {
    const Tablas& t = tablas();
    QString r(bytes.size(), Qt::Uninitialized);
    QChar* salida = r.data();
    const char* entrada = bytes.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        salida[i] = QChar(t.aTexto[static_cast<uint8_t>(entrada[i])]);
    return r;
}

} // namespace quoravex
