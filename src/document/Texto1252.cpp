#include "Texto1252.h"

#include <QHash>
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
    QHash<char16_t, char> aByte;

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
        for (int b = 0; b < 256; ++b) {
            aTexto[static_cast<size_t>(b)] = texto.at(b).unicode();
            aByte.insert(texto.at(b).unicode(), static_cast<char>(b));
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
    QByteArray r;
    r.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c.isHighSurrogate() && i + 1 < texto.size() && texto.at(i + 1).isLowSurrogate())
            ++i; // one character outside the code page
        const auto it = t.aByte.constFind(c.unicode());
        r.append(it == t.aByte.constEnd() || c.isSurrogate() ? '?' : *it);
    }
    return r;
}

QString Decodificar1252(QByteArrayView bytes) {
    const Tablas& t = tablas();
    QString r(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        r[i] = QChar(t.aTexto[static_cast<uint8_t>(bytes[i])]);
    return r;
}

} // namespace quoravex
