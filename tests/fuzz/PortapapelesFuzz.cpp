// libFuzzer target: any bytes on the clipboard in the designer's format must either be
// refused with a reason, or give objects that keep the loader's ranges and encode and decode
// again to the same objects.
#include "document/Portapapeles.h"
#include "document/SaneoRegistro.h"

#include <cstdio>
#include <cstdlib>

using namespace quoravex;

namespace {

void exigir(bool condicion, const char* que) {
    if (!condicion) {
        std::fprintf(stderr, "clipboard decoder broke an invariant: %s\n", que);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    const ObjetosLeidos r = DecodificarObjetos(QByteArrayView(datos, static_cast<qsizetype>(tamano)));
    if (!r.error.isEmpty()) {
        exigir(r.objetos.isEmpty(), "a refusal pastes nothing");
        return 0;
    }
    exigir(r.objetos.size() <= MaxObjetos, "at most 50 objects");
    for (const ObjetoCopiado& c : r.objetos) {
        const ObjetoTicket& o = c.registro;
        exigir(o.enUso() && o.Pendiente == Falso, "objects are in use and confirmed");
        exigir(o.Tipo >= TipoTextoFijo && o.Tipo <= TipoLinea, "Tipo in 1..6");
        exigir(o.Width >= 0 && o.Width <= LimiteAncho && o.Height >= 0 && o.Height <= LimiteAlto, "box size");
        exigir(o.FontSize >= MinFontSize && o.FontSize <= MaxFontSize, "FontSize");
        exigir(c.bitmap.size() <= MaxBytesBitmap && c.descripcion.size() <= MaxBytesDescripcion, "file sizes");
        exigir(o.Tipo == TipoImagen || (c.bitmap.isEmpty() && c.descripcion.isEmpty()), "files only for pictures");
    }
    const ObjetosLeidos otra = DecodificarObjetos(CodificarObjetos(r.objetos));
    exigir(otra.error.isEmpty() && !otra.corregidos && otra.objetos.size() == r.objetos.size(), "read again");
    for (qsizetype k = 0; k < r.objetos.size(); ++k)
        exigir(otra.objetos[k].registro == r.objetos[k].registro && otra.objetos[k].bitmap == r.objetos[k].bitmap &&
                   otra.objetos[k].descripcion == r.objetos[k].descripcion,
               "encode and decode give the same objects");
    return 0;
}
