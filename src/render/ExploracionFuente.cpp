#include "ExploracionFuente.h"

#include "CodificacionRaster.h"
#include "document/ObjetoTicket.h"

#include <vector>

namespace quoravex {

namespace {

bool esNegro(const Surface& s, int x, int y) {
    return s.point(x, y) == static_cast<int32_t>(ColorNegro);
}

// True when column x has a black pixel in any of the rows y0 down to 0.
bool columnaConTinta(const Surface& s, int x, int y0) {
    for (int y = y0; y >= 0; --y)
        if (esNegro(s, x, y)) return true;
    return false;
}

} // namespace

void PrintCaracterParaFont(Surface& picWork3, const ObjetoTicket& objeto, const QString& s) {
    if (picWork3.width() < LadoSuperficieFuente || picWork3.height() < LadoSuperficieFuente)
        picWork3.resize(LadoSuperficieFuente, LadoSuperficieFuente);
    picWork3.setBackColor(FondoSuperficieFuente);
    picWork3.setForeColor(ColorNegro);
    picWork3.clear();
    picWork3.setFontName(objeto.FontName.valor());
    picWork3.setFontSize(objeto.FontSize);
    picWork3.setFontItalic(objeto.FontStyle == 1 || objeto.FontStyle == 3);
    picWork3.setFontBold(objeto.FontStyle == 2 || objeto.FontStyle == 3);
    // The generator finds the character edges from its own underline; the object's
    // underline and strike-through settings do not reach the font.
    picWork3.setFontUnderline(true);
    picWork3.setFontStrikethru(false);
    picWork3.print(s);
}

int BuscarSubrayado(const Surface& s, int y0) {
    int y = y0;
    while (y >= 1 && !esNegro(s, 1, y))
        --y;
    if (y < 1) return 0;
    while (y >= 1 && esNegro(s, 1, y - 1))
        --y;
    return y;
}

int FinSubrayado(const Surface& s, int y) {
    for (int x = 0; x <= UltimaColumnaSubrayado; ++x)
        if (!esNegro(s, x, y)) return x - 1;
    return UltimaColumnaSubrayado;
}

int LimiteDerecho(const Surface& s, int y0, int x0) {
    for (int x = x0; x <= UltimaColumnaLimite; ++x)
        if (!columnaConTinta(s, x, y0)) return x;
    return 0;
}

int LimiteIzquierdo(const Surface& s, int y0, int x0) {
    for (int x = x0; x >= 0; --x)
        if (!columnaConTinta(s, x, y0)) return x;
    return 0;
}

MetricaCaracter MedirCaracter(const Surface& s, int filaBase, int finEspacio) {
    MetricaCaracter m;
    const int finSubrayado = FinSubrayado(s, filaBase + 1);
    m.Avance = finSubrayado - finEspacio;
    m.Desborde = finEspacio - LimiteIzquierdo(s, filaBase, finEspacio);
    m.AnchoCelda = LimiteDerecho(s, filaBase + 1, finSubrayado) - finEspacio + m.Desborde;
    return m;
}

int BytesPorFilaCelda(int anchoCelda) {
    if (anchoCelda <= 0) return 1;
    return anchoCelda % 8 != 0 ? anchoCelda / 8 + 2 : anchoCelda / 8 + 1;
}

QByteArray CodificarCelda(const Surface& s, int x0, int anchoCelda, int filaBase) {
    const int numBytes = BytesPorFilaCelda(anchoCelda);
    std::vector<uint8_t> fila(static_cast<size_t>(numBytes));
    QByteArray salida;
    for (int y = 0; y <= filaBase; ++y) {
        for (int b = 0; b < numBytes; ++b) {
            uint8_t v = 0;
            for (int k = 0; k < 8; ++k)
                if (esNegro(s, x0 + 8 * b + k, y)) v |= PesosBit[static_cast<size_t>(k)];
            fila[static_cast<size_t>(b)] = v;
        }
        CodificarFila(fila.data(), numBytes, y, salida);
    }
    return salida;
}

} // namespace quoravex
