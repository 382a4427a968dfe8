#pragma once

#include <QString>

namespace quoravex {

// A fixed-length text field of a record: assignment pads with spaces to N
// characters and cuts anything longer; readers use the trimmed value.
template <int N> class TextoFijo {
public:
    static constexpr int Longitud = N;

    TextoFijo() : mTexto(N, QLatin1Char(' ')) {}
    TextoFijo(const QString& s) { asignar(s); } // NOLINT: assignment from text is the point

    TextoFijo& operator=(const QString& s) {
        asignar(s);
        return *this;
    }

    // The stored N characters, padding included.
    const QString& bruto() const { return mTexto; }
    // The value with surrounding spaces removed.
    QString valor() const { return recortarEspacios(mTexto); }
    bool vacio() const { return valor().isEmpty(); }

    bool operator==(const TextoFijo&) const = default;

    // Only spaces are padding; tabs and other blanks are part of the text.
    static QString recortarEspacios(const QString& s) {
        qsizetype a = 0, b = s.size();
        while (a < b && s.at(a) == QLatin1Char(' '))
            ++a;
        while (b > a && s.at(b - 1) == QLatin1Char(' '))
            --b;
        return s.mid(a, b - a);
    }

private:
    void asignar(const QString& s) {
        mTexto = s.left(N);
        if (mTexto.size() < N) mTexto.append(QString(N - mTexto.size(), QLatin1Char(' ')));
    }

    QString mTexto;
};

} // namespace quoravex
