// libFuzzer target: any bytes given to the design loader must either be refused,
// leaving the design alone, or load into a design that keeps the model's invariants
// and saves and loads again to the same bytes.
#include "document/ArchivoDiseno.h"
#include "document/SaneoRegistro.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace quoravex;

namespace {

void exigir(bool condicion, const char* que) {
    if (!condicion) {
        std::fprintf(stderr, "design loader broke an invariant: %s\n", que);
        std::abort();
    }
}

void comprobarInvariantes(const Design& d) {
    int enUso = 0, alto = 0;
    bool ordenVisto[NumSlots + 1] = {};
    for (int k = 1; k <= MaxObjetos; ++k) {
        const ObjetoTicket& o = d.objeto(k);
        if (!o.enUso()) continue;
        ++enUso;
        alto = k;
        exigir(o.Orden >= 1 && o.Orden <= MaxObjetos && !ordenVisto[o.Orden], "Orden distinct in 1..50");
        ordenVisto[o.Orden] = true;
        exigir(o.Tipo >= TipoTextoFijo && o.Tipo <= TipoLinea, "Tipo in 1..6");
        exigir(o.Pendiente == Falso, "loaded objects are confirmed");
        exigir(o.Width >= 0 && o.Width <= LimiteAncho && o.Height >= 0 && o.Height <= LimiteAlto, "box size");
        exigir(o.Left >= -LimiteAncho && o.Left <= LimiteAncho, "Left");
        exigir(o.Top >= -LimiteAlto && o.Top <= LimiteAlto, "Top");
        exigir(o.FontSize >= MinFontSize && o.FontSize <= MaxFontSize, "FontSize");
        exigir(o.Texto.bruto().size() == 100 && o.FontName.bruto().size() == 80, "text widths");
    }
    exigir(d.NumObjetos == enUso, "NumObjetos counts the objects in use");
    exigir(d.IdxObjMasAlto == alto, "IdxObjMasAlto is the highest slot in use");
    for (int k = 1; k <= enUso; ++k)
        exigir(ordenVisto[k], "Orden contiguous");
    exigir(d.LargoTicket >= 1 && d.LargoTicket <= LargoMaximo, "LargoTicket in 1..511");
    exigir(d.NumPulsadores == 0 || (d.NumPulsadores >= 2 && d.NumPulsadores <= MaxPulsadores),
           "NumPulsadores");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    Design d;
    d.LargoTicket = 123;
    const ResultadoArchivo r = CargarDiseno(d, QByteArrayView(datos, static_cast<qsizetype>(tamano)));
    if (!r.correcto) {
        exigir(!r.mensaje.isEmpty(), "a refusal says why");
        exigir(d.LargoTicket == 123 && d.NumObjetos == 0, "a refused file leaves the design alone");
        return 0;
    }
    comprobarInvariantes(d);

    // Saving drops objects outside the design mask, so compare from the second save on.
    const QByteArray primero = CodificarDiseno(d);
    Design e;
    exigir(primero.isEmpty() || CargarDiseno(e, primero).correcto, "a saved design loads");
    const QByteArray segundo = CodificarDiseno(e);
    Design f;
    const ResultadoArchivo r2 = CargarDiseno(f, segundo);
    exigir(segundo.isEmpty() || (r2.correcto && r2.mensaje.isEmpty()), "a saved design loads without notes");
    exigir(CodificarDiseno(f) == segundo, "save, load, save gives the same bytes");
    return 0;
}
