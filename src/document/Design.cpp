#include "Design.h"

namespace quoravex {

void Design::vaciarTabla() {
    for (auto& o : Objetos)
        o.EnUso = Falso;
    NumObjetos = 0;
    IdxObjMasAlto = 0;
    Objeto = 0;
}

int Design::buscarSlotLibre() const {
    for (int i = 1; i <= MaxObjetos; ++i)
        if (!objeto(i).enUso()) return i;
    return 0;
}

int Design::agregar(const NuevoObjeto& nuevo) {
    const int i = buscarSlotLibre();
    if (i == 0) return 0;
    Objeto = static_cast<int16_t>(i);
    NumObjetos += 1;
    if (i > IdxObjMasAlto) IdxObjMasAlto = static_cast<int16_t>(i);

    ObjetoTicket& o = objeto(i);
    o.EnUso = Verdadero;
    o.Tipo = nuevo.Tipo;
    if (nuevo.Formato) o.Formato = *nuevo.Formato;
    o.Top = nuevo.Top;
    o.Left = nuevo.Left;
    o.Width = nuevo.Width;
    o.Height = nuevo.Height;
    o.Texto = nuevo.Texto;
    o.fuenteInicial();
    o.Pulsadores = nuevo.Pulsadores;
    o.Orden = NumObjetos;
    // A line is confirmed by drawing it; everything else by its editor.
    o.Pendiente = nuevo.Tipo == TipoLinea ? Falso : Verdadero;
    return i;
}

void Design::traerAlFrente(int i) {
    if (!slotValido(i)) return;
    TicketModificado = Verdadero;
    const int16_t orden = objeto(i).Orden;
    if (orden >= NumObjetos) return;
    for (int k = 1; k <= IdxObjMasAlto; ++k) {
        ObjetoTicket& o = objeto(k);
        if (o.enUso() && o.Orden > orden) o.Orden -= 1;
    }
    objeto(i).Orden = NumObjetos;
}

void Design::llevarAlFondo(int i) {
    if (!slotValido(i)) return;
    TicketModificado = Verdadero;
    const int16_t orden = objeto(i).Orden;
    if (orden <= 1) return;
    for (int k = 1; k <= IdxObjMasAlto; ++k) {
        ObjetoTicket& o = objeto(k);
        if (o.enUso() && o.Orden < orden) o.Orden += 1;
    }
    objeto(i).Orden = 1;
}

void Design::borrar(int i) {
    if (!enUso(i)) return;
    traerAlFrente(i);
    objeto(i).liberar();
    if (NumObjetos > 1) {
        NumObjetos -= 1;
        if (i == IdxObjMasAlto) IdxObjMasAlto = static_cast<int16_t>(i - 1);
    } else {
        NumObjetos = 0;
        IdxObjMasAlto = 0;
    }
    TicketModificado = Verdadero;
}

uint32_t Design::mascaraDiseno() const {
    if (NumPulsadores <= 0) return MascaraTodosPulsadores;
    const int n = NumPulsadores > MaxPulsadores ? MaxPulsadores : NumPulsadores;
    return (1u << (n + 1)) - 1u;
}

Visibilidad Design::visibilidad(uint32_t pulsadores, uint32_t vista) const {
    if ((pulsadores & vista) != 0 || NumPulsadores == 0) return Visibilidad::Normal;
    if (pulsadores == 1) return Visibilidad::Atenuada;
    return Visibilidad::Oculta;
}

} // namespace quoravex
